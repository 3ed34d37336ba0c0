// A glyph's ink, as each platform's font engine hands it over: an upright one-bit bitmap, turned
// into the mask that the raster paints (font_engine.h's GlyphMask). Shared, so that FreeType's
// glyphs and GDI's are turned alike.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/font_engine.h"

namespace varnel {

struct Turned {
  int col;
  int row;
};

// Where upright pixel (i, j) lands when turned counter-clockwise on a y-down picture.
inline Turned Turn(int i, int j, int quarterTurns) {
  switch (quarterTurns & 3) {
    case 0: return {i, j};
    case 1: return {j, -i - 1};
    case 2: return {-i - 1, -j - 1};
    default: return {-j - 1, i};
  }
}

// Turns an upright bitmap of `width` by `height` pixels, which starts `bitmapLeft` right of the pen
// and `bitmapTop` above the baseline, into its mask; `isInk(col, row)` tells a pixel of the bitmap.
template <typename IsInk>
void TraceInk(int width, int height, int bitmapLeft, int bitmapTop, int quarterTurns, IsInk isInk, GlyphMask& out) {
  out = GlyphMask{};
  if (width <= 0 || height <= 0) return;
  const int left = bitmapLeft, top = -bitmapTop;
  const Turned first = Turn(left, top, quarterTurns);
  const Turned last = Turn(left + width - 1, top + height - 1, quarterTurns);
  const bool sideways = (quarterTurns & 1) != 0;
  out.left = std::min(first.col, last.col);
  out.top = std::min(first.row, last.row);
  out.width = sideways ? height : width;
  out.height = sideways ? width : height;
  out.wordsPerRow = (out.width + 63) / 64;
  out.words.assign(static_cast<std::size_t>(out.wordsPerRow) * static_cast<std::size_t>(out.height), 0);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      if (!isInk(col, row)) continue;
      const Turned t = Turn(left + col, top + row, quarterTurns);
      const auto maskRow = static_cast<std::size_t>(t.row - out.top);
      const auto maskCol = static_cast<std::size_t>(t.col - out.left);
      out.words[maskRow * static_cast<std::size_t>(out.wordsPerRow) + maskCol / 64] |=
          std::uint64_t{1} << (63 - maskCol % 64);
    }
  }
}

}  // namespace varnel
