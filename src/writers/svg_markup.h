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

// Markup spelled into a fixed buffer, large enough for the longest element it is given.
class Spelling {
 public:
  Spelling& operator<<(std::string_view text) {
    std::memcpy(end_, text.data(), text.size());
    end_ += text.size();
    return *this;
  }
  Spelling& operator<<(std::int64_t value) {
    end_ = std::to_chars(end_, buffer_ + sizeof buffer_, value).ptr;
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
  void AppendTo(std::string& out) const { out.append(buffer_, static_cast<std::size_t>(end_ - buffer_)); }

 private:
  // Room for an element of six 20-digit numbers and its names.
  char buffer_[256];
  char* end_ = buffer_;
};

inline void AppendNumber(std::string& out, std::int64_t value) { (Spelling() << value).AppendTo(out); }

inline void AppendColour(std::string& out, COLORREF color) { Spelling().Colour(color).AppendTo(out); }

// ` name="value"` with a number for the value.
inline void AppendAttribute(std::string& out, std::string_view name, std::int64_t value) {
  (Spelling() << " " << name << "=\"" << value << "\"").AppendTo(out);
}

// A rectangle; without a colour, a clip path's shape.
inline void AppendRectangle(std::string& out, std::int64_t x, std::int64_t y, std::int64_t width,
                            std::int64_t height, std::optional<COLORREF> color) {
  Spelling rectangle;
  rectangle << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << width << "\" height=\"" << height << "\"";
  if (color) (rectangle << " fill=\"").Colour(*color) << "\"";
  (rectangle << "/>\n").AppendTo(out);
}

inline void AppendRectangle(std::string& out, const Rect& cells, std::optional<COLORREF> color) {
  AppendRectangle(out, cells.left, cells.top, std::int64_t{cells.right} - cells.left,
                  std::int64_t{cells.bottom} - cells.top, color);
}

}  // namespace varnel::svg
