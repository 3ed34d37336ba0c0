// The resolution is the screen's own, asked of the platform each time a picture is laid out, unless
// the host has chosen one.
#include <optional>

#include "platform/screen.h"

#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

std::optional<int> chosenX;
std::optional<int> chosenY;

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
  return ScreenResolution{chosenX ? *chosenX : ScreenPixelsPerInch(LOGPIXELSX),
                          chosenY ? *chosenY : ScreenPixelsPerInch(LOGPIXELSY)};
}

void SetScreenResolution(int x, int y) {
  if (x >= 1) chosenX = x;
  if (y >= 1) chosenY = y;
}

}  // namespace varnel
