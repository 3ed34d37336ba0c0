// A finished metafile's bytes, copied out of the platform for the file and clipboard outputs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "platform/win32/windows_api.h"

namespace varnel {

// Nothing when the platform has no bytes for the handle or their memory cannot be had.
std::optional<FileBytes> EnhMetaFileBytes(HENHMETAFILE metafile);
std::optional<FileBytes> MetaFileBytes(HMETAFILE metafile);

}  // namespace varnel
