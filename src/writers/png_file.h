// The PNG file: the one-bit raster the BMP holds, as a one-bit palette image (entry 0 the
// background, which may be transparent, entry 1 the bars: the raster's entries the other way
// round), rows top first, with the resolution in pixels per metre.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "writers/one_bit_raster.h"
#include "platform/screen.h"
#include "drawing/surface.h"

namespace varnel {

// Pixels per metre for a resolution in pixels per inch, to the nearest whole pixel and within the
// 31 bits the format allows: 96 dpi is 3780.
std::uint32_t PixelsPerMetre(int pixelsPerInch);

// Whether the picture can be written: the format holds at least one pixel, and the raster, which
// is held whole while it is painted, is the BMP's, with the BMP's bounds. Known from the size alone,
// so that the output can refuse a picture before rendering it.
bool OneBitPngCanHold(int width, int height);

// The whole file, or nothing when it cannot hold the picture or its memory cannot be had. A
// transparent background gives the background's entry alpha 0.
std::optional<FileBytes> EncodeOneBitPng(const Surface& surface, const Palette& palette, ScreenResolution resolution,
                                         bool transparentBackground);

}  // namespace varnel
