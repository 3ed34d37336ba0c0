#include "support/simple_painter.h"

#include "writers/line_cells.h"
#include "writers/text_raster.h"

namespace varnel::testing {

void PaintOperationByOperation(const Surface& surface, const Palette& palette, OneBitRaster& raster) {
  const Rect picture{0, 0, raster.Width(), raster.Height()};
  const int pen = NearestPaletteIndex(palette, kBlack);
  for (const DrawOp& op : surface.Operations()) {
    switch (op.kind) {
      case DrawOpKind::kFill:
        raster.Fill(surface.Fill(op).rect, NearestPaletteIndex(palette, surface.Fill(op).color));
        break;
      case DrawOpKind::kText: RasteriseText(surface.Text(op), picture, palette, raster); break;
      case DrawOpKind::kLine: raster.Fill(LineCells(surface.Line(op)), pen); break;
    }
  }
}

}  // namespace varnel::testing
