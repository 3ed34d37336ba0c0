// The platform's 8-bit text is Windows-1252: bytes 0x80..0x9F are that code page's letters and
// signs, every other byte is its Latin-1 code point. The five bytes the code page leaves unassigned
// keep their C1 code point, as the platform maps them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varnel {

inline constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every character of the code page is in the Basic Multilingual Plane: one UTF-16 unit.
constexpr char16_t Windows1252ToUtf16(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : char16_t{byte};
}

// The byte's character appended in UTF-8, for the interfaces that name text in Unicode (fontconfig,
// the SVG output).
inline void AppendWindows1252AsUtf8(std::string& out, std::uint8_t byte) {
  const char16_t c = Windows1252ToUtf16(byte);
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace varnel
