// The measure as an export: the sizes written where the host asks, zero when the data is refused.
#pragma once

#include "drawing/context.h"
#include "varnel32.h"

namespace varnel {

VnBool MeasureInto(Context& context, int* length, int* thickness);

}  // namespace varnel
