#include "api/measure.h"

#include "api/export_guard.h"
#include "engine/frame.h"
#include "engine/render_driver.h"

namespace varnel {

VnBool MeasureInto(Context& context, int* length, int* thickness) {
  // Zero first: refused data leaves the host no sizes of an earlier symbol.
  if (length != nullptr) *length = 0;
  if (thickness != nullptr) *thickness = 0;
  return Guarded<VnBool>(0, [&]() -> VnBool {
    const auto extent = MeasureBarcode(context);
    if (!extent) return 0;
    if (length != nullptr) *length = extent->length;
    if (thickness != nullptr) *thickness = extent->thickness;
    return 1;
  });
}

VnBool MeasureReachInto(Context* context, int* before, int* after, int* above, int* below, int* frame) {
  int* const sizes[] = {before, after, above, below, frame};
  for (int* size : sizes) {
    if (size != nullptr) *size = 0;
  }
  if (context == nullptr) return 0;
  return Guarded<VnBool>(0, [&]() -> VnBool {
    const auto reach = MeasureDrawingReach(*context);
    if (!reach) return 0;
    const int values[] = {reach->before, reach->after, reach->above, reach->below, FrameWidth(*context)};
    for (int i = 0; i < 5; ++i) {
      if (sizes[i] != nullptr) *sizes[i] = values[i];
    }
    return 1;
  });
}

}  // namespace varnel
