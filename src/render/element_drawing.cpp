#include "render/element_drawing.h"

#include <cstdint>

#include "render/int_math.h"
#include "render/render_state.h"

namespace varnel {
namespace {

// The element's length for a width character, or -1 when the character names no width.
int ElementLength(char width) {
  switch (width) {
    case 'n':
    case '1': return state.narrowWidth;
    case '2': return ClampToInt(std::int64_t{2} * state.narrowWidth);
    case '3': return ClampToInt(std::int64_t{3} * state.narrowWidth);
    case '4': return ClampToInt(std::int64_t{4} * state.narrowWidth);
    case 'w': return state.wideWidth;
    default: return -1;
  }
}

// The bar's cells for the current cursor. Orientations 1, 2 and 3 turn the unrotated band by 90,
// 180 and 270 degrees counter-clockwise within itself; along the symbol, positions grow from the
// left, bottom, right and top edge of the picture respectively. Sums are formed in 64 bits so that
// extreme sizes clamp instead of overflowing.
Rect BarRect(int cursor, int length, int topOffset, int bottomOffset) {
  const std::int64_t c = cursor, len = length, t = topOffset, s = bottomOffset;
  const std::int64_t x0 = state.originX, y0 = state.originY;
  const std::int64_t band = std::int64_t{state.barHeight} + state.textBand;
  const std::int64_t width = settings.width, height = settings.height;
  std::int64_t left, top, right, bottom;
  switch (settings.orientation) {
    case kTurned90:
      left = x0 + state.offsetX + t;
      top = y0 + height - c - len;
      right = x0 + state.offsetX + band + s;
      bottom = y0 + height - c;
      break;
    case kTurned180:
      left = x0 + width - c - len;
      top = y0 + state.offsetY - s;
      right = x0 + width - c;
      bottom = y0 + state.offsetY + band - t;
      break;
    case kTurned270:
      left = x0 + state.offsetX - s;
      top = y0 + c;
      right = x0 + state.offsetX + band - t;
      bottom = y0 + c + len;
      break;
    default:
      left = x0 + c;
      top = y0 + state.offsetY + t;
      right = x0 + c + len;
      bottom = y0 + state.offsetY + band + s;
      break;
  }
  return Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
}

// Most elements of a render are spaces or are only measured: they take the short way, past this.
void PaintBar(int cursor, int length, int topOffset, int bottomOffset) {
  state.surface->FillRect(BarRect(cursor, length, topOffset, bottomOffset), state.barBrush);
}

}  // namespace

BarOffsets DataBarOffsets() { return {0, ClampToInt(-std::int64_t{state.textBand})}; }

BarOffsets GuardBarOffsets() {
  return {0, ClampToInt(std::int64_t{settings.font.lfHeight / 2} - state.textBand)};
}

BarOffsets AddOnBarOffsets() {
  return {settings.font.lfHeight, ClampToInt(std::int64_t{settings.font.lfHeight / 2} - state.textBand)};
}

void DrawElement(int length, int topOffset, int bottomOffset, int isBar) {
  if (isBar != 0 && state.measuring == 0) PaintBar(state.cursor, length, topOffset, bottomOffset);
  state.cursor = SaturatingAdd(state.cursor, length);
}

// The elements of a render are nearly all drawn from here, so the cursor is kept at hand while
// they are walked.
void DrawPattern(const char* colours, const char* widths, int topOffset, int bottomOffset) {
  const bool drawing = state.measuring == 0;
  int cursor = state.cursor;
  for (; *colours != '\0' && *widths != '\0'; ++colours, ++widths) {
    const int length = ElementLength(*widths);
    if (length < 0) continue;
    if (drawing && *colours == 'b') PaintBar(cursor, length, topOffset, bottomOffset);
    cursor = SaturatingAdd(cursor, length);
  }
  state.cursor = cursor;
}

void DrawPattern(const char* colours, const char* widths, BarOffsets offsets) {
  DrawPattern(colours, widths, offsets.top, offsets.bottom);
}

void DrawPostalBars(const char* bars) {
  for (; *bars != '\0'; ++bars) {
    const int top = *bars == '0' ? state.barHeight / 2 : 0;
    DrawElement(state.narrowWidth, top, DataBarOffsets().bottom, 1);
    state.cursor = SaturatingAdd(state.cursor, state.narrowWidth);
  }
}

}  // namespace varnel
