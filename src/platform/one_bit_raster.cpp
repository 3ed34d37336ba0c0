#include "platform/one_bit_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/text_raster.h"

namespace varnel {
namespace {

int ColourDistance(COLORREF a, COLORREF b) {
  const int dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

int NearestPaletteIndex(const Palette& palette, COLORREF color) {
  if (color == palette.color0) return 0;
  if (color == palette.color1) return 1;
  return ColourDistance(color, palette.color1) < ColourDistance(color, palette.color0) ? 1 : 0;
}

OneBitRaster::OneBitRaster(std::uint8_t* rows, int width, int height)
    : rows_(rows), width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(RowBytes(width_)) {}

int OneBitRaster::PixelIndex(int x, int y) const {
  return (Row(y)[x / 8] >> (7 - x % 8)) & 1;
}

void OneBitRaster::Fill(const Rect& rect, int index) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;

  // The span's bytes: a partial first byte, whole middle bytes, a partial last byte.
  const int firstByte = left / 8, lastByte = (right - 1) / 8;
  const auto firstMask = static_cast<std::uint8_t>(0xFFu >> (left % 8));
  const auto lastMask = static_cast<std::uint8_t>(0xFFu << (7 - (right - 1) % 8));
  const std::uint8_t fill = index != 0 ? 0xFF : 0x00;
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* row = Row(y);
    auto paint = [&](int byte, std::uint8_t mask) {
      row[byte] = static_cast<std::uint8_t>((row[byte] & ~mask) | (fill & mask));
    };
    if (firstByte == lastByte) {
      paint(firstByte, static_cast<std::uint8_t>(firstMask & lastMask));
      continue;
    }
    paint(firstByte, firstMask);
    if (lastByte - firstByte > 1) std::memset(row + firstByte + 1, fill, static_cast<std::size_t>(lastByte - firstByte - 1));
    paint(lastByte, lastMask);
  }
}

namespace {

// A line in the default pen: one unit wide, from `from` up to but not including `to`. The engine
// draws only horizontal and vertical lines (the frame); other directions are not drawn.
void RasteriseLine(const LineOp& line, int index, OneBitRaster& raster) {
  const std::int64_t ax = line.from.x, ay = line.from.y, bx = line.to.x, by = line.to.y;
  auto fill = [&](std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    auto clamp = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    raster.Fill(Rect{clamp(left), clamp(top), clamp(right), clamp(bottom)}, index);
  };
  if (ay == by) {
    if (ax <= bx) fill(ax, ay, bx, ay + 1);
    else fill(bx + 1, ay, ax + 1, ay + 1);
  } else if (ax == bx) {
    if (ay <= by) fill(ax, ay, ax + 1, by);
    else fill(ax, by + 1, ax + 1, ay + 1);
  }
}

}  // namespace

void RasteriseSurface(const Surface& surface, const Palette& palette, OneBitRaster& raster) {
  struct Painter {
    const Palette& palette;
    OneBitRaster& raster;
    int penIndex;
    Rect picture;
    void OnFill(const FillOp& fill) { raster.Fill(fill.rect, NearestPaletteIndex(palette, fill.color)); }
    void OnText(const TextOp& text) { RasteriseText(text, picture, palette, raster); }
    void OnLine(const LineOp& line) { RasteriseLine(line, penIndex, raster); }
  };
  surface.Replay(Painter{palette, raster, NearestPaletteIndex(palette, kBlack),
                         Rect{0, 0, surface.Width(), surface.Height()}});
}

}  // namespace varnel
