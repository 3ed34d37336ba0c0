// The measure as an export: the sizes written where the host asks, zero when the data is refused.
#pragma once

#include "drawing/context.h"
#include "varnel32.h"

namespace varnel {

VnBool MeasureInto(Context& context, int* length, int* thickness);

// The drawing's reach and the frame's width, written where the host asks; all zero for refused data
// or a null context.
VnBool MeasureReachInto(Context* context, int* before, int* after, int* above, int* below, int* frame);

}  // namespace varnel
