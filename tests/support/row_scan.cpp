#include "support/row_scan.h"

namespace varnel::testing {

int NextDarkX(const Bitmap& bitmap, int y, int fromX) {
  for (int x = fromX < 0 ? 0 : fromX; x < bitmap.width; ++x) {
    if (IsDark(bitmap, x, y)) return x;
  }
  return -1;
}

}  // namespace varnel::testing
