// The cells a line in the default pen covers, for the outputs that paint cells (the raster, the
// SVG's rectangles): one unit wide, from `from` up to but not including `to`.
#pragma once

#include "base/gdi_types.h"
#include "drawing/surface.h"

namespace varnel {

// The engine draws only horizontal and vertical lines (the frame); any other line covers no cell
// here. A line at the edge of the coordinate range is cut to that range.
Rect LineCells(const LineOp& line);

}  // namespace varnel
