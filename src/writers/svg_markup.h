// The pieces of SVG markup the document is spelled in, each appended to the text so far. A document
// is mostly rectangles, thousands of them in a large one: each is spelled in a buffer on the stack
// and appended at once, since growing the string piece by piece would cost more than the rest of
// the picture together.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/gdi_types.h"

namespace varnel::svg {

// Markup spelled through a cursor into a buffer the caller holds, large enough for what it is given.
// The cursor is all a spelling keeps: the buffer's bytes are written through char pointers, which may
// alias anything whose address is taken, and a cursor kept beside the buffer would be read back from
// memory after every write.
class Spelling {
 public:
  explicit Spelling(char* at) : end_(at) {}

  // A literal's length is known when it is compiled, so its copy is a few moves.
  template <std::size_t N>
  Spelling& operator<<(const char (&literal)[N]) {
    std::memcpy(end_, literal, N - 1);
    end_ += N - 1;
    return *this;
  }
  Spelling& operator<<(std::string_view text) {
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
    return *this;
  }
  // Coordinates are nearly always below ten thousand: those are spelled two digits at a time from a
  // table, in unsigned arithmetic, which divides by a constant in a multiply and a shift. The rest
  // go out of line, so that this stays small enough to be inlined in every rectangle.
  Spelling& operator<<(std::int64_t value) {
    if (value < 0 || value >= 10000) {
      end_ = SpellAnyNumber(end_, value);
      return *this;
    }
    const auto v = static_cast<std::uint32_t>(value);
    if (v < 10) {
      *end_++ = static_cast<char>('0' + v);
    } else if (v < 100) {
      Pair(v);
    } else if (v < 1000) {
      *end_++ = static_cast<char>('0' + v / 100);
      Pair(v % 100);
    } else {
      Pair(v / 100);
      Pair(v % 100);
    }
    return *this;
  }
  // "#rrggbb" from 0x00BBGGRR.
  Spelling& Colour(COLORREF color) {
    constexpr char kDigits[] = "0123456789abcdef";
    *end_++ = '#';
    for (const std::uint8_t component : {RedOf(color), GreenOf(color), BlueOf(color)}) {
      *end_++ = kDigits[component >> 4];
      *end_++ = kDigits[component & 0xF];
    }
    return *this;
  }
  char* End() const { return end_; }

 private:
  static constexpr std::size_t kLongestNumber = 20;  // -9223372036854775808

  [[gnu::noinline]] static char* SpellAnyNumber(char* at, std::int64_t value) {
    return std::to_chars(at, at + kLongestNumber, value).ptr;
  }
  // "00" to "99", each number's two digits at twice the number.
  static constexpr char kDigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";

  // A number below 100 as two digits.
  void Pair(std::uint32_t v) {
    std::memcpy(end_, kDigitPairs + 2 * v, 2);
    end_ += 2;
  }

  char* end_;
};

// Appends what `spell` spells, in a buffer on the stack with room for an element of six 20-digit
// numbers and its names.
template <typename Spell>
void AppendSpelled(std::string& out, Spell spell) {
  char buffer[256];
  Spelling spelling(buffer);
  spell(spelling);
  out.append(buffer, static_cast<std::size_t>(spelling.End() - buffer));
}

inline void AppendNumber(std::string& out, std::int64_t value) {
  AppendSpelled(out, [&](Spelling& s) { s << value; });
}

inline void AppendColour(std::string& out, COLORREF color) {
  AppendSpelled(out, [&](Spelling& s) { s.Colour(color); });
}

// ` name="value"` with a number for the value.
inline void AppendAttribute(std::string& out, std::string_view name, std::int64_t value) {
  AppendSpelled(out, [&](Spelling& s) { s << " " << name << "=\"" << value << "\""; });
}

// A rectangle; without a colour, a clip path's shape.
inline void AppendRectangle(std::string& out, std::int64_t x, std::int64_t y, std::int64_t width,
                            std::int64_t height, std::optional<COLORREF> color) {
  AppendSpelled(out, [&](Spelling& s) {
    s << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << width << "\" height=\"" << height << "\"";
    if (color) (s << " fill=\"").Colour(*color) << "\"";
    s << "/>\n";
  });
}

inline void AppendRectangle(std::string& out, const Rect& cells, std::optional<COLORREF> color) {
  AppendRectangle(out, cells.left, cells.top, std::int64_t{cells.right} - cells.left,
                  std::int64_t{cells.bottom} - cells.top, color);
}

}  // namespace varnel::svg
