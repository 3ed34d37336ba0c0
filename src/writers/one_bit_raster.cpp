#include "writers/one_bit_raster.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>


namespace varnel {
namespace {

int ColourDistance(COLORREF a, COLORREF b) {
  const int dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

int NearestPaletteIndex(const Palette& palette, COLORREF color) {
  if (color == palette.color0) return 0;
  if (color == palette.color1) return 1;
  return ColourDistance(color, palette.color1) < ColourDistance(color, palette.color0) ? 1 : 0;
}

OneBitRaster::OneBitRaster(std::uint8_t* topRow, int width, int height, std::size_t rowBytes, std::ptrdiff_t step,
                           bool inverted)
    : topRow_(topRow), width_(std::max(width, 0)), height_(std::max(height, 0)), rowBytes_(rowBytes), step_(step),
      inverted_(inverted) {}

// Bottom first: the top row is the last in memory, and going down the picture goes back.
OneBitRaster::OneBitRaster(std::uint8_t* rows, int width, int height)
    : topRow_(rows), width_(std::max(width, 0)), height_(std::max(height, 0)), rowBytes_(RowBytes(width_)),
      step_(-static_cast<std::ptrdiff_t>(rowBytes_)), inverted_(false) {
  topRow_ += static_cast<std::size_t>(std::max(height_ - 1, 0)) * rowBytes_;
}

OneBitRaster OneBitRaster::PngScanlines(std::uint8_t* firstRow, int width, int height, std::size_t stride) {
  return OneBitRaster(firstRow, width, height, PngRowBytes(std::max(width, 0)), static_cast<std::ptrdiff_t>(stride), true);
}

int OneBitRaster::PixelIndex(int x, int y) const {
  return ((Row(y)[x / 8] >> (7 - x % 8)) & 1) ^ (inverted_ ? 1 : 0);
}

RowSpan::RowSpan(int left, int right, bool set)
    : first(static_cast<std::size_t>(left) / 8),
      last(static_cast<std::size_t>(right - 1) / 8),
      firstMask(static_cast<std::uint8_t>(0xFFu >> (left % 8))),
      lastMask(static_cast<std::uint8_t>(0xFFu << (7 - (right - 1) % 8))),
      fill(set ? 0xFF : 0x00) {
  if (first == last) firstMask &= lastMask;
}

void RowSpan::Paint(std::uint8_t* row) const {
  Blend(row[first], firstMask);
  if (last == first) return;
  if (last - first > 1) std::memset(row + first + 1, fill, last - first - 1);
  Blend(row[last], lastMask);
}

namespace {

std::uint64_t SwapBytes(std::uint64_t x) {
  x = (x & 0x00000000FFFFFFFFu) << 32 | (x & 0xFFFFFFFF00000000u) >> 32;
  x = (x & 0x0000FFFF0000FFFFu) << 16 | (x & 0xFFFF0000FFFF0000u) >> 16;
  return (x & 0x00FF00FF00FF00FFu) << 8 | (x & 0xFF00FF00FF00FF00u) >> 8;
}

// Eight bytes of a row as one word, its first byte on top: 64 pixels in the picture's order from
// the top bit down, whatever the machine's byte order. A span of a few bytes is painted on a row
// with one such word, where byte by byte would take a blend, or a call, for each.
std::uint64_t ReadPixels(const std::uint8_t* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return std::endian::native == std::endian::little ? SwapBytes(word) : word;
}
void WritePixels(std::uint8_t* at, std::uint64_t pixels) {
  if constexpr (std::endian::native == std::endian::little) pixels = SwapBytes(pixels);
  std::memcpy(at, &pixels, sizeof pixels);
}

// Bits from .. to - 1 of a word, counted from the top (0 <= from < to <= 64).
std::uint64_t TopBits(std::int64_t from, std::int64_t to) {
  return (~std::uint64_t{0} >> from) & (to < 64 ? ~(~std::uint64_t{0} >> to) : ~std::uint64_t{0});
}

}  // namespace

void OneBitRaster::Fill(const Rect& rect, int index) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  const RowSpan span = Span(left, right, index);
  // (What the loops use is kept in locals: as far as the compiler knows, a store to a pixel byte
  // could change it.)
  const std::ptrdiff_t step = step_;
  std::uint8_t* row = Row(top);
  if (bottom - top > 1 && span.first + 8 <= rowBytes_ && span.last < span.first + 8) {
    // A narrow fill (a text cell) within the eight bytes from its first: a word a row.
    const std::uint64_t cells = TopBits(left - 8 * static_cast<std::int64_t>(span.first), right - 8 * static_cast<std::int64_t>(span.first));
    const std::uint64_t ink = IsSetBit(index) ? cells : 0;
    for (int y = top; y < bottom; ++y, row += step) {
      std::uint8_t* at = row + span.first;
      WritePixels(at, (ReadPixels(at) & ~cells) | ink);
    }
    return;
  }
  for (int y = top; y < bottom; ++y, row += step) span.Paint(row);
}

void OneBitRaster::PaintBits(const BitRows& bits, std::int64_t x, std::int64_t y, const Rect& clip, int index) {
  const std::int64_t top = std::max<std::int64_t>({y, clip.top, 0});
  const std::int64_t bottom = std::min<std::int64_t>({y + bits.height, clip.bottom, height_});
  const std::int64_t from = std::max<std::int64_t>({x, clip.left, 0});
  const std::int64_t to = std::min<std::int64_t>({x + bits.width, clip.right, width_});
  if (top >= bottom || from >= to) return;

  // The mask's rows land `shift` places right of byte `base` of the picture's rows: byte k from
  // there holds bits of the mask's words k / 8 (moved right) and k / 8 - 1 (the bits moved out of
  // it). The clip keeps bytes kFirst .. kLast, the first and last of them in part.
  const std::int64_t shift = (x % 8 + 8) % 8, base = (x - shift) / 8;
  const std::int64_t kFirst = from / 8 - base, kLast = (to - 1) / 8 - base;
  auto firstMask = static_cast<std::uint8_t>(0xFFu >> (from % 8));
  const auto lastMask = static_cast<std::uint8_t>(0xFFu << (7 - (to - 1) % 8));
  if (kFirst == kLast) firstMask &= lastMask;
  const auto inkAt = [&bits, shift](const std::uint64_t* rowWords, std::int64_t k) {
    const std::int64_t word = k / 8;
    const std::uint64_t moved = (word < bits.wordsPerRow ? rowWords[word] >> shift : 0) |
                                (word > 0 && shift > 0 ? rowWords[word - 1] << (64 - shift) : 0);
    return static_cast<std::uint8_t>(moved >> (56 - 8 * (k % 8)));
  };
  const bool set = IsSetBit(index);
  const auto paint = [set](std::uint8_t& byte, std::uint8_t ink) {
    byte = static_cast<std::uint8_t>(set ? byte | ink : byte & ~ink);
  };
  const std::ptrdiff_t step = step_;
  const std::uint64_t* const words = bits.words;
  const std::int64_t wordsPerRow = bits.wordsPerRow, firstRow = top - y, endRow = bottom - y;
  std::uint8_t* const row = Row(static_cast<int>(top));
  if (wordsPerRow == 1 && kLast < 8 && base >= 0 && static_cast<std::size_t>(base) + 8 <= rowBytes_) {
    // Text of all usual sizes: a glyph's row, clipped and moved right, is one word of the picture's
    // row, painted at once.
    const std::uint64_t clipBits = TopBits(from - x, to - x), fill = set ? ~std::uint64_t{0} : 0;
    std::uint8_t* line = row + base;
    for (std::int64_t r = firstRow; r < endRow; ++r, line += step) {
      const std::uint64_t ink = (words[r] & clipBits) >> shift;
      WritePixels(line, (ReadPixels(line) & ~ink) | (fill & ink));
    }
    return;
  }
  std::uint8_t* line = row;
  for (std::int64_t r = firstRow; r < endRow; ++r, line += step) {
    const std::uint64_t* rowWords = words + r * wordsPerRow;
    paint(line[base + kFirst], inkAt(rowWords, kFirst) & firstMask);
    if (kLast == kFirst) continue;
    for (std::int64_t k = kFirst + 1; k < kLast; ++k) paint(line[base + k], inkAt(rowWords, k));
    paint(line[base + kLast], inkAt(rowWords, kLast) & lastMask);
  }
}

void OneBitRaster::CopyRowDown(int top, int bottom) {
  bottom = std::min(bottom, height_);
  // The rows lie evenly in memory, one block from the first made to the last: the block of the
  // rows made so far, copied next to itself, doubles them. A block starts at the row of the lowest
  // address and ends with the row bytes of the highest, leaving out what lies beyond.
  const auto block = [this](int first, int count) {
    return step_ > 0 ? Row(first) : Row(first + count - 1);
  };
  const std::size_t between = static_cast<std::size_t>(step_ > 0 ? step_ : -step_);
  for (int made = 1, left = bottom - top - 1; left > 0;) {
    const int now = std::min(made, left);
    std::memcpy(block(top + made, now), block(top + made - now, now), static_cast<std::size_t>(now - 1) * between + rowBytes_);
    made += now;
    left -= now;
  }
}

}  // namespace varnel
