#include "api/measure.h"

#include "api/export_guard.h"
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

}  // namespace varnel
