// The fonts of the PNG's raster and of the SVG's text in the Windows DLLs: GDI's own, the fonts in
// which the BMP and the metafiles draw their text. A font is made upright with CreateFontIndirectA
// (the raster turns the ink itself) and measured on a memory surface of its own: the cell and the
// ascent from GetTextMetricsA, the em as the cell less its internal leading, each byte's advance
// from GetCharWidth32W, the reach from the face's box (GetOutlineTextMetricsA), and each glyph's ink
// from GetGlyphOutlineW as one bit a pixel, hinted as GDI draws it without smoothing. A byte is a
// Windows-1252 character, as on every platform, whatever the process's code page (varnel.exe's is
// UTF-8). A face that GDI has no outline of (a bitmap font) is measured but draws no ink.
//
// The last font is kept, with the advances measured in it, since the runs of a picture and the
// pictures of a batch mostly share one; a glyph's ink is rendered each time it is drawn.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/windows_1252.h"
#include "platform/font_engine.h"
#include "platform/glyph_ink.h"

// Last: it brings in <windows.h>.
#include "platform/win32/log_font.h"

namespace varnel {
namespace {

// The surface's default font, as the metafiles name it: Arial with a 16-pixel cell.
constexpr FontDescription kDefaultFont = [] {
  FontDescription font{};
  font.lfHeight = kDefaultCellHeight;
  font.lfWeight = 400;
  font.lfPitchAndFamily = FF_SWISS | VARIABLE_PITCH;
  constexpr char kFace[] = "Arial";
  for (std::size_t i = 0; i < sizeof kFace; ++i) font.lfFaceName[i] = kFace[i];
  return font;
}();

// The font as it is made: upright, its face name ended, its height within kMaxFontPixels and 0 the
// default cell, as on every platform.
FontDescription UprightFont(const std::optional<FontDescription>& font) {
  FontDescription upright = font ? *font : kDefaultFont;
  upright.lfEscapement = upright.lfOrientation = 0;
  upright.lfFaceName[sizeof upright.lfFaceName - 1] = '\0';
  if (upright.lfHeight == 0) upright.lfHeight = kDefaultCellHeight;
  upright.lfHeight = std::clamp(upright.lfHeight, -kMaxFontPixels, kMaxFontPixels);
  return upright;
}

// Columns and rows beyond the face's box that hinting may move ink into.
constexpr int kHintingSlack = 2;

}  // namespace

// One font, selected into the engine's surface while it is the engine's font.
class ScaledFont {
 public:
  ScaledFont(HDC dc, const FontDescription& description) : dc_(dc), description_(description) {
    const LOGFONTA log = ToLogFont(description);
    font_ = CreateFontIndirectA(&log);
    if (font_ == nullptr) return;
    original_ = SelectObject(dc_, font_);
    TEXTMETRICA metrics;
    if (original_ == nullptr || !GetTextMetricsA(dc_, &metrics)) return;
    cellHeight = metrics.tmHeight;
    ascent = metrics.tmAscent;
    emHeight = metrics.tmHeight - metrics.tmInternalLeading;
    std::vector<char> outline(GetOutlineTextMetricsA(dc_, 0, nullptr));
    auto* box = reinterpret_cast<OUTLINETEXTMETRICA*>(outline.data());
    if (outline.size() >= sizeof *box && GetOutlineTextMetricsA(dc_, static_cast<UINT>(outline.size()), box) != 0) {
      const RECT& face = box->otmrcFontBox;  // y up from the baseline
      auto beyond = [](LONG extent) { return static_cast<int>(std::max<LONG>(extent, 0)) + kHintingSlack; };
      reach = InkReach{beyond(-face.left), beyond(face.right), beyond(face.top), beyond(-face.bottom)};
    }
    advances_.fill(-1);
    usable_ = true;
  }
  ScaledFont(const ScaledFont&) = delete;
  ScaledFont& operator=(const ScaledFont&) = delete;
  ~ScaledFont() {
    if (original_ != nullptr) SelectObject(dc_, original_);
    if (font_ != nullptr) DeleteObject(font_);
  }

  const FontDescription& Description() const { return description_; }
  bool Usable() const { return usable_; }

  int Advance(std::uint8_t byte) {
    int& advance = advances_[byte];
    INT width = 0;
    const UINT character = Windows1252ToUtf16(byte);
    if (advance < 0) advance = GetCharWidth32W(dc_, character, character, &width) ? std::max(width, 0) : 0;
    return advance;
  }

  const GlyphMask& Ink(std::uint8_t byte, int quarterTurns) {
    static constexpr MAT2 kUpright{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    ink_ = GlyphMask{};
    GLYPHMETRICS metrics;
    const UINT character = Windows1252ToUtf16(byte);
    const DWORD size = GetGlyphOutlineW(dc_, character, GGO_BITMAP, &metrics, 0, nullptr, &kUpright);
    if (size == GDI_ERROR || size == 0) return ink_;  // no outline, or a glyph without ink
    bits_.resize(size);
    if (GetGlyphOutlineW(dc_, character, GGO_BITMAP, &metrics, size, bits_.data(), &kUpright) == GDI_ERROR) return ink_;
    // Rows top first, each padded to 32 bits, the leftmost pixel in the top bit.
    const auto width = static_cast<int>(metrics.gmBlackBoxX), height = static_cast<int>(metrics.gmBlackBoxY);
    const std::size_t pitch = (metrics.gmBlackBoxX + 31) / 32 * 4;
    if (pitch * metrics.gmBlackBoxY > size) return ink_;
    TraceInk(width, height, metrics.gmptGlyphOrigin.x, metrics.gmptGlyphOrigin.y, quarterTurns,
             [&](int col, int row) { return ((bits_[row * pitch + col / 8] >> (7 - col % 8)) & 1) != 0; }, ink_);
    return ink_;
  }

  int cellHeight = 0;
  int ascent = 0;
  int emHeight = 0;
  InkReach reach{0, 0, 0, 0};

 private:
  HDC dc_;
  FontDescription description_;
  HFONT font_ = nullptr;
  HGDIOBJ original_ = nullptr;
  bool usable_ = false;
  std::array<int, 256> advances_{};
  std::vector<std::uint8_t> bits_;
  GlyphMask ink_;
};

namespace {

class FontEngine {
 public:
  FontEngine() : dc_(CreateCompatibleDC(nullptr)) {}
  ~FontEngine() {
    font_.reset();  // deselected before its surface goes
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  std::mutex& Mutex() { return mutex_; }

  // Null when GDI cannot make or measure the font.
  ScaledFont* FontFor(const FontDescription& description) {
    if (dc_ == nullptr) return nullptr;
    if (!font_ || !SameFont(font_->Description(), description)) {
      font_.reset();  // the surface holds one font at a time
      font_ = std::make_unique<ScaledFont>(dc_, description);
    }
    return font_->Usable() ? font_.get() : nullptr;
  }

 private:
  std::mutex mutex_;
  HDC dc_;
  std::unique_ptr<ScaledFont> font_;
};

FontEngine& Engine() {
  static FontEngine engine;
  return engine;
}

constexpr InkReach kNoReach{0, 0, 0, 0};

}  // namespace

FontLease::FontLease(const std::optional<FontDescription>& font) : lock_(Engine().Mutex()) {
  const FontDescription upright = UprightFont(font);
  font_ = Engine().FontFor(upright);
  if (font_ != nullptr) {
    cellHeight_ = font_->cellHeight;
    ascent_ = font_->ascent;
    emHeight_ = font_->emHeight;
    return;
  }
  // A run in a font GDI will not make keeps a cell of its height, with Arial's ascent, and no ink.
  cellHeight_ = emHeight_ = std::abs(upright.lfHeight);
  ascent_ = cellHeight_ * 1854 / 2288;
}

const InkReach& FontLease::Reach() const { return font_ != nullptr ? font_->reach : kNoReach; }

int FontLease::Advance(std::uint8_t byte) { return font_ != nullptr ? font_->Advance(byte) : 0; }

const GlyphMask& FontLease::Ink(std::uint8_t byte, int quarterTurns) {
  static const GlyphMask kNoInk;
  return font_ != nullptr ? font_->Ink(byte, quarterTurns) : kNoInk;
}

}  // namespace varnel
