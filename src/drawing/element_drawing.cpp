#include "drawing/element_drawing.h"

#include <array>
#include <cstdint>

#include "base/int_math.h"
#include "drawing/render_state.h"

namespace varnel {
namespace {

// What a width character names: the narrow width, two to four times it, the wide width, or nothing.
enum WidthKind : std::uint8_t { kNoWidth, kNarrow, kTwoNarrow, kThreeNarrow, kFourNarrow, kWide, kWidthKindCount };

constexpr std::array<std::uint8_t, 256> kWidthKinds = [] {
  std::array<std::uint8_t, 256> kinds{};  // kNoWidth
  kinds['n'] = kinds['1'] = kNarrow;
  kinds['2'] = kTwoNarrow;
  kinds['3'] = kThreeNarrow;
  kinds['4'] = kFourNarrow;
  kinds['w'] = kWide;
  return kinds;
}();

// The length of each width character at a narrow and a wide width; -1 for a character that names
// no width.
class ElementLengths {
 public:
  ElementLengths(int narrow, int wide)
      : narrow_(narrow),
        wide_(wide),
        lengths_{-1, narrow, ClampToInt(std::int64_t{2} * narrow), ClampToInt(std::int64_t{3} * narrow),
                 ClampToInt(std::int64_t{4} * narrow), wide} {}

  bool Of(int narrow, int wide) const { return narrow == narrow_ && wide == wide_; }
  int operator()(char width) const { return lengths_[kWidthKinds[static_cast<unsigned char>(width)]]; }

 private:
  int narrow_;
  int wide_;
  int lengths_[kWidthKindCount];
};

// The lengths at the render's sizes, worked out again only when the sizes change: every pattern of a
// render asks.
const ElementLengths& CurrentLengths() {
  static ElementLengths lengths(0, 0);
  if (!lengths.Of(state.narrowWidth, state.wideWidth)) lengths = ElementLengths(state.narrowWidth, state.wideWidth);
  return lengths;
}

// Where the bars of a pattern go in the picture. Orientations 1, 2 and 3 turn the unrotated band by
// 90, 180 and 270 degrees counter-clockwise within itself; along the symbol, positions grow from the
// left, bottom, right and top edge of the picture respectively. Across the symbol every bar of a
// pattern has the same edges, worked out once; along it a bar takes its cursor and length. Sums are
// formed in 64 bits so that extreme sizes clamp instead of overflowing.
class BarPlacement {
 public:
  BarPlacement(int topOffset, int bottomOffset) {
    const std::int64_t t = topOffset, s = bottomOffset;
    const std::int64_t x0 = state.originX, y0 = state.originY;
    const std::int64_t band = std::int64_t{state.barHeight} + state.textBand;
    std::int64_t acrossStart, acrossEnd;
    switch (settings.orientation) {
      case kTurned90:
        alongStart_ = y0 + settings.height;
        reversed_ = true;
        acrossStart = x0 + state.offsetX + t;
        acrossEnd = x0 + state.offsetX + band + s;
        break;
      case kTurned180:
        alongStart_ = x0 + settings.width;
        reversed_ = true;
        acrossStart = y0 + state.offsetY - s;
        acrossEnd = y0 + state.offsetY + band - t;
        break;
      case kTurned270:
        alongStart_ = y0;
        acrossStart = x0 + state.offsetX - s;
        acrossEnd = x0 + state.offsetX + band - t;
        break;
      default:
        alongStart_ = x0;
        acrossStart = y0 + state.offsetY + t;
        acrossEnd = y0 + state.offsetY + band + s;
        break;
    }
    vertical_ = RunsVertically(settings.orientation);
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

void PaintBar(const Rect& cells) { state.surface->FillRect(cells, state.barBrush); }

}  // namespace

void DrawElement(int length, int topOffset, int bottomOffset, int isBar) {
  if (isBar != 0 && state.measuring == 0) PaintBar(BarPlacement(topOffset, bottomOffset).At(state.cursor, length));
  state.cursor = SaturatingAdd(state.cursor, length);
}

// The elements of a render are nearly all drawn from here: the measuring pass only adds up their
// lengths, and the drawing pass places the pattern's bars across the symbol once.
void DrawPattern(const char* colours, const char* widths, int topOffset, int bottomOffset) {
  const ElementLengths& lengthOf = CurrentLengths();
  int cursor = state.cursor;
  if (state.measuring != 0) {
    for (; *colours != '\0' && *widths != '\0'; ++colours, ++widths) {
      const int length = lengthOf(*widths);
      if (length >= 0) cursor = SaturatingAdd(cursor, length);
    }
  } else {
    const BarPlacement bars(topOffset, bottomOffset);
    for (; *colours != '\0' && *widths != '\0'; ++colours, ++widths) {
      const int length = lengthOf(*widths);
      if (length < 0) continue;
      if (*colours == 'b') PaintBar(bars.At(cursor, length));
      cursor = SaturatingAdd(cursor, length);
    }
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
