#include "platform/font_engine.h"
#include "base/windows_1252.h"
#include "platform/font_choice_cache.h"
#include "platform/glyph_ink.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace varnel {
namespace {

// Beyond these the least recently used sizes are dropped; a size in use is never dropped.
constexpr std::size_t kMaxScaledFonts = 64;
constexpr std::size_t kInkBudgetBytes = std::size_t{32} << 20;
// Distinct (face name, weight, italic) requests remembered before the memory starts afresh.
constexpr std::size_t kMaxFaceChoices = 256;

constexpr int kNormalWeight = 400;
constexpr char kDefaultFamily[] = "sans-serif";

char32_t CodePointOf(std::uint8_t byte) { return Windows1252ToUtf16(byte); }

// The face's vertical extent in font units, from its Windows metrics.
struct VerticalMetrics {
  int ascent;
  int descent;
  int unitsPerEm;
};

// Arial's, for a run whose face cannot be loaded: its cell keeps a familiar shape.
constexpr VerticalMetrics kNominalMetrics{1854, 434, 2048};

VerticalMetrics MetricsOf(FT_Face face) {
  const int unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : kNominalMetrics.unitsPerEm;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0)
    return {os2->usWinAscent, os2->usWinDescent, unitsPerEm};
  if (face->ascender > 0 && face->ascender - face->descender > 0)
    return {face->ascender, std::max(0, -face->descender), unitsPerEm};
  return {kNominalMetrics.ascent * unitsPerEm / kNominalMetrics.unitsPerEm,
          kNominalMetrics.descent * unitsPerEm / kNominalMetrics.unitsPerEm, unitsPerEm};
}

// A face file opened by FreeType, which maps it and reads only the tables and glyphs it needs.
struct LoadedFace {
  std::string path;
  int index;
  FT_Face face;
  VerticalMetrics metrics;
};

// What a font description resolved to (null: nothing usable), so that fontconfig is asked once.
struct FaceChoice {
  std::array<char, sizeof(FontDescription::lfFaceName)> name;
  int weight;
  bool italic;
  LoadedFace* face;
};

struct FontSize {
  int em;
  int cell;
  int ascent;
};

int RoundedScale(std::int64_t pixels, int units, int per) {
  return static_cast<int>(std::clamp<std::int64_t>((pixels * units * 2 + per) / (per * 2), 0, 16 * kMaxFontPixels));
}

FontSize SizeFor(std::int32_t lfHeight, const VerticalMetrics& m) {
  const std::int64_t requested = lfHeight == 0 ? kDefaultCellHeight : lfHeight;
  const std::int64_t pixels = std::min<std::int64_t>(requested < 0 ? -requested : requested, kMaxFontPixels);
  const int cellUnits = m.ascent + m.descent;
  if (requested > 0) {
    const int em = std::clamp(RoundedScale(pixels, m.unitsPerEm, cellUnits), 1, kMaxFontPixels);
    return {em, static_cast<int>(pixels), RoundedScale(pixels, m.ascent, cellUnits)};
  }
  const int ascent = RoundedScale(pixels, m.ascent, m.unitsPerEm);
  return {static_cast<int>(pixels), ascent + RoundedScale(pixels, m.descent, m.unitsPerEm), ascent};
}

bool BitmapPixel(const FT_Bitmap& bitmap, int col, int row) {
  const int pitch = bitmap.pitch;
  const unsigned char* line = pitch >= 0 ? bitmap.buffer + static_cast<std::ptrdiff_t>(row) * pitch
                                         : bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1 - row) * -pitch;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return ((line[col / 8] >> (7 - col % 8)) & 1) != 0;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return line[col] >= 128;
  return false;
}

// Turns a rendered glyph, whose bitmap starts `bitmapLeft` right of the pen and `bitmapTop` above
// the baseline, into its mask.
void TraceInk(const FT_Bitmap& bitmap, int bitmapLeft, int bitmapTop, int quarterTurns, GlyphMask& out) {
  if (bitmap.buffer == nullptr) {
    out = GlyphMask{};
    return;
  }
  TraceInk(static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), bitmapLeft, bitmapTop, quarterTurns,
           [&](int col, int row) { return BitmapPixel(bitmap, col, row); }, out);
}

int WholePixels(FT_Pos value26_6) {
  return static_cast<int>(std::clamp<FT_Pos>((value26_6 + 32) >> 6, 0, 16 * kMaxFontPixels));
}

}  // namespace

// One face at one em size, with the advances and turned ink of the glyphs drawn in it.
class ScaledFont {
 public:
  struct Glyph {
    int advance = -1;  // -1 until measured
    std::array<bool, 4> traced{};
    std::array<GlyphMask, 4> ink;
    // The outline as hinted when the glyph was measured. A glyph is nearly always measured before
    // its ink is asked for, and hinting, which runs the face's own programs, is most of loading
    // it: the ink is rendered from this copy rather than from a second load.
    FT_Glyph hinted = nullptr;
  };

  ScaledFont() = default;
  ScaledFont(const ScaledFont&) = delete;
  ScaledFont& operator=(const ScaledFont&) = delete;
  ~ScaledFont() {
    for (const Glyph& glyph : glyphs) {
      if (glyph.hinted != nullptr) FT_Done_Glyph(glyph.hinted);
    }
  }

  LoadedFace* face;
  int em;
  FT_Size size;
  InkReach reach;
  std::array<Glyph, 256> glyphs{};
  std::size_t inkBytes = 0;
  std::uint64_t lastUse = 0;

  // A size keeps the ink of the glyphs it draws while its ink is within the whole cache's budget;
  // beyond it, which only the largest sizes reach, further glyphs are rendered each time.
  bool CachesInk() const { return inkBytes < kInkBudgetBytes; }

  // Loads the byte's glyph into the face's slot at this size; false leaves the glyph empty.
  bool Load(std::uint8_t byte, FT_Int32 flags) {
    if (FT_Activate_Size(size) != 0) return false;
    const FT_UInt index = FT_Get_Char_Index(face->face, CodePointOf(byte));
    if (FT_Load_Glyph(face->face, index, FT_LOAD_TARGET_MONO | flags) != 0) return false;
    Glyph& glyph = glyphs[byte];
    if (glyph.advance < 0) glyph.advance = WholePixels(face->face->glyph->advance.x);
    if ((flags & FT_LOAD_RENDER) == 0 && glyph.hinted == nullptr && FT_Get_Glyph(face->face->glyph, &glyph.hinted) != 0)
      glyph.hinted = nullptr;
    return true;
  }

  // Renders the byte's glyph as a load with FT_LOAD_RENDER would, and traces its ink.
  void RenderInk(std::uint8_t byte, int quarterTurns, GlyphMask& ink) {
    const FT_Glyph hinted = glyphs[byte].hinted;
    if (hinted == nullptr) {
      if (Load(byte, FT_LOAD_RENDER)) {
        const FT_GlyphSlot slot = face->face->glyph;
        TraceInk(slot->bitmap, slot->bitmap_left, slot->bitmap_top, quarterTurns, ink);
      }
      return;
    }
    FT_Glyph rendered = hinted;
    if (FT_Glyph_To_Bitmap(&rendered, FT_RENDER_MODE_MONO, nullptr, 0) != 0) return;
    const auto* bitmap = reinterpret_cast<const FT_BitmapGlyphRec*>(rendered);
    TraceInk(bitmap->bitmap, bitmap->left, bitmap->top, quarterTurns, ink);
    FT_Done_Glyph(rendered);
  }
};

namespace {

class FontEngine {
 public:
  FontEngine() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FontEngine() {
    fonts_.clear();  // their glyphs' outlines belong to the library
    if (library_ != nullptr) FT_Done_FreeType(library_);  // with every face and size it made
    if (config_ != nullptr) FcConfigDestroy(config_);
  }
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  std::mutex& Mutex() { return mutex_; }
  GlyphMask& Scratch() { return scratch_; }
  void AddInk(std::size_t bytes) { inkBytes_ += bytes; }

  LoadedFace* FaceFor(const FontDescription& font) {
    FaceChoice key{};
    const std::size_t nameLength = strnlen(font.lfFaceName, sizeof font.lfFaceName);
    std::memcpy(key.name.data(), font.lfFaceName, nameLength);
    key.weight = font.lfWeight <= 0 ? kNormalWeight : std::min(font.lfWeight, 1000);
    key.italic = font.lfItalic != 0;
    for (const FaceChoice& choice : choices_) {
      if (choice.name == key.name && choice.weight == key.weight && choice.italic == key.italic) {
        return choice.face;
      }
    }

    std::string family;
    for (std::size_t i = 0; i < nameLength; ++i) {
      AppendWindows1252AsUtf8(family, static_cast<std::uint8_t>(key.name[i]));
    }
    key.face = Resolve(family.empty() ? kDefaultFamily : family.c_str(), key.weight, key.italic);
    if (key.face == nullptr && !family.empty()) key.face = Resolve(kDefaultFamily, key.weight, key.italic);
    if (choices_.size() >= kMaxFaceChoices) choices_.clear();
    choices_.push_back(key);
    return key.face;
  }

  // What a description comes to: its size, and its scaled font (null when no face can be loaded).
  struct Resolution {
    FontSize size;
    ScaledFont* font;
  };

  // The runs of a picture mostly share one font, so a request is first compared with the one
  // before it. (A size is dropped only while a new request is resolved, which then becomes the
  // one kept: the answer kept is never a dropped size.)
  Resolution ResolutionFor(const FontDescription& description) {
    static_assert(std::has_unique_object_representations_v<FontDescription>, "compared byte for byte");
    if (last_ && std::memcmp(&last_->description, &description, sizeof description) == 0) {
      if (last_->resolution.font != nullptr) last_->resolution.font->lastUse = ++clock_;
      return last_->resolution;
    }
    LoadedFace* face = FaceFor(description);
    const FontSize size = SizeFor(description.lfHeight, face != nullptr ? face->metrics : kNominalMetrics);
    const Resolution resolution{size, face != nullptr ? ScaledFontFor(face, size.em) : nullptr};
    last_ = LastRequest{description, resolution};
    return resolution;
  }

  ScaledFont* ScaledFontFor(LoadedFace* face, int em) {
    ScaledFont* found = nullptr;
    for (const auto& font : fonts_) {
      if (font->face == face && font->em == em) found = font.get();
    }
    if (found == nullptr) found = MakeScaledFont(face, em);
    if (found != nullptr) {
      found->lastUse = ++clock_;
      Trim(found);
    }
    return found;
  }

 private:
  // fontconfig's configuration, loaded the first time a request is not answered by the cache of
  // choices: loading it is most of a fresh process's first picture.
  FcConfig* Config() {
    if (!configLoaded_) {
      config_ = FcInitLoadConfigAndFonts();
      configLoaded_ = true;
    }
    return config_;
  }

  LoadedFace* Resolve(const char* family, int weight, bool italic) {
    if (library_ == nullptr) return nullptr;
    if (const std::optional<FontFile> remembered = choiceCache_.Find(family, weight, italic)) {
      if (LoadedFace* face = FaceAt(remembered->path, remembered->index)) return face;
    }
    FcConfig* config = Config();
    if (config == nullptr) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return nullptr;

    LoadedFace* face = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      const FontFile chosen{reinterpret_cast<const char*>(file), index};
      face = FaceAt(chosen.path, chosen.index);
      if (face != nullptr) choiceCache_.Remember(config, family, weight, italic, chosen);
    }
    FcPatternDestroy(match);
    return face;
  }

  LoadedFace* FaceAt(const std::string& path, int index) {
    for (const auto& face : faces_) {
      if (face->path == path && face->index == index) return face.get();
    }
    auto loaded = std::make_unique<LoadedFace>(LoadedFace{path, index, nullptr, kNominalMetrics});
    if (FT_New_Face(library_, path.c_str(), index, &loaded->face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(loaded->face)) {
      FT_Done_Face(loaded->face);
      return nullptr;
    }
    loaded->metrics = MetricsOf(loaded->face);
    faces_.push_back(std::move(loaded));
    return faces_.back().get();
  }

  ScaledFont* MakeScaledFont(LoadedFace* face, int em) {
    FT_Size size = nullptr;
    if (FT_New_Size(face->face, &size) != 0) return nullptr;
    if (FT_Activate_Size(size) != 0 || FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(em)) != 0) {
      FT_Done_Size(size);
      return nullptr;
    }
    // The face's bounding box, widened by two pixels each way for hinting's moves.
    const FT_BBox& box = face->face->bbox;
    const double scale = static_cast<double>(em) / face->metrics.unitsPerEm;
    auto reach = [&](FT_Pos units) {
      return static_cast<int>(std::clamp(std::ceil(units * scale), 0.0, 16.0 * kMaxFontPixels)) + 2;
    };
    auto font = std::make_unique<ScaledFont>();
    font->face = face;
    font->em = em;
    font->size = size;
    font->reach = InkReach{reach(-box.xMin), reach(box.xMax), reach(box.yMax), reach(-box.yMin)};
    fonts_.push_back(std::move(font));
    return fonts_.back().get();
  }

  // Drops the least recently used sizes, never `current`, until the cache is within its bounds.
  void Trim(const ScaledFont* current) {
    while (fonts_.size() > kMaxScaledFonts || (inkBytes_ > kInkBudgetBytes && fonts_.size() > 1)) {
      auto oldest = fonts_.end();
      for (auto it = fonts_.begin(); it != fonts_.end(); ++it) {
        if (it->get() != current && (oldest == fonts_.end() || (*it)->lastUse < (*oldest)->lastUse)) oldest = it;
      }
      if (oldest == fonts_.end()) return;
      inkBytes_ -= (*oldest)->inkBytes;
      FT_Done_Size((*oldest)->size);
      fonts_.erase(oldest);
    }
  }

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  FcConfig* config_ = nullptr;
  bool configLoaded_ = false;
  FontChoiceCache choiceCache_;
  std::vector<std::unique_ptr<LoadedFace>> faces_;
  std::vector<FaceChoice> choices_;
  std::vector<std::unique_ptr<ScaledFont>> fonts_;
  std::size_t inkBytes_ = 0;
  std::uint64_t clock_ = 0;
  GlyphMask scratch_;
  struct LastRequest {
    FontDescription description;
    Resolution resolution;
  };
  std::optional<LastRequest> last_;
};

FontEngine& Engine() {
  static FontEngine engine;
  return engine;
}

// The surface's default font: the sans face with a 16-pixel cell.
constexpr FontDescription kDefaultFont = [] {
  FontDescription font{};
  font.lfHeight = kDefaultCellHeight;
  font.lfWeight = kNormalWeight;
  return font;
}();

constexpr InkReach kNoReach{0, 0, 0, 0};

}  // namespace

FontLease::FontLease(const std::optional<FontDescription>& font) : lock_(Engine().Mutex()) {
  const auto [size, scaled] = Engine().ResolutionFor(font ? *font : kDefaultFont);
  cellHeight_ = size.cell;
  ascent_ = size.ascent;
  emHeight_ = size.em;
  font_ = scaled;
}

const InkReach& FontLease::Reach() const { return font_ != nullptr ? font_->reach : kNoReach; }

int FontLease::Advance(std::uint8_t byte) {
  if (font_ == nullptr) return 0;
  ScaledFont::Glyph& glyph = font_->glyphs[byte];
  if (glyph.advance < 0 && !font_->Load(byte, FT_LOAD_DEFAULT)) glyph.advance = 0;
  return glyph.advance;
}

const GlyphMask& FontLease::Ink(std::uint8_t byte, int quarterTurns) {
  static const GlyphMask kNoInk;
  if (font_ == nullptr) return kNoInk;
  FontEngine& engine = Engine();
  const int turn = quarterTurns & 3;
  ScaledFont::Glyph& glyph = font_->glyphs[byte];
  const bool caches = font_->CachesInk();
  if (caches && glyph.traced[turn]) return glyph.ink[turn];

  GlyphMask& ink = caches ? glyph.ink[turn] : engine.Scratch();
  ink = GlyphMask{};
  font_->RenderInk(byte, turn, ink);
  if (caches) {
    glyph.traced[turn] = true;
    const std::size_t bytes = ink.words.capacity() * sizeof(std::uint64_t);
    font_->inkBytes += bytes;
    engine.AddInk(bytes);
  }
  return ink;
}

}  // namespace varnel
