#include "platform/screen.h"

#include <atomic>

namespace varnel {

namespace {
// Shared by every context, and set while other threads may be rendering: each direction is read and
// written whole.
std::atomic<int> screenX{96};
std::atomic<int> screenY{96};
}  // namespace

ScreenResolution GetScreenResolution() { return {screenX.load(std::memory_order_relaxed), screenY.load(std::memory_order_relaxed)}; }

void SetScreenResolution(int x, int y) {
  if (x >= 1) screenX.store(x, std::memory_order_relaxed);
  if (y >= 1) screenY.store(y, std::memory_order_relaxed);
}

}  // namespace varnel
