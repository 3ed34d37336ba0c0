// The one-bit BMP file: 14-byte file header, 40-byte information header, a two-entry colour table
// and the pixel rows, bottom row first.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "writers/one_bit_raster.h"
#include "drawing/surface.h"

namespace varnel {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + 8;

// The size of the pixel rows in 64 bits: the file's size fields have 32, and the product may not fit.
inline std::uint64_t OneBitBmpImageSize(int width, int height) {
  return std::uint64_t{OneBitRaster::RowBytes(width)} * static_cast<std::uint64_t>(height);
}

// Whether a BMP can express a picture of this size: its pixel rows must fit the file's 32-bit sizes.
// Known from the size alone, so that an output can refuse a picture before rendering it.
inline bool OneBitBmpCanHold(int width, int height) {
  return width >= 0 && height >= 0 &&
         OneBitBmpImageSize(width, height) <= std::numeric_limits<std::uint32_t>::max() - kBmpPixelOffset;
}

// The whole file for the surface's picture, or nothing when its size cannot be expressed in a BMP
// or its memory cannot be had.
std::optional<FileBytes> EncodeOneBitBmp(const Surface& surface, const Palette& palette);

}  // namespace varnel
