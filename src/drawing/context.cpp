#include "drawing/context.h"

namespace varnel {

Context& DefaultContext() {
  static Context context;
  return context;
}

Surface& StartRecording(Context& context) {
  Surface& surface = context.recording;
  surface.Restart(context.settings.width, context.settings.height);
  context.state.surface = &surface;
  context.state.originX = 0;
  context.state.originY = 0;
  return surface;
}

}  // namespace varnel
