#include "drawing/element_drawing.h"

#include <cstdint>

#include "base/int_math.h"
#include "drawing/context.h"
#include "drawing/element_lengths.h"

namespace varnel {
namespace {

// The lengths at the render's sizes, worked out again only when the sizes change: every pattern of a
// render asks.
const ElementLengths& CurrentLengths(Context& context) {
  ElementLengths& lengths = context.elementLengths;
  if (!lengths.Of(context.state.narrowWidth, context.state.wideWidth))
    lengths = ElementLengths(context.state.narrowWidth, context.state.wideWidth);
  return lengths;
}

// Where the bars of a pattern go in the picture. Orientations 1, 2 and 3 turn the unrotated band by
// 90, 180 and 270 degrees counter-clockwise within itself; along the symbol, positions grow from the
// left, bottom, right and top edge of the picture respectively. Across the symbol every bar of a
// pattern has the same edges, worked out once; along it a bar takes its cursor and length. Sums are
// formed in 64 bits so that extreme sizes clamp instead of overflowing.
class BarPlacement {
 public:
  BarPlacement(const Context& context, int topOffset, int bottomOffset) {
    const std::int64_t t = topOffset, s = bottomOffset;
    const std::int64_t x0 = context.state.originX, y0 = context.state.originY;
    const std::int64_t band = std::int64_t{context.state.barHeight} + context.state.textBand;
    std::int64_t acrossStart, acrossEnd;
    switch (context.settings.orientation) {
      case kTurned90:
        alongStart_ = y0 + context.settings.height;
        reversed_ = true;
        acrossStart = x0 + context.state.offsetX + t;
        acrossEnd = x0 + context.state.offsetX + band + s;
        break;
      case kTurned180:
        alongStart_ = x0 + context.settings.width;
        reversed_ = true;
        acrossStart = y0 + context.state.offsetY - s;
        acrossEnd = y0 + context.state.offsetY + band - t;
        break;
      case kTurned270:
        alongStart_ = y0;
        acrossStart = x0 + context.state.offsetX - s;
        acrossEnd = x0 + context.state.offsetX + band - t;
        break;
      default:
        alongStart_ = x0;
        acrossStart = y0 + context.state.offsetY + t;
        acrossEnd = y0 + context.state.offsetY + band + s;
        break;
    }
    vertical_ = RunsVertically(context.settings.orientation);
    acrossStart_ = ClampToInt(acrossStart);
    acrossEnd_ = ClampToInt(acrossEnd);
  }

  // The cells of the bar that starts at `cursor` along the symbol.
  Rect At(int cursor, int length) const {
    const std::int64_t from = reversed_ ? alongStart_ - cursor - length : alongStart_ + cursor;
    const int alongStart = ClampToInt(from), alongEnd = ClampToInt(from + length);
    return vertical_ ? Rect{acrossStart_, alongStart, acrossEnd_, alongEnd}
                     : Rect{alongStart, acrossStart_, alongEnd, acrossEnd_};
  }

 private:
  std::int64_t alongStart_;
  bool reversed_ = false;
  bool vertical_;
  int acrossStart_;
  int acrossEnd_;
};

void PaintBar(Context& context, const Rect& cells) { context.state.surface->FillRect(cells, context.state.barBrush); }

}  // namespace

void DrawElement(Context& context, int length, int topOffset, int bottomOffset, int isBar) {
  if (isBar != 0 && context.state.walk.draws) PaintBar(context, BarPlacement(context, topOffset, bottomOffset).At(context.state.cursor, length));
  context.state.cursor = SaturatingAdd(context.state.cursor, length);
}

// The elements of a render are nearly all drawn from here: a walk that does not draw only adds up
// their lengths, and a drawing walk places the pattern's bars across the symbol once.
void DrawPattern(Context& context, const char* colours, const char* widths, int topOffset, int bottomOffset) {
  const ElementLengths& lengthOf = CurrentLengths(context);
  int cursor = context.state.cursor;
  if (!context.state.walk.draws) {
    for (; *colours != '\0' && *widths != '\0'; ++colours, ++widths) {
      const int length = lengthOf(*widths);
      if (length >= 0) cursor = SaturatingAdd(cursor, length);
    }
  } else {
    const BarPlacement bars(context, topOffset, bottomOffset);
    for (; *colours != '\0' && *widths != '\0'; ++colours, ++widths) {
      const int length = lengthOf(*widths);
      if (length < 0) continue;
      if (*colours == 'b') PaintBar(context, bars.At(cursor, length));
      cursor = SaturatingAdd(cursor, length);
    }
  }
  context.state.cursor = cursor;
}

void DrawPattern(Context& context, const char* colours, const char* widths, BarOffsets offsets) {
  DrawPattern(context, colours, widths, offsets.top, offsets.bottom);
}

// The two kinds of bar are placed across the symbol once a call, as a pattern's bars are; a
// walk that does not draw, as with a pattern, only adds up the lengths.
void DrawPostalBars(Context& context, const char* bars) {
  const int narrow = context.state.narrowWidth;
  const auto advance = [narrow](int cursor) { return SaturatingAdd(SaturatingAdd(cursor, narrow), narrow); };
  int cursor = context.state.cursor;
  if (!context.state.walk.draws) {
    for (; *bars != '\0'; ++bars) cursor = advance(cursor);
  } else {
    const int bottom = DataBarOffsets(context).bottom;
    const BarPlacement full(context, 0, bottom), half(context, context.state.barHeight / 2, bottom);
    for (; *bars != '\0'; ++bars) {
      PaintBar(context, (*bars == '0' ? half : full).At(cursor, narrow));
      cursor = advance(cursor);
    }
  }
  context.state.cursor = cursor;
}

}  // namespace varnel
