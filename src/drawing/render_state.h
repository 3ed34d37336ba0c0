// The working record of a render, shared by the driver, the element drawing, the text placement and
// every encoder. One a context, zero at creation; a field a render does not assign keeps its value.
#pragma once

#include <cstdint>

#include "base/settings.h"
#include "base/gdi_types.h"
#include "drawing/surface.h"

namespace varnel {

// What a walk over the encoder does. Every walk moves the cursor over the symbol's length. The first
// walk of a render also prepares the working data for the rest of the render (appends a check digit,
// turns an ISBN into its EAN-13 number); a drawing walk records the bars and the text. A render
// either walks once doing both, or measures in a first walk and draws in a second.
struct WalkJobs {
  bool preparesData;
  bool draws;
};

struct RenderState {
  Surface* surface;
  Brush barBrush;
  Brush backBrush;
  FontDescription textFont;
  WalkJobs walk;
  const char* errorMessage;
  char workMessage[kMessageCapacity];
  char humanText[kMessageCapacity];
  char isbnCaption[kMessageCapacity];
  std::int32_t dpiAlong;
  std::int32_t dpiAcross;
  std::int32_t narrowWidth;
  std::int32_t wideWidth;
  std::int32_t barHeight;
  std::int32_t textBand;
  std::int32_t originX;
  std::int32_t originY;
  std::int32_t offsetX;
  std::int32_t offsetY;
  std::int32_t cursor;
  std::int32_t symbolEnd;
  std::int32_t leftDigitsStart;
  std::int32_t leftDigitsEnd;
  std::int32_t rightDigitsStart;
  std::int32_t rightDigitsEnd;
  std::int32_t supplementStart;
  std::int32_t supplementEnd;
};


}  // namespace varnel
