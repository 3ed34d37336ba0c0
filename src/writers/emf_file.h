// The enhanced metafile of a surface's picture: EMR_HEADER, then the mapping mode (text mode, one
// logical unit per device unit), the window extent (the picture's size) and origin (0, 0), then the
// surface's fills, text runs and lines in their order (see metafile_replay.h for the records each
// becomes), and EMR_EOF.
//
// The header's reference device is a screen 20 inches square at the given resolution, so that its
// pixels-per-millimetre ratio is the resolution exactly; the bounds are the picture's cells and the
// frame the picture's size at that resolution, in hundredths of a millimetre.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "platform/screen.h"
#include "drawing/surface.h"

namespace varnel {

inline constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"

// The whole metafile, or nothing when its memory cannot be had or it would exceed the format's
// 32-bit byte count.
std::optional<FileBytes> EncodeEmf(const Surface& surface, ScreenResolution screen);

}  // namespace varnel
