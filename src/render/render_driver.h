// The render: settings to device units, validation, a measuring pass, centring, a drawing pass.
#pragma once

namespace varnel {

// Draws the barcode of the settings onto state.surface, whose picture origin is originX, originY.
void RenderBarcode();

// The pass body, run once with state.measuring 1 (only the cursor moves) and once with 0.
void DrawSymbol();

}  // namespace varnel
