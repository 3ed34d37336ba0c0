// The one-bit BMP file: 14-byte file header, 40-byte information header, a two-entry colour table
// and the pixel rows, bottom row first.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/one_bit_raster.h"
#include "platform/surface.h"

namespace varnel {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + 8;

// The whole file for the surface's picture, or nothing when its size cannot be expressed in a BMP
// or its memory cannot be had.
std::optional<std::vector<std::uint8_t>> EncodeOneBitBmp(const Surface& surface, const Palette& palette);

}  // namespace varnel
