#include "support/drawing_pass.h"

#include "drawing/render_state.h"

namespace varnel::testing {

void StartPass(Context& context, Surface& surface, const PassLayout& layout, bool measuring) {
  RenderState& state = context.state;
  state.originX = 0;
  state.originY = 0;
  state.offsetX = layout.offsetX;
  state.offsetY = layout.offsetY;
  state.barHeight = layout.barHeight;
  state.textBand = layout.textBand;
  state.narrowWidth = layout.narrow;
  state.wideWidth = layout.wide;
  state.cursor = layout.cursor;
  state.barBrush = Brush{context.settings.barColor};
  state.backBrush = Brush{context.settings.backColor};
  state.surface = &surface;
  state.walk = measuring ? WalkJobs{.preparesData = true, .draws = false} : WalkJobs{.preparesData = false, .draws = true};
}

void ContinueDrawing(Context& context) { context.state.walk = WalkJobs{.preparesData = false, .draws = true}; }

}  // namespace varnel::testing
