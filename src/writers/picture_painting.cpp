// Painting whole surfaces onto the one-bit raster (PaintPicture, declared with the raster): the
// background and bars in bands of rows, then what may lie over them one operation after another.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "writers/line_cells.h"
#include "writers/one_bit_raster.h"
#include "writers/text_raster.h"

namespace varnel {
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

  // The index a fill or a line paints with.
  int IndexOf(const DrawOp& op) const {
    return op.kind == DrawOpKind::kFill ? NearestPaletteIndex(palette, surface.Fill(op).color) : penIndex;
  }

  // The fill recorded just before the text run at `i`, when it paints the run's background colour;
  // a box is cleared under every printed run. Nothing recorded in between, and once the run is
  // painted after the bands, nothing painted before it but that fill's own cells shows there.
  const Rect* BackgroundBefore(std::size_t i) const {
    if (i == 0) return nullptr;
    const DrawOp& before = surface.Operations()[i - 1];
    if (before.kind != DrawOpKind::kFill) return nullptr;
    const FillOp& fill = surface.Fill(before);
    const COLORREF background = surface.Text(surface.Operations()[i]).backColor;
    return NearestPaletteIndex(palette, fill.color) == NearestPaletteIndex(palette, background) ? &fill.rect : nullptr;
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

// A banded operation as the bands see it: the cells it paints (top <= y < bottom, and its span of
// each row), and the next banded operation that starts on its first row.
struct BandedOp {
  int top;
  int bottom;
  RowSpan span;
  bool wholeRow;  // the span is the row: nothing drawn before shows on these rows
  int nextOnRow;  // -1: none
};

// The lists painting works in, kept from picture to picture on each thread, so that painting
// stops allocating once it has seen the sizes. A picture reaches them once, through a reference:
// in a shared library every use of a thread-local by its name is a call into the loader.
struct PaintingScratch {
  std::vector<int> banded, after;  // the operations painted with the bands, and those painted after
  std::vector<Rect> reachAfter;
  std::vector<BandedOp> bandedOps;
  std::vector<int> firstOpOnRow;        // the first banded operation starting there, or -1
  std::vector<std::uint8_t> edgeOnRow;  // 1 where any starts or ends: a band starts
  std::vector<int> active;              // positions in `banded`, ascending
};

PaintingScratch& Scratch() {
  thread_local PaintingScratch scratch;
  return scratch;
}

// Clears the raster and paints the `banded` operations of the surface (indices in drawing order,
// no text among them) over it a band of rows at a time. Going down the picture, the operations
// that cover the current band are kept in the order they were drawn; the band's first row is
// written whole, padding included, with them, from the last that covers the whole row on, and
// copied to the rest of the band: every byte of the raster is written.
void PaintBands(const Painting& painting, const std::vector<int>& banded, OneBitRaster& raster) {
  const std::vector<DrawOp>& ops = painting.surface.Operations();
  const int width = raster.Width(), height = raster.Height();
  if (width == 0) return;

  PaintingScratch& scratch = Scratch();
  std::vector<BandedOp>& bandedOps = scratch.bandedOps;
  std::vector<int>& firstOpOnRow = scratch.firstOpOnRow;
  std::vector<std::uint8_t>& edgeOnRow = scratch.edgeOnRow;
  std::vector<int>& active = scratch.active;
  bandedOps.clear();
  firstOpOnRow.assign(static_cast<std::size_t>(height) + 1, -1);
  edgeOnRow.assign(static_cast<std::size_t>(height) + 1, 0);
  active.clear();
  const RowSpan clear = raster.Span(0, width, painting.penIndex);
  for (const int i : banded) {
    const DrawOp& op = ops[static_cast<std::size_t>(i)];
    const Rect reach = painting.ReachOf(op);
    const Rect cells{std::max(reach.left, 0), std::max(reach.top, 0), std::min(reach.right, width), std::min(reach.bottom, height)};
    if (cells.left >= cells.right || cells.top >= cells.bottom) {
      bandedOps.push_back(BandedOp{0, 0, clear, false, -1});  // paints nothing
      continue;
    }
    bandedOps.push_back(BandedOp{cells.top, cells.bottom, raster.Span(cells.left, cells.right, painting.IndexOf(op)),
                                 cells.left == 0 && cells.right == width, -1});
  }
  for (std::size_t j = bandedOps.size(); j-- > 0;) {
    BandedOp& op = bandedOps[j];
    if (op.top >= op.bottom) continue;
    int& first = firstOpOnRow[static_cast<std::size_t>(op.top)];
    op.nextOnRow = first;
    first = static_cast<int>(j);
    edgeOnRow[static_cast<std::size_t>(op.top)] = edgeOnRow[static_cast<std::size_t>(op.bottom)] = 1;
  }

  for (int top = 0, bottom = 0; top < height; top = bottom) {
    std::erase_if(active, [top, &bandedOps](int j) { return bandedOps[static_cast<std::size_t>(j)].bottom <= top; });
    for (int j = firstOpOnRow[static_cast<std::size_t>(top)]; j >= 0; j = bandedOps[static_cast<std::size_t>(j)].nextOnRow)
      active.insert(std::upper_bound(active.begin(), active.end(), j), j);
    const auto* nextEdge = static_cast<const std::uint8_t*>(
        std::memchr(edgeOnRow.data() + top + 1, 1, static_cast<std::size_t>(height - top - 1)));
    bottom = nextEdge != nullptr ? static_cast<int>(nextEdge - edgeOnRow.data()) : height;

    // Below the last operation that covers the whole row, nothing shows. The row is painted through
    // views of the lists: its bytes are written one by one, and the compiler would otherwise read
    // the lists afresh after every byte.
    const std::span<const BandedOp> bandOps(bandedOps);
    const std::span<const int> covering(active);
    std::size_t from = covering.size();
    while (from > 0 && !bandOps[static_cast<std::size_t>(covering[from - 1])].wholeRow) --from;
    std::uint8_t* const row = raster.ZeroRow(top);
    if (from == 0) clear.Paint(row);
    for (from = from > 0 ? from - 1 : 0; from < covering.size(); ++from)
      bandOps[static_cast<std::size_t>(covering[from])].span.Paint(row);
    raster.CopyRowDown(top, bottom);
  }
}

}  // namespace

// Text runs are painted one by one after the bands, and so is any fill or line that something
// painted after the bands may touch, so that it comes out over or under that as drawn. Every other
// fill or line (the background, the bars, the boxes under the text) comes out the same painted
// before them, with the bands.
void PaintPicture(const Surface& surface, const Palette& palette, OneBitRaster& raster) {
  const Painting painting{surface, palette, NearestPaletteIndex(palette, kBlack)};
  const std::vector<DrawOp>& ops = surface.Operations();
  PaintingScratch& scratch = Scratch();
  std::vector<int>& banded = scratch.banded;
  std::vector<int>& after = scratch.after;
  std::vector<Rect>& reachAfter = scratch.reachAfter;
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
  RunFontLease runFont;
  for (const int i : after) {
    const DrawOp& op = ops[static_cast<std::size_t>(i)];
    if (op.kind == DrawOpKind::kText) {
      const TextOp& text = surface.Text(op);
      RasteriseText(text, runFont.For(text.font), Rect{0, 0, raster.Width(), raster.Height()}, palette, raster,
                    painting.BackgroundBefore(static_cast<std::size_t>(i)));
    } else {
      painting.Paint(op, 0, raster.Height(), raster);
    }
  }
}

}  // namespace varnel
