#include "engine/human_readable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/catalogue.h"

namespace varnel {
namespace {

// The box of a text run in picture coordinates. Across positions count from the picture's edge on
// the bars' side; in orientations 2 and 3 that edge is mirrored within the symbol's band exactly as
// the bars are, so text and bars stay together whatever the picture's size.
struct TextBox {
  Rect box;
  Point reference;
};

TextBox TextRunBox(Context& context, int start, int end, int across, int lf) {
  const std::int64_t x0 = context.state.originX, y0 = context.state.originY, s = start, e = end, a = across, h = lf;
  const std::int64_t band = std::int64_t{context.state.barHeight} + context.state.textBand;
  std::int64_t left, top, right, bottom;
  switch (context.settings.orientation) {
    case kTurned90:
      left = x0 + a;
      top = y0 + context.settings.height - e;
      right = x0 + a + h;
      bottom = y0 + context.settings.height - s;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt(left), ClampToInt((top + bottom) / 2)}};
    case kTurned180: {
      const std::int64_t mirrored = 2 * std::int64_t{context.state.offsetY} + band;
      left = x0 + context.settings.width - e;
      top = y0 + mirrored - a - h;
      right = x0 + context.settings.width - s;
      bottom = y0 + mirrored - a;
      return {Rect{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)},
              Point{ClampToInt((left + right) / 2), ClampToInt(bottom)}};
    }
    case kTurned270: {
      const std::int64_t mirrored = 2 * std::int64_t{context.state.offsetX} + band;
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

void DrawMainText(Context& context, TextLayout layout, int alongStart, int textRow, int lf) {
  const char* text = context.state.humanText;
  const int afterSymbol = SaturatingAdd(context.state.symbolEnd, 3);  // UPC's trailing digit sits 3 units out
  switch (layout) {
    case TextLayout::kEan13Digits:
    case TextLayout::kEan13DigitsCaptioned:
      DrawTextRun(context, SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(context, context.state.leftDigitsStart, context.state.leftDigitsEnd, textRow, text + 1, 6);
      DrawSpreadText(context, context.state.rightDigitsStart, context.state.rightDigitsEnd, textRow, text + 7, 6);
      break;
    case TextLayout::kEan8Digits:
      DrawSpreadText(context, context.state.leftDigitsStart, context.state.leftDigitsEnd, textRow, text, 4);
      DrawSpreadText(context, context.state.rightDigitsStart, context.state.rightDigitsEnd, textRow, text + 4, 4);
      break;
    case TextLayout::kUpcADigits:
      DrawTextRun(context, SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(context, context.state.leftDigitsStart, context.state.leftDigitsEnd, textRow, text + 1, 5);
      DrawSpreadText(context, context.state.rightDigitsStart, context.state.rightDigitsEnd, textRow, text + 6, 5);
      DrawTextRun(context, afterSymbol, SaturatingAdd(afterSymbol, lf), textRow, text + 11, 1);
      break;
    case TextLayout::kUpcEDigits:
      // UPC-E has no centre guard: its six digits spread over the whole digit area.
      DrawTextRun(context, SaturatingSub(alongStart, lf), alongStart, textRow, text, 1);
      DrawSpreadText(context, context.state.leftDigitsStart, context.state.rightDigitsEnd, textRow, text + 1, 6);
      DrawTextRun(context, afterSymbol, SaturatingAdd(afterSymbol, lf), textRow, text + 7, 1);
      break;
    case TextLayout::kFlushUnderSymbol:
      DrawTextRun(context, alongStart, context.state.symbolEnd, textRow, text, TextLength(text));
      break;
    case TextLayout::kUnderSymbol:
      DrawTextRun(context, alongStart, context.state.symbolEnd, SaturatingAdd(textRow, 1), text, TextLength(text));
      break;
  }
}

// An add-on's digits stand centred over its bars, in a box as wide as the add-on: with narrow bars
// and a large font that box cuts them on both sides. Each digit is given 0.6 of the font height,
// more than the digits of common faces take, and a box that holds that much stays the add-on's own;
// a narrower one grows evenly on both sides, keeping the digits centred, but no further than the
// gap before the add-on, so that it never reaches the main symbol.
void DrawAddOnText(Context& context, int bandStart, int lf) {
  const char* text = context.settings.supplementText;
  const int count = TextLength(text);
  const std::int64_t start = context.state.supplementStart, end = context.state.supplementEnd;
  const std::int64_t needed = (std::int64_t{lf} * count * 3 + 4) / 5;
  // An add-on pushed to the end of the coordinates by a huge gap has no width, and its box stays empty.
  const std::int64_t gap = end > start ? std::max<std::int64_t>(0, start - context.state.symbolEnd) : 0;
  const std::int64_t grow = std::clamp<std::int64_t>((needed - (end - start) + 1) / 2, 0, gap);
  DrawTextRun(context, ClampToInt(start - grow), ClampToInt(end + grow), bandStart, text, count);
}

}  // namespace

void DrawTextRun(Context& context, int start, int end, int across, const char* text, int length) {
  const TextBox run = TextRunBox(context, start, end, across, context.settings.font.lfHeight);
  context.state.surface->FillRect(run.box, context.state.backBrush);
  context.state.surface->ExtTextOut(run.reference, kTextClipped, run.box, text, length);
}

void DrawSpreadText(Context& context, int start, int end, int across, const char* text, int count) {
  const std::int64_t span = std::int64_t{end} - start;
  const std::int64_t cell = span / count, remainder = span - cell * count;
  std::int64_t position = start;
  for (int i = 0; i < count; ++i) {
    const std::int64_t width = cell + (i < remainder ? 1 : 0);
    DrawTextRun(context, ClampToInt(position), ClampToInt(position + width), across, text + i, 1);
    position += width;
  }
}

void DrawHumanReadable(Context& context) {
  if (context.state.symbolEnd == 0) context.state.symbolEnd = context.state.cursor;
  if (context.state.humanText[0] == '\0') std::memcpy(context.state.humanText, context.state.workMessage, sizeof context.state.humanText);
  if (context.settings.showText == 0) return;

  const int lf = context.settings.font.lfHeight;
  const bool vertical = RunsVertically(context.settings.orientation);
  const int alongStart = vertical ? context.state.offsetY : context.state.offsetX;
  const int bandStart = vertical ? context.state.offsetX : context.state.offsetY;
  const int textRow = SaturatingAdd(bandStart, context.state.barHeight);

  if (context.settings.supplementKind > kNoSupplement && TakesAddOnDigits(context.settings.symbology)) {
    DrawAddOnText(context, bandStart, lf);
  }
  const SymbologyRow* row = FindSymbology(context.settings.symbology);
  const TextLayout layout = row != nullptr ? row->text : TextLayout::kUnderSymbol;
  if (layout == TextLayout::kEan13DigitsCaptioned) {
    DrawTextRun(context, alongStart, context.state.symbolEnd, SaturatingSub(bandStart, lf), context.state.isbnCaption,
                TextLength(context.state.isbnCaption));
  }
  DrawMainText(context, layout, alongStart, textRow, lf);
}

}  // namespace varnel
