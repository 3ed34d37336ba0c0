// The working record of a render, shared by the driver, the element drawing, the text placement and
// every encoder. One a context, zero at creation; a field a render does not assign keeps its value.
#pragma once

#include <cstdint>

#include "base/settings.h"
#include "base/gdi_types.h"
#include "drawing/surface.h"

namespace varnel {

struct RenderState {
  Surface* surface;
  Brush barBrush;
  Brush backBrush;
  FontDescription textFont;
  std::int32_t measuring;  // 1 in the measuring pass, 0 in the drawing pass
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
