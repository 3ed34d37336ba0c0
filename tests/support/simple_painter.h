// The painter the library's banded one is held against: every recorded operation painted in turn
// over the whole raster, with nothing skipped, merged or copied.
#pragma once

#include "drawing/surface.h"
#include "writers/one_bit_raster.h"

namespace varnel::testing {

// Paints the surface's fills, texts and lines in order onto the raster.
void PaintOperationByOperation(const Surface& surface, const Palette& palette, OneBitRaster& raster);

}  // namespace varnel::testing
