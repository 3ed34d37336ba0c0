// The placeable Windows metafile: a 22-byte header that gives the picture's bounding box and its
// units per inch, then a memory metafile (META_HEADER, records, META_EOF) of the surface's picture.
//
// The records set the window extent (the picture's size) and origin (0, 0) first and record no
// mapping mode; then come the surface's fills, text runs and lines in their order (see
// metafile_replay.h for the records each becomes).
//
// The format's coordinates, sizes and font fields are 16-bit. A picture wider or taller than 32767
// units, a resolution above 65535 per inch, or a text position, clip rectangle, font field or
// advance that 16 bits cannot hold has no faithful Windows metafile: there is then no file at all,
// rather than one that draws something else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "drawing/surface.h"

namespace varnel {

inline constexpr std::size_t kPlaceableHeaderSize = 22;
inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

// The whole file, or nothing when the picture cannot be expressed or its memory cannot be had.
// `unitsPerInch` is the screen's horizontal resolution: one picture unit is one screen pixel.
std::optional<FileBytes> EncodePlaceableWmf(const Surface& surface, int unitsPerInch);

}  // namespace varnel
