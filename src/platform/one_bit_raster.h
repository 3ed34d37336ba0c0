// A one-bit picture laid out as a BMP stores it: rows bottom first, each padded to 32 bits, the
// leftmost pixel in the most significant bit. Index 0 is the bar colour, index 1 the background.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi_types.h"
#include "platform/surface.h"

namespace varnel {

struct Palette {
  COLORREF color0;  // the bars
  COLORREF color1;  // the background
};

// The index whose colour is nearer; an exact match wins, equal distances give the bars.
int NearestPaletteIndex(const Palette& palette, COLORREF color);

class OneBitRaster {
 public:
  // `rows` holds RowBytes(width) * height bytes, owned by the caller.
  OneBitRaster(std::uint8_t* rows, int width, int height);

  static std::size_t RowBytes(int width) { return (static_cast<std::size_t>(width) + 31) / 32 * 4; }

  // Cells left <= x < right, top <= y < bottom, clipped to the picture.
  void Fill(const Rect& rect, int index);
  void Clear(int index) { Fill(Rect{0, 0, width_, height_}, index); }
  int PixelIndex(int x, int y) const;

 private:
  std::uint8_t* Row(int y) const { return rows_ + static_cast<std::size_t>(height_ - 1 - y) * stride_; }

  std::uint8_t* rows_;
  int width_;
  int height_;
  std::size_t stride_;
};

// Paints the surface's fills, texts and lines in order onto the raster.
void RasteriseSurface(const Surface& surface, const Palette& palette, OneBitRaster& raster);

}  // namespace varnel
