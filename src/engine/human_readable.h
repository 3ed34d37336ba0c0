// The human-readable text under (or, for EAN/UPC, between) the bars, placed per symbology from the
// positions the encoders recorded.
#pragma once

#include "drawing/context.h"

namespace varnel {

// Prints `length` characters of text centred between the along positions start and end, in a box
// one font height deep whose edge lies at the across position (a distance from the picture's edge
// on the bars' side). The box is first filled with the background.
void DrawTextRun(Context& context, int start, int end, int across, const char* text, int length);

// Prints `count` characters one per cell; the cells exactly fill start to end, any remainder given
// out one unit per cell from the first.
void DrawSpreadText(Context& context, int start, int end, int across, const char* text, int count);

// Run once per drawing walk, after the encoder.
void DrawHumanReadable(Context& context);

}  // namespace varnel
