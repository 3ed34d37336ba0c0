#include "platform/screen.h"

#include "platform/resolution_setting.h"

namespace varnel {

namespace {
// Shared by every context, and set while other threads may be rendering.
ResolutionSetting screen{96, 96};
}  // namespace

ScreenResolution GetScreenResolution() { return screen.Load(); }

void SetScreenResolution(int x, int y) { screen.Store(x, y); }

}  // namespace varnel
