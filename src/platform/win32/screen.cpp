// The resolution is the screen's own, asked of the platform each time a picture is laid out, unless
// the host has chosen one.
#include "platform/screen.h"

#include "platform/resolution_setting.h"
#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

// 0 until the host chooses; shared by every context and set while other threads may be rendering.
ResolutionSetting chosen{0, 0};

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
  const ScreenResolution host = chosen.Load();
  return ScreenResolution{host.x >= 1 ? host.x : ScreenPixelsPerInch(LOGPIXELSX),
                          host.y >= 1 ? host.y : ScreenPixelsPerInch(LOGPIXELSY)};
}

void SetScreenResolution(int x, int y) { chosen.Store(x, y); }

}  // namespace varnel
