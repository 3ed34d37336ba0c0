#pragma once

#include "drawing/context.h"

namespace varnel {

// A border around the whole picture in the surface's default pen: solid, or dashes 4 units long
// with 4-unit gaps starting with a dash at the top left.
void DrawFrame(Context& context, int solid);

// How far in from the picture's edge the settings' frame reaches: 1 for a solid frame, 2 for a
// dashed one, whose top dashes lie a row in; 0 for none, and for a symbol in a box of its own,
// which draws no frame.
int FrameWidth(const Context& context);

}  // namespace varnel
