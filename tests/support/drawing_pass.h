// The units of a render's drawing (elements, text runs, encoders) run on their own. The render
// driver hands them a working state that no setter reaches; this is the one place the suites lay
// that state out by hand, so that the units' tests observe only what they draw.
#pragma once

#include "drawing/context.h"
#include "drawing/surface.h"

namespace varnel::testing {

// Where the band of bars and text lies in the picture, how tall the bars are above the text band,
// the element widths, and where the cursor stands along the symbol.
struct PassLayout {
  int offsetX = 0;
  int offsetY = 0;
  int barHeight = 0;
  int textBand = 0;
  int narrow = 1;
  int wide = 2;
  int cursor = 0;
};

// Starts a pass of the context's settings onto `surface`, laid out as given, with the picture's
// origin at 0, 0 and the brushes in the settings' colours: the drawing pass, or the measuring pass,
// which must only move the cursor.
void StartPass(Context& context, Surface& surface, const PassLayout& layout, bool measuring = false);

// Turns the pass into the drawing pass from where its cursor stands, so that what is drawn next
// shows how far the pass moved it.
void ContinueDrawing(Context& context);

}  // namespace varnel::testing
