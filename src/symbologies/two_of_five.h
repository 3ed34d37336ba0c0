// The step Interleaved 2 of 5 and ITF-14 share: the symbol itself, start, digit pairs and stop.
#pragma once

#include "drawing/context.h"
#include "drawing/element_drawing.h"

namespace varnel {

// Draws the start, each pair of the digits (an even count of them) and the stop at the cursor,
// every bar between the given offsets across the symbol.
void DrawInterleavedSymbol(Context& context, const char* digits, BarOffsets offsets);

}  // namespace varnel
