// Text runs in the one-bit raster, drawn as the platform draws an 8-bit ExtTextOut on a surface
// with an opaque background: the run's cell (its advance width by the font's cell height) is
// filled with the background colour, then its glyphs are drawn over it in the text colour. The
// run turns with its font's escapement, to the nearest quarter turn, and its alignment places it
// in its own turned frame. Everything is clipped to the picture, and to the clip rectangle when
// the run asks for clipping.
#pragma once

#include "platform/font_engine.h"
#include "base/gdi_types.h"
#include "writers/one_bit_raster.h"
#include "drawing/surface.h"

namespace varnel {

// `picture` is the raster's own rectangle and `font` a lease of the run's font. When the run's cell
// lies within `background`, whose cells the caller knows to show the run's background colour
// already, the cell is not filled again.
void RasteriseText(const TextOp& text, FontLease& font, const Rect& picture, const Palette& palette,
                   OneBitRaster& raster, const Rect* background = nullptr);

// The same, in a lease of its own.
inline void RasteriseText(const TextOp& text, const Rect& picture, const Palette& palette, OneBitRaster& raster) {
  FontLease font(text.font);
  RasteriseText(text, font, picture, palette, raster);
}

}  // namespace varnel
