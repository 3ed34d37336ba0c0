// The few value types of the Windows drawing interface that the engine speaks in.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

namespace varnel {

// A colour as 0x00BBGGRR: red in the low byte.
using COLORREF = std::uint32_t;

// The platform's font description (LOGFONTA), with an 8-bit face name.
struct FontDescription {
  std::int32_t lfHeight;
  std::int32_t lfWidth;
  std::int32_t lfEscapement;
  std::int32_t lfOrientation;
  std::int32_t lfWeight;
  std::uint8_t lfItalic;
  std::uint8_t lfUnderline;
  std::uint8_t lfStrikeOut;
  std::uint8_t lfCharSet;
  std::uint8_t lfOutPrecision;
  std::uint8_t lfClipPrecision;
  std::uint8_t lfQuality;
  std::uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};

// Every byte of a description is a field (no padding), so equal bytes are equal descriptions.
static_assert(std::has_unique_object_representations_v<FontDescription>);
inline bool SameFont(const FontDescription& a, const FontDescription& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The font of a text run, where none is the surface's default font.
inline bool SameFont(const std::optional<FontDescription>& a, const std::optional<FontDescription>& b) {
  return a.has_value() == b.has_value() && (!a || SameFont(*a, *b));
}

// Cells left <= x < right, top <= y < bottom; an empty or inverted rectangle holds no cell.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x;
  int y;
  friend bool operator==(const Point&, const Point&) = default;
};

// A solid brush is nothing but its colour here; creating one cannot fail and needs no release.
struct Brush {
  COLORREF color;
};

inline constexpr COLORREF kBlack = 0x000000;

inline constexpr std::uint8_t RedOf(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline constexpr std::uint8_t GreenOf(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
inline constexpr std::uint8_t BlueOf(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// Text alignment and ExtTextOut options the engine uses.
inline constexpr unsigned kAlignCenterTop = 6;  // TA_CENTER | TA_TOP
inline constexpr unsigned kTextClipped = 4;     // ETO_CLIPPED

}  // namespace varnel
