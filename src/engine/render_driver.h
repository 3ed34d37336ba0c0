// The render: settings to device units, validation, a measuring pass, centring, a drawing pass.
#pragma once

#include <optional>

#include "drawing/context.h"

namespace varnel {

// The symbol's size in pixels as the render lays it out, the sizes it is centred in the picture by.
struct SymbolExtent {
  int length;     // along the running direction: the cursor's advance over the measuring pass
  int thickness;  // across it: the bar height plus the text band
};

// Draws the barcode of the settings onto context.state.surface, whose picture origin is originX,
// originY, and records in context.lastError whether its data was drawn.
void RenderBarcode(Context& context);

// Validates and measures the barcode of the settings as RenderBarcode does, recording the outcome
// in context.lastError, but draws nothing and needs no surface. Nothing when the data is refused.
std::optional<SymbolExtent> MeasureBarcode(Context& context);

// The pass body, run once with context.state.measuring 1 (only the cursor moves) and once with 0.
void DrawSymbol(Context& context);

}  // namespace varnel
