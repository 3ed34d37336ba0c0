// Where a text run lies, worked out the same way for every output that places text itself (the
// raster, the SVG): the run's alignment places it in its own frame, which turns with its font's
// escapement to the nearest quarter turn about the run's reference point.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/font_engine.h"
#include "base/gdi_types.h"
#include "drawing/surface.h"

namespace varnel {

// Quarter turns counter-clockwise, 0..3, of a run in `font` (none: upright).
int QuarterTurnsOf(const std::optional<FontDescription>& font);

// The run in its own frame, whose origin is the reference point: u runs along the writing, v from
// the run's top towards its bottom. Its cell is start <= u < start + width, top <= v < top + cell
// height; the first character's pen stands at u = start on the baseline. Wide values: no run,
// however placed, can overflow.
struct RunLayout {
  std::int64_t start;
  std::int64_t width;  // the advances of all its characters
  std::int64_t top;
  std::int64_t baseline;
  int quarterTurns;
};

RunLayout LayOutRun(const TextOp& text, FontLease& font);

}  // namespace varnel
