// The screen's resolution, which lays out every picture (centimetres become screen pixels).
#pragma once

namespace varnel {

struct ScreenResolution {
  int x;  // LOGPIXELSX
  int y;  // LOGPIXELSY
};

ScreenResolution GetScreenResolution();
// Values below 1 are ignored: a resolution of zero would make every size zero.
void SetScreenResolution(int x, int y);

}  // namespace varnel
