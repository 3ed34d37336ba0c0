// The length of each width character of the element patterns at a render's narrow and wide widths.
#pragma once

#include <array>
#include <cstdint>

#include "base/int_math.h"

namespace varnel {

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

}  // namespace varnel
