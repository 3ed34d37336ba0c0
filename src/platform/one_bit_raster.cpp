#include "platform/one_bit_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/line_cells.h"
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

namespace {

// The bytes of a row that a span of cells left <= x < right covers: a partial first byte, whole
// middle bytes and a partial last byte, which is the first byte itself when the span is short.
struct SpanBytes {
  std::size_t first;
  std::size_t last;
  std::uint8_t firstMask;
  std::uint8_t lastMask;
  std::uint8_t fill;

  SpanBytes(int left, int right, int index)
      : first(static_cast<std::size_t>(left) / 8),
        last(static_cast<std::size_t>(right - 1) / 8),
        firstMask(static_cast<std::uint8_t>(0xFFu >> (left % 8))),
        lastMask(static_cast<std::uint8_t>(0xFFu << (7 - (right - 1) % 8))),
        fill(index != 0 ? 0xFF : 0x00) {
    if (first == last) firstMask &= lastMask;
  }

  std::uint8_t MaskOf(std::size_t byte) const { return byte == first ? firstMask : byte == last ? lastMask : 0xFF; }

  void Blend(std::uint8_t& byte, std::uint8_t mask) const {
    byte = static_cast<std::uint8_t>((byte & ~mask) | (fill & mask));
  }

  void Paint(std::uint8_t* row) const {
    Blend(row[first], firstMask);
    if (last == first) return;
    if (last - first > 1) std::memset(row + first + 1, fill, last - first - 1);
    Blend(row[last], lastMask);
  }
};

// Up to this many bytes wide, a fill of several rows goes down each byte column in turn: a blend
// per byte is then cheaper than a call to set a row's few middle bytes. Text cells are this narrow.
constexpr std::size_t kNarrowSpanBytes = 4;

}  // namespace

void OneBitRaster::Fill(const Rect& rect, int index) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  const SpanBytes span(left, right, index);
  // Rows are stored bottom first: going down the picture goes back through memory.
  if (bottom - top > 1 && span.last - span.first < kNarrowSpanBytes) {
    for (std::size_t byte = span.first; byte <= span.last; ++byte) {
      const std::uint8_t mask = span.MaskOf(byte);
      std::uint8_t* cell = Row(top) + byte;
      for (int y = top; y < bottom; ++y, cell -= stride_) span.Blend(*cell, mask);
    }
    return;
  }
  std::uint8_t* row = Row(top);
  for (int y = top; y < bottom; ++y, row -= stride_) span.Paint(row);
}

void OneBitRaster::PaintBits(const BitRows& bits, std::int64_t x, std::int64_t y, const Rect& clip, int index) {
  const std::int64_t top = std::max<std::int64_t>({y, clip.top, 0});
  const std::int64_t bottom = std::min<std::int64_t>({y + bits.height, clip.bottom, height_});
  const std::int64_t from = std::max<std::int64_t>({x, clip.left, 0});
  const std::int64_t to = std::min<std::int64_t>({x + bits.width, clip.right, width_});
  if (top >= bottom || from >= to) return;

  // The mask's rows land `shift` places right of byte `base` of the picture's rows: byte k from
  // there takes bits of words k / 8 and k / 8 - 1 of the mask's row. Bytes kFirst .. kLast are
  // the clipped ones.
  const std::int64_t shift = (x % 8 + 8) % 8, base = (x - shift) / 8;
  const std::int64_t kFirst = from / 8 - base, kLast = (to - 1) / 8 - base;
  const auto firstMask = static_cast<std::uint8_t>(0xFFu >> (from % 8));
  const auto lastMask = static_cast<std::uint8_t>(0xFFu << (7 - (to - 1) % 8));
  std::uint8_t* row = Row(static_cast<int>(top)) + base;
  for (std::int64_t r = top - y; r < bottom - y; ++r, row -= stride_) {
    const std::uint64_t* words = bits.words + r * bits.wordsPerRow;
    for (std::int64_t w = kFirst / 8; w <= kLast / 8; ++w) {
      const std::uint64_t word = w < bits.wordsPerRow ? words[w] : 0;
      const std::uint64_t spilt = w > 0 && shift > 0 ? words[w - 1] << (64 - shift) : 0;
      const std::uint64_t moved = word >> shift | spilt;
      for (std::int64_t k = std::max(kFirst, 8 * w); k <= std::min(kLast, 8 * w + 7); ++k) {
        auto ink = static_cast<std::uint8_t>(moved >> (56 - 8 * (k - 8 * w)));
        if (k == kFirst) ink &= firstMask;
        if (k == kLast) ink &= lastMask;
        row[k] = static_cast<std::uint8_t>(index != 0 ? row[k] | ink : row[k] & ~ink);
      }
    }
  }
}

void OneBitRaster::CopyRow(int source, int top, int bottom) {
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) std::memcpy(Row(y), Row(source), stride_);
}

namespace {

// What the operations of a surface paint with, and where.
struct Painting {
  const Surface& surface;
  const Palette& palette;
  int penIndex;  // the default pen's black

  // The cells an operation may paint: a fill's or a line's own, a clipped text run's clip
  // rectangle; an unclipped run is not bounded here, so it may paint anywhere.
  Rect ReachOf(const DrawOp& op) const {
    switch (op.kind) {
      case DrawOpKind::kFill: return surface.Fill(op).rect;
      case DrawOpKind::kLine: return LineCells(surface.Line(op));
      case DrawOpKind::kText: break;
    }
    const TextOp& text = surface.Text(op);
    if ((text.options & kTextClipped) != 0) return text.clip;
    return Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  }

  // Paints the operation's cells within rows top <= y < bottom of the raster.
  void Paint(const DrawOp& op, int top, int bottom, OneBitRaster& raster) const {
    const auto within = [&](const Rect& r) { return Rect{r.left, std::max(r.top, top), r.right, std::min(r.bottom, bottom)}; };
    switch (op.kind) {
      case DrawOpKind::kFill: {
        const FillOp& fill = surface.Fill(op);
        raster.Fill(within(fill.rect), NearestPaletteIndex(palette, fill.color));
        break;
      }
      case DrawOpKind::kText:
        RasteriseText(surface.Text(op), Rect{0, top, raster.Width(), bottom}, palette, raster);
        break;
      case DrawOpKind::kLine: raster.Fill(within(LineCells(surface.Line(op))), penIndex); break;
    }
  }
};

bool Overlap(const Rect& a, const Rect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// A banded operation as the bands see it: the rows it covers (top <= y < bottom), and the next
// banded operation that starts on its first row.
struct BandedOp {
  int top;
  int bottom;
  int nextOnRow;  // -1: none
};

// Per row: the first banded operation that starts on it (-1: none), and whether any starts or ends
// there.
struct RowStart {
  int firstOp;
  bool edge;
};

// Clears the raster and paints the `banded` operations of the surface (indices in drawing order,
// no text among them) over it a band of rows at a time. Going down the picture, the operations
// that cover the current band are kept in the order they were drawn; the band's first row is
// painted with them and copied to the rest of the band.
void PaintBands(const Painting& painting, const std::vector<int>& banded, OneBitRaster& raster) {
  const std::vector<DrawOp>& ops = painting.surface.Operations();
  const int width = raster.Width(), height = raster.Height();

  // Kept from picture to picture, so that painting stops allocating once it has seen the sizes.
  thread_local std::vector<BandedOp> spans;
  thread_local std::vector<RowStart> rows;
  thread_local std::vector<int> active;  // positions in `banded`, ascending
  spans.resize(banded.size());
  rows.assign(static_cast<std::size_t>(height) + 1, RowStart{-1, false});
  active.clear();
  for (std::size_t j = banded.size(); j-- > 0;) {
    const Rect reach = painting.ReachOf(ops[static_cast<std::size_t>(banded[j])]);
    BandedOp& op = spans[j];
    op.top = std::clamp(reach.top, 0, height);
    op.bottom = std::clamp(reach.bottom, 0, height);
    if (op.top >= op.bottom) continue;
    op.nextOnRow = rows[op.top].firstOp;
    rows[op.top].firstOp = static_cast<int>(j);
    rows[op.top].edge = rows[op.bottom].edge = true;
  }

  for (int top = 0, bottom = 0; top < height; top = bottom) {
    std::erase_if(active, [top](int j) { return spans[j].bottom <= top; });
    for (int j = rows[top].firstOp; j >= 0; j = spans[j].nextOnRow)
      active.insert(std::upper_bound(active.begin(), active.end(), j), j);
    bottom = top + 1;
    while (bottom < height && !rows[bottom].edge) ++bottom;

    raster.Fill(Rect{0, top, width, top + 1}, painting.penIndex);
    for (const int j : active) painting.Paint(ops[static_cast<std::size_t>(banded[j])], top, top + 1, raster);
    raster.CopyRow(top, top + 1, bottom);
  }
}

}  // namespace

void RasteriseSurface(const Surface& surface, const Palette& palette, OneBitRaster& raster) {
  const Painting painting{surface, palette, NearestPaletteIndex(palette, kBlack)};
  for (const DrawOp& op : surface.Operations()) painting.Paint(op, 0, raster.Height(), raster);
}

// Text runs are painted one by one after the bands, and so is any fill or line that something
// painted after the bands may touch, so that it comes out over or under that as drawn. Every other
// fill or line (the background, the bars, the boxes under the text) comes out the same painted
// before them, with the bands.
void PaintPicture(const Surface& surface, const Palette& palette, OneBitRaster& raster) {
  const Painting painting{surface, palette, NearestPaletteIndex(palette, kBlack)};
  const std::vector<DrawOp>& ops = surface.Operations();
  thread_local std::vector<int> banded, after;
  thread_local std::vector<Rect> reachAfter;
  banded.clear();
  after.clear();
  reachAfter.clear();
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const Rect reach = painting.ReachOf(ops[i]);
    const bool isAfter = ops[i].kind == DrawOpKind::kText ||
                         std::any_of(reachAfter.begin(), reachAfter.end(), [&](const Rect& r) { return Overlap(r, reach); });
    if (isAfter) {
      after.push_back(static_cast<int>(i));
      reachAfter.push_back(reach);
    } else {
      banded.push_back(static_cast<int>(i));
    }
  }
  PaintBands(painting, banded, raster);
  for (const int i : after) painting.Paint(ops[static_cast<std::size_t>(i)], 0, raster.Height(), raster);
}

}  // namespace varnel
