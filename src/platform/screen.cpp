#include "platform/screen.h"

namespace varnel {

namespace {
ScreenResolution screen{96, 96};
}

ScreenResolution GetScreenResolution() { return screen; }

void SetScreenResolution(int x, int y) {
  if (x >= 1) screen.x = x;
  if (y >= 1) screen.y = y;
}

}  // namespace varnel
