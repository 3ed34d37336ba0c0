#include "writers/text_raster.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "writers/text_layout.h"

namespace varnel {
namespace {

// A run's own frame on the picture: one step along its writing (u) and one step from its top
// towards its bottom (v), per quarter turn counter-clockwise. Turned once, a run reads bottom to
// top with its top facing left.
struct Frame {
  int ux, uy, vx, vy;
};
constexpr std::array<Frame, 4> kFrames = {{{1, 0, 0, 1}, {0, -1, 1, 0}, {-1, 0, 0, -1}, {0, 1, -1, 0}}};

struct DevicePoint {
  std::int64_t x, y;
};

// Half-open device box; coordinates are wide so that no run, however placed, can overflow.
struct Box {
  std::int64_t left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
};

Box Intersect(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

Box BoxOf(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Within a clip box every coordinate fits an int again.
Rect RectOf(const Box& b) {
  return {static_cast<int>(b.left), static_cast<int>(b.top), static_cast<int>(b.right), static_cast<int>(b.bottom)};
}

class RunPlacement {
 public:
  RunPlacement(Point reference, int quarterTurns) : reference_(reference), frame_(kFrames[quarterTurns]) {}

  DevicePoint At(std::int64_t u, std::int64_t v) const {
    return {reference_.x + u * frame_.ux + v * frame_.vx, reference_.y + u * frame_.uy + v * frame_.vy};
  }

  // The device cells of the frame's cells u0 <= u < u1, v0 <= v < v1.
  Box Cells(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1) const {
    const DevicePoint a = At(u0, v0), b = At(u1, v1);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }

 private:
  Point reference_;
  Frame frame_;
};

bool Contains(const Box& outer, const Box& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

void RasteriseText(const TextOp& text, FontLease& font, const Rect& picture, const Palette& palette,
                   OneBitRaster& raster, const Rect* background) {
  Box clip = BoxOf(picture);
  if ((text.options & kTextClipped) != 0) clip = Intersect(clip, BoxOf(text.clip));
  if (clip.Empty()) return;

  const auto [start, width, top, baseline, turns] = LayOutRun(text, font);
  const RunPlacement placement(text.reference, turns);

  const Box cell = Intersect(placement.Cells(start, top, start + width, top + font.CellHeight()), clip);
  if (!cell.Empty() && !(background != nullptr && Contains(BoxOf(*background), cell)))
    raster.Fill(RectOf(cell), NearestPaletteIndex(palette, text.backColor));

  const int ink = NearestPaletteIndex(palette, text.textColor);
  const InkReach& reach = font.Reach();
  std::int64_t pen = start;
  for (const char c : text.text) {
    const auto byte = static_cast<std::uint8_t>(c);
    // A glyph that cannot reach the clip is not rendered at all.
    const Box reachable =
        placement.Cells(pen - reach.left, baseline - reach.above, pen + reach.right, baseline + reach.below);
    if (!Intersect(reachable, clip).Empty()) {
      const GlyphMask& mask = font.Ink(byte, turns);
      const DevicePoint origin = placement.At(pen, baseline);
      raster.PaintBits(BitRows{mask.words.data(), mask.width, mask.height, mask.wordsPerRow}, origin.x + mask.left,
                       origin.y + mask.top, RectOf(clip), ink);
    }
    pen += font.Advance(byte);
  }
}

}  // namespace varnel
