// The resolution is the screen's own, asked of the platform each time a picture is laid out, unless
// the host has chosen one.
#include <atomic>

#include "platform/screen.h"

#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

// 0 until the host chooses; shared by every context and set while other threads may be rendering.
std::atomic<int> chosenX{0};
std::atomic<int> chosenY{0};

// Without a screen (a service with no desktop) the platform's standard resolution stands in.
constexpr int kStandardPixelsPerInch = 96;

int ScreenPixelsPerInch(int index) {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kStandardPixelsPerInch;
  const int value = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return value >= 1 ? value : kStandardPixelsPerInch;
}

}  // namespace

ScreenResolution GetScreenResolution() {
  const int x = chosenX.load(), y = chosenY.load();
  return ScreenResolution{x >= 1 ? x : ScreenPixelsPerInch(LOGPIXELSX), y >= 1 ? y : ScreenPixelsPerInch(LOGPIXELSY)};
}

void SetScreenResolution(int x, int y) {
  if (x >= 1) chosenX.store(x);
  if (y >= 1) chosenY.store(y);
}

}  // namespace varnel
