#pragma once

#include "drawing/context.h"

namespace varnel {

// A border around the whole picture in the surface's default pen: solid, or dashes 4 units long
// with 4-unit gaps starting with a dash at the top left.
void DrawFrame(Context& context, int solid);

}  // namespace varnel
