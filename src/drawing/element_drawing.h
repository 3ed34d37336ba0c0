// Bars and spaces at the cursor, in all four orientations. The encoders think only in positions
// along the symbol and offsets across it; these procedures own the mapping to the picture.
#pragma once

#include <cstdint>

#include "base/int_math.h"
#include "drawing/context.h"

namespace varnel {

// Where a bar stands across the symbol, in the unrotated picture: the top offset moves its top edge
// down from the top of the band, the bottom offset moves its bottom edge down from the bottom of
// the text band (so -textBand ends the bar at barHeight).
struct BarOffsets {
  int top;
  int bottom;
};

// Ordinary bars, which stop above the text band. Inline: nearly every symbol character asks.
inline BarOffsets DataBarOffsets(const Context& context) { return {0, ClampToInt(-std::int64_t{context.state.textBand})}; }

// Guard bars, which reach half a font height into the text band.
inline BarOffsets GuardBarOffsets(const Context& context) {
  return {0, ClampToInt(std::int64_t{context.settings.font.lfHeight / 2} - context.state.textBand)};
}

// Add-on bars, which start one font height lower to leave room for their digits above them.
inline BarOffsets AddOnBarOffsets(const Context& context) {
  return {context.settings.font.lfHeight, ClampToInt(std::int64_t{context.settings.font.lfHeight / 2} - context.state.textBand)};
}

// One bar (isBar nonzero) or space of `length` at the cursor; the cursor advances by `length` in
// both passes, and only the drawing pass paints.
void DrawElement(Context& context, int length, int topOffset, int bottomOffset, int isBar);

// Walks an element pattern: colour character i ('b' a bar, anything else a space) with width
// character i ('n'/'1' narrow, '2'..'4' multiples of narrow, 'w' wide; any other skips it).
void DrawPattern(Context& context, const char* colours, const char* widths, int topOffset, int bottomOffset);
void DrawPattern(Context& context, const char* colours, const char* widths, BarOffsets offsets);

// Postal bars from a string of '1' (full bar) and '0' (half bar on the same base line), each bar
// narrowWidth wide and followed by a space of the same width.
void DrawPostalBars(Context& context, const char* bars);

}  // namespace varnel
