#include "writers/text_layout.h"

namespace varnel {
namespace {

// Horizontal alignment (TA_LEFT 0, TA_RIGHT 2, TA_CENTER 6) and vertical (TA_TOP 0, TA_BOTTOM 8,
// TA_BASELINE 24) share the alignment word.
constexpr unsigned kHorizontalMask = 6, kAlignRight = 2, kAlignCenter = 6;
constexpr unsigned kVerticalMask = 24, kAlignBottom = 8, kAlignBaseline = 24;

}  // namespace

int QuarterTurnsOf(const std::optional<FontDescription>& font) {
  if (!font) return 0;
  const std::int64_t tenths = (std::int64_t{font->lfEscapement} % 3600 + 3600) % 3600;
  return static_cast<int>((tenths + 450) / 900 % 4);
}

RunLayout LayOutRun(const TextOp& text, FontLease& font) {
  std::int64_t width = 0;
  for (const char c : text.text) width += font.Advance(static_cast<std::uint8_t>(c));

  const unsigned horizontal = text.align & kHorizontalMask, vertical = text.align & kVerticalMask;
  const std::int64_t start = horizontal == kAlignCenter ? -width / 2
                            : horizontal == kAlignRight  ? -width
                                                         : 0;
  const std::int64_t top = vertical == kAlignBaseline ? -font.Ascent()
                           : vertical == kAlignBottom ? -font.CellHeight()
                                                      : 0;
  return RunLayout{start, width, top, top + font.Ascent(), QuarterTurnsOf(text.font)};
}

}  // namespace varnel
