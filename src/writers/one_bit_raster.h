// A one-bit picture laid out as the file that holds it stores it: as a BMP (rows bottom first, each
// padded to 32 bits) or as a PNG's scanlines (rows top first, each after its filter byte), the
// leftmost pixel in the most significant bit. Index 0 is the bar colour, index 1 the background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/gdi_types.h"
#include "drawing/surface.h"

namespace varnel {

struct Palette {
  COLORREF color0;  // the bars
  COLORREF color1;  // the background
};

// The index whose colour is nearer; an exact match wins, equal distances give the bars.
int NearestPaletteIndex(const Palette& palette, COLORREF color);

// The bytes of a row that cells left <= x < right cover (0 <= left < right <= the picture's
// width): a partial first byte, whole middle bytes and a partial last byte, which is the first
// itself when the span is short; worked out once for a span painted on many rows.
struct RowSpan {
  // `set`: the cells' bit is 1.
  RowSpan(int left, int right, bool set);

  void Blend(std::uint8_t& byte, std::uint8_t mask) const {
    byte = static_cast<std::uint8_t>((byte & ~mask) | (fill & mask));
  }
  void Paint(std::uint8_t* row) const;

  std::size_t first;
  std::size_t last;
  std::uint8_t firstMask;
  std::uint8_t lastMask;
  std::uint8_t fill;  // the cells' bits
};

// A one-bit mask to paint with: `height` rows of `width` cells, each row `wordsPerRow` 64-bit words
// with its leftmost cell in the top bit of the first.
struct BitRows {
  const std::uint64_t* words;
  int width;
  int height;
  int wordsPerRow;
};

class OneBitRaster {
 public:
  // A BMP's rows: `rows` holds RowBytes(width) * height bytes, owned by the caller, and index 0 is
  // a 0 bit.
  OneBitRaster(std::uint8_t* rows, int width, int height);
  // A PNG's scanlines: the top row's first byte at `firstRow`, each row PngRowBytes(width) long and
  // `stride` bytes after the one above, and index 0 a 1 bit, since the file's palette puts the
  // background first. Painting writes the rows' bytes and nothing between them.
  static OneBitRaster PngScanlines(std::uint8_t* firstRow, int width, int height, std::size_t stride);

  static std::size_t RowBytes(int width) { return (static_cast<std::size_t>(width) + 31) / 32 * 4; }
  static std::size_t PngRowBytes(int width) { return (static_cast<std::size_t>(width) + 7) / 8; }

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Cells left <= x < right, top <= y < bottom, clipped to the picture.
  void Fill(const Rect& rect, int index);
  // The cells whose bits are set in the mask, its first cell at (x, y), within `clip` and the
  // picture: a glyph, drawn a byte of the row at a time.
  void PaintBits(const BitRows& bits, std::int64_t x, std::int64_t y, const Rect& clip, int index);
  int PixelIndex(int x, int y) const;

  // The cells left <= x < right of a row in the index, for painting on rows from ZeroRow.
  RowSpan Span(int left, int right, int index) const { return RowSpan(left, right, IsSetBit(index)); }
  // Row y (within the picture), padding included, all zero bits; its bytes, for spans to be painted on.
  std::uint8_t* ZeroRow(int y) {
    std::uint8_t* const row = Row(y);
    std::memset(row, 0, rowBytes_);
    return row;
  }
  // Rows top < y < bottom become copies of row top (which lies within the picture).
  void CopyRowDown(int top, int bottom);

 private:
  OneBitRaster(std::uint8_t* topRow, int width, int height, std::size_t rowBytes, std::ptrdiff_t step, bool inverted);

  std::uint8_t* Row(int y) const { return topRow_ + y * step_; }
  bool IsSetBit(int index) const { return (index != 0) != inverted_; }

  std::uint8_t* topRow_;
  int width_;
  int height_;
  std::size_t rowBytes_;  // painted a row, padding included
  std::ptrdiff_t step_;   // from a row to the one below it
  bool inverted_;         // index 0 is a 1 bit
};

// The whole picture as the platform's screen-compatible bitmap shows it, for every raster file
// format alike: such a bitmap is black (here the nearer colour) until something is drawn on it.
//
// Every cell comes out as painting the surface's operations in order onto a cleared raster would
// leave it, whatever the raster held before (its padding bits come out zero), but the picture is
// painted a band of rows at a time, the bands cut wherever an operation's cells start or end: where no text run can reach,
// every row of a band is alike, so its first row is painted and copied to the others; rows that
// text may reach are painted operation by operation, clipped to the band. A bar, painted once
// instead of once for each of its rows, is what makes a barcode cheap to draw.
void PaintPicture(const Surface& surface, const Palette& palette, OneBitRaster& raster);

}  // namespace varnel
