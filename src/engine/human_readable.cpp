#include "engine/human_readable.h"

#include <cstdint>
#include <cstring>

#include "base/int_math.h"
#include "drawing/render_state.h"

namespace varnel {
namespace {

// The box of a text run in picture coordinates. Across positions count from the picture's edge on
// the bars' side; in orientations 2 and 3 that edge is mirrored within the symbol's band exactly as
// the bars are, so text and bars stay together whatever the picture's size.
struct TextBox {
  Rect box;
  Point reference;
};

TextBox TextRunBox(int start, int end, int across, int lf) {
  const std::int64_t x0 = state.originX, y0 = state.originY, s = start, e = end, a = across, h = lf;
  const std::int64_t band = std::int64_t{state.barHeight} + state.textBand;
  std::int64_t left, top, right, bottom;
  switch (settings.orientation) {
    case kTurned90:
      left = x0 + a;
      top = y0 + settings.height - e;
      right = x0 + a + h;
      bottom = y0 + settings.height - s;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt(left), ClampToInt((top + bottom) / 2)}};
    case kTurned180: {
      const std::int64_t mirrored = 2 * std::int64_t{state.offsetY} + band;
      left = x0 + settings.width - e;
      top = y0 + mirrored - a - h;
      right = x0 + settings.width - s;
      bottom = y0 + mirrored - a;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt((left + right) / 2), ClampToInt(bottom)}};
    }
    case kTurned270: {
      const std::int64_t mirrored = 2 * std::int64_t{state.offsetX} + band;
      left = x0 + mirrored - a - h;
      top = y0 + s;
      right = x0 + mirrored - a;
      bottom = y0 + e;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt(right), ClampToInt((top + bottom) / 2)}};
    }
    default:
      left = x0 + s;
      top = y0 + a;
      right = x0 + e;
      bottom = y0 + a + h;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt((left + right) / 2), ClampToInt(top)}};
  }
}

int TextLength(const char* text) { return static_cast<int>(std::strlen(text)); }

// Only the EAN, ISBN and UPC symbols print add-on digits; JAN never does.
bool PrintsSupplement(int symbology) {
  return symbology == kEan13 || symbology == kEan8 || symbology == kIsbn || symbology == kUpcA ||
         symbology == kUpcE;
}

void DrawMainText(int alongStart, int textRow, int lf) {
  const char* text = state.humanText;
  const int afterSymbol = SaturatingAdd(state.symbolEnd, 3);  // UPC's trailing digit sits 3 units out
  switch (settings.symbology) {
    case kEan13:
    case kIsbn:
    case kJan13:
      DrawTextRun(SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(state.leftDigitsStart, state.leftDigitsEnd, textRow, text + 1, 6);
      DrawSpreadText(state.rightDigitsStart, state.rightDigitsEnd, textRow, text + 7, 6);
      break;
    case kEan8:
    case kJan8:
      DrawSpreadText(state.leftDigitsStart, state.leftDigitsEnd, textRow, text, 4);
      DrawSpreadText(state.rightDigitsStart, state.rightDigitsEnd, textRow, text + 4, 4);
      break;
    case kUpcA:
      DrawTextRun(SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(state.leftDigitsStart, state.leftDigitsEnd, textRow, text + 1, 5);
      DrawSpreadText(state.rightDigitsStart, state.rightDigitsEnd, textRow, text + 6, 5);
      DrawTextRun(afterSymbol, SaturatingAdd(afterSymbol, lf), textRow, text + 11, 1);
      break;
    case kUpcE:
      // UPC-E has no centre guard: its six digits spread over the whole digit area.
      DrawTextRun(SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(state.leftDigitsStart, state.rightDigitsEnd, textRow, text + 1, 6);
      DrawTextRun(afterSymbol, SaturatingAdd(afterSymbol, lf), textRow, text + 7, 1);
      break;
    case kPostnet:
      DrawTextRun(alongStart, state.symbolEnd, textRow, text, TextLength(text));
      break;
    default:
      DrawTextRun(alongStart, state.symbolEnd, SaturatingAdd(textRow, 1), text, TextLength(text));
      break;
  }
}

}  // namespace

void DrawTextRun(int start, int end, int across, const char* text, int length) {
  const TextBox run = TextRunBox(start, end, across, settings.font.lfHeight);
  state.surface->FillRect(run.box, state.backBrush);
  state.surface->ExtTextOut(run.reference, kTextClipped, run.box, text, length);
}

void DrawSpreadText(int start, int end, int across, const char* text, int count) {
  const std::int64_t span = std::int64_t{end} - start;
  const std::int64_t cell = span / count, remainder = span - cell * count;
  std::int64_t position = start;
  for (int i = 0; i < count; ++i) {
    const std::int64_t width = cell + (i < remainder ? 1 : 0);
    DrawTextRun(ClampToInt(position), ClampToInt(position + width), across, text + i, 1);
    position += width;
  }
}

void DrawHumanReadable() {
  if (state.symbolEnd == 0) state.symbolEnd = state.cursor;
  if (state.humanText[0] == '\0') std::memcpy(state.humanText, state.workMessage, sizeof state.humanText);
  if (settings.showText == 0) return;

  const int lf = settings.font.lfHeight;
  const bool vertical = RunsVertically(settings.orientation);
  const int alongStart = vertical ? state.offsetY : state.offsetX;
  const int bandStart = vertical ? state.offsetX : state.offsetY;
  const int textRow = SaturatingAdd(bandStart, state.barHeight);

  if (settings.supplementKind > kNoSupplement && PrintsSupplement(settings.symbology)) {
    DrawTextRun(state.supplementStart, state.supplementEnd, bandStart, settings.supplementText,
                TextLength(settings.supplementText));
  }
  if (settings.symbology == kIsbn) {
    DrawTextRun(alongStart, state.symbolEnd, SaturatingSub(bandStart, lf), state.isbnCaption,
                TextLength(state.isbnCaption));
  }
  DrawMainText(alongStart, textRow, lf);
}

}  // namespace varnel
