#include "writers/line_cells.h"

#include <algorithm>
#include <cstdint>

namespace varnel {

Rect LineCells(const LineOp& line) {
  const std::int64_t ax = line.from.x, ay = line.from.y, bx = line.to.x, by = line.to.y;
  // One past the end of a line at INT_MAX is beyond int: positions are worked out wide and cut.
  auto cells = [](std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    auto clamp = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    return Rect{clamp(left), clamp(top), clamp(right), clamp(bottom)};
  };
  if (ay == by) return ax <= bx ? cells(ax, ay, bx, ay + 1) : cells(bx + 1, ay, ax + 1, ay + 1);
  if (ax == bx) return ay <= by ? cells(ax, ay, ax + 1, by) : cells(ax, by + 1, ax + 1, ay + 1);
  return Rect{0, 0, 0, 0};
}

}  // namespace varnel
