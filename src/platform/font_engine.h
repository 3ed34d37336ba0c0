// The raster's fonts. fontconfig picks the face file for a font description (face name, weight,
// italic), and its answer is remembered across processes (font_choice_cache.h); FreeType opens
// the file once, reading only what it draws, and draws its glyphs one bit deep, hinted for
// monochrome, with no anti-aliasing: the picture has two colours.
//
// Faces, sizes and the ink of the glyphs drawn are kept for the life of the process and shared by
// every render, so a render after the first opens no font file and renders no glyph it has drawn
// before. Memory stays bounded: sizes are dropped, least recently used first, when there are too
// many or their ink grows too large, and a size whose own ink has filled the budget renders its
// further glyphs each time they are drawn (their advances are still kept).
//
// Heights follow the platform's convention: lfHeight > 0 is the cell height (the face's Windows
// ascent plus descent), < 0 the em height, 0 the default cell of kDefaultCellHeight. A height
// beyond kMaxFontPixels either way (INT_MIN and INT_MAX included) is drawn at kMaxFontPixels.
// lfWidth, underline and strike-out are not drawn; the escapement is the caller's business.
//
// Text is 8-bit Windows-1252: 0x80..0x9F map through the code page to Unicode, every other byte
// is its Latin-1 code point. A face name that finds no usable face falls back to the default sans
// face; if no face can be loaded at all, a run keeps its cell but has no ink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "base/gdi_types.h"

namespace varnel {

inline constexpr int kMaxFontPixels = 2048;
inline constexpr int kDefaultCellHeight = 16;

// A glyph's ink, turned as it is drawn, as a one-bit mask: `height` rows of `width` cells whose
// first lies `left` columns and `top` rows from the glyph's origin, the lattice point where the pen
// meets the baseline. Each row takes `wordsPerRow` 64-bit words, its leftmost cell in the top bit
// of the first; a glyph without ink has no rows.
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int wordsPerRow = 0;
  std::vector<std::uint64_t> words;
};

// How far any glyph of the face can reach from its origin, upright, in pixels: a conservative box
// from the face's bounding box, so that a glyph outside the clip need not be rendered to know it.
struct InkReach {
  int left;   // columns before the pen
  int right;  // columns after the pen
  int above;  // rows above the baseline
  int below;  // rows below it
};

class ScaledFont;

// The font engine, held for the drawing of one text run: the caches are process-wide and guarded,
// so a lease holds the engine's lock for its lifetime. Lease nothing else while one is held.
class FontLease {
 public:
  // `font` empty is the surface's default font: the sans face with a 16-pixel cell.
  explicit FontLease(const std::optional<FontDescription>& font);
  FontLease(const FontLease&) = delete;
  FontLease& operator=(const FontLease&) = delete;

  int CellHeight() const { return cellHeight_; }
  int Ascent() const { return ascent_; }  // the baseline's distance below the cell's top
  int EmHeight() const { return emHeight_; }  // the size that vector formats name the font by
  const InkReach& Reach() const;

  // The byte's advance in whole pixels.
  int Advance(std::uint8_t byte);
  // The byte's glyph turned `quarterTurns` counter-clockwise (on a y-down picture). Valid until
  // the next call or the lease's end.
  const GlyphMask& Ink(std::uint8_t byte, int quarterTurns);

 private:
  std::unique_lock<std::mutex> lock_;
  ScaledFont* font_;  // null when no face could be loaded
  int cellHeight_;
  int ascent_;
  int emHeight_;
};

// The lease of a picture's text runs, one font at a time. The runs of a picture mostly share one font,
// and its lease is kept from run to run while they do, rather than the engine locked for each.
class RunFontLease {
 public:
  // A lease of `font`: the one held when it was the last run's font too, else a new one, the old one
  // given up first (as emplace does), since the engine is leased once at a time.
  FontLease& For(const std::optional<FontDescription>& font) {
    if (!lease_ || !SameFont(font_, font)) {
      lease_.emplace(font);
      font_ = font;
    }
    return *lease_;
  }
  void Release() { lease_.reset(); }

 private:
  std::optional<FontLease> lease_;
  std::optional<FontDescription> font_;
};

}  // namespace varnel
