// The render: settings to device units, validation, a measuring pass, centring, a drawing pass.
#pragma once

#include <optional>

namespace varnel {

// The symbol's size in pixels as the render lays it out, the sizes it is centred in the picture by.
struct SymbolExtent {
  int length;     // along the running direction: the cursor's advance over the measuring pass
  int thickness;  // across it: the bar height plus the text band
};

// Draws the barcode of the settings onto state.surface, whose picture origin is originX, originY.
void RenderBarcode();

// Validates and measures the barcode of the settings as RenderBarcode does, recording the outcome
// for VnGetLastError, but draws nothing and needs no surface. Nothing when the data is refused.
std::optional<SymbolExtent> MeasureBarcode();

// The pass body, run once with state.measuring 1 (only the cursor moves) and once with 0.
void DrawSymbol();

}  // namespace varnel
