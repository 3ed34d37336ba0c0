// The render: settings to device units, validation, then the symbol walked, centred and drawn.
#pragma once

#include <optional>

#include "drawing/context.h"

namespace varnel {

// The symbol's size in pixels as the render lays it out, the sizes it is centred in the picture by.
struct SymbolExtent {
  int length;     // along the running direction: the cursor's advance over a walk of the symbol
  int thickness;  // across it: the bar height plus the text band
};

// Draws the barcode of the settings onto context.state.surface, whose picture origin is originX,
// originY, and records in context.lastError whether its data was drawn.
void RenderBarcode(Context& context);

// The same picture, always measured in a first walk and drawn at its place in a second: what
// RenderBarcode does for sizes too large to draw from the picture's edge and shift into place.
void RenderBarcodeInTwoWalks(Context& context);

// Validates and measures the barcode of the settings as RenderBarcode does, recording the outcome
// in context.lastError, but draws nothing and needs no surface. Nothing when the data is refused.
std::optional<SymbolExtent> MeasureBarcode(Context& context);

// How far the drawing reaches past the symbol's extent, in pixels, in the symbol's own directions:
// before its start and after its end along it, above the bars' top and below the band's bottom.
struct DrawingReach {
  int before;
  int after;
  int above;
  int below;
};

// Validates as MeasureBarcode does and draws the symbol, its guard bars and its text by the render's
// own steps onto context.recording, without the frame: the reach of all it draws. Nothing when the
// data is refused.
std::optional<DrawingReach> MeasureDrawingReach(Context& context);

}  // namespace varnel
