// Finding symbols along one row of a bitmap read back from our BMP.
#pragma once

#include "support/bmp_reader.h"

namespace varnel::testing {

// The first dark pixel of row y at or after fromX, or -1 when the rest of the row is light.
int NextDarkX(const Bitmap& bitmap, int y, int fromX);

}  // namespace varnel::testing
