#pragma once

#include "base/file_bytes.h"
#include <cstdint>
#include <optional>
#include <vector>

namespace varnel {

// The settings' barcode as an enhanced metafile referred to the screen; nothing when the picture is
// too large to record or its memory cannot be had.
std::optional<FileBytes> RenderEnhMetaFile();

// Renders the settings' barcode and writes it as an enhanced metafile; false when the path is null
// or the file cannot be written.
bool SaveAsEmf(const char* path);

}  // namespace varnel
