// The screen's resolution, which lays out every picture (centimetres become screen pixels).
#pragma once

namespace varnel {

struct ScreenResolution {
  int x;  // LOGPIXELSX
  int y;  // LOGPIXELSY
};

// Both directions of one setting. A render reads it once and lays its picture out, states the
// picture's physical size and keeps it by that reading: a host that sets the resolution meanwhile
// gets a picture of the one setting or of the other, never of a mix.
ScreenResolution GetScreenResolution();
// Values below 1 are ignored: a resolution of zero would make every size zero.
void SetScreenResolution(int x, int y);

}  // namespace varnel
