// Text in the one-bit raster: where a run's cell and ink land, in which colours, at which size,
// turned how, clipped to what; and that fonts are kept across renders.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <atomic>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/font_engine.h"
#include "writers/one_bit_raster.h"
#include "drawing/surface.h"
#include "support/simple_painter.h"
#include "varnel32.h"

namespace varnel {
namespace {

// The font engine's work, counted where it reaches FreeType: a face opened from a font file,
// and a glyph rendered.
std::atomic<int> facesMade{0};
std::atomic<int> glyphsRendered{0};

template <typename Function>
Function* Real(const char* name) {
  return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

}  // namespace
}  // namespace varnel

extern "C" FT_Error FT_New_Face(FT_Library library, const char* path, FT_Long index, FT_Face* face) {
  static auto* const real = varnel::Real<decltype(FT_New_Face)>("FT_New_Face");
  ++varnel::facesMade;
  return real(library, path, index, face);
}

extern "C" FT_Error FT_Load_Glyph(FT_Face face, FT_UInt index, FT_Int32 flags) {
  static auto* const real = varnel::Real<decltype(FT_Load_Glyph)>("FT_Load_Glyph");
  if ((flags & FT_LOAD_RENDER) != 0) ++varnel::glyphsRendered;
  return real(face, index, flags);
}

// A glyph measured first is rendered from the outline kept then.
extern "C" FT_Error FT_Glyph_To_Bitmap(FT_Glyph* glyph, FT_Render_Mode mode, const FT_Vector* origin, FT_Bool destroy) {
  static auto* const real = varnel::Real<decltype(FT_Glyph_To_Bitmap)>("FT_Glyph_To_Bitmap");
  ++varnel::glyphsRendered;
  return real(glyph, mode, origin, destroy);
}

namespace varnel {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr Palette kBlackOnWhite{kBlack, kWhite};

FontDescription Font(const char* face, int height, int escapement = 3600, int weight = 400, bool italic = false) {
  FontDescription font{};
  font.lfHeight = height;
  font.lfEscapement = escapement;
  font.lfOrientation = escapement;
  font.lfWeight = weight;
  font.lfItalic = italic ? 1 : 0;
  font.lfCharSet = 1;
  std::strncpy(font.lfFaceName, face, sizeof font.lfFaceName - 1);
  return font;
}

struct TextRun {
  std::string text;
  Point reference{100, 40};
  std::optional<FontDescription> font = Font("Arial", 24);
  unsigned align = kAlignCenterTop;
  unsigned options = kTextClipped;
  Rect clip{0, 0, 200, 120};
  COLORREF textColor = kBlack;
  COLORREF backColor = kWhite;
};

// A picture as palette indices, top row first.
struct Picture {
  int width;
  int height;
  std::vector<int> index;

  int At(int x, int y) const { return index[static_cast<std::size_t>(y) * width + x]; }
  friend bool operator==(const Picture&, const Picture&) = default;
};

Picture Rasterise(const Surface& surface, int clearIndex, const Palette& palette = kBlackOnWhite) {
  const int width = surface.Width(), height = surface.Height();
  std::vector<std::uint8_t> rows(OneBitRaster::RowBytes(width) * static_cast<std::size_t>(height));
  OneBitRaster raster(rows.data(), width, height);
  raster.Fill(Rect{0, 0, raster.Width(), raster.Height()}, clearIndex);
  testing::PaintOperationByOperation(surface, palette, raster);
  Picture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.index.push_back(raster.PixelIndex(x, y));
  }
  return picture;
}

// The run on a surface of its own, rasterised over a picture cleared to `clearIndex`. Over index 1
// (the background) only the ink shows as 0; over index 0 the cell shows as 1 around the ink.
Picture Draw(const TextRun& run, int clearIndex, const Palette& palette = kBlackOnWhite) {
  Surface surface(200, 120);
  surface.SetTextAlign(run.align);
  if (run.font) surface.SelectFont(*run.font);
  surface.SetTextColor(run.textColor);
  surface.SetBkColor(run.backColor);
  surface.ExtTextOut(run.reference, run.options, run.clip, run.text.data(), static_cast<int>(run.text.size()));
  return Rasterise(surface, clearIndex, palette);
}

Picture Ink(const TextRun& run) { return Draw(run, 1); }
Picture Cell(const TextRun& run) { return Draw(run, 0); }

// The bounding box of the pixels of one index; empty (left >= right) when there are none.
struct Bounds {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  int count = 0;
  bool Inside(const Rect& r) const {
    return count == 0 || (left >= r.left && top >= r.top && right <= r.right && bottom <= r.bottom);
  }
};

Bounds BoundsOf(const Picture& picture, int index) {
  Bounds b;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) != index) continue;
      b.left = std::min(b.left, x);
      b.top = std::min(b.top, y);
      b.right = std::max(b.right, x + 1);
      b.bottom = std::max(b.bottom, y + 1);
      ++b.count;
    }
  }
  return b;
}

bool InRect(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

Rect RectOf(const Bounds& b) { return Rect{b.left, b.top, b.right, b.bottom}; }

class TextRasterTest : public ::testing::Test {
 protected:
  void SetUp() override { VnSetDefault(); }
};

TEST_F(TextRasterTest, InkAndCellStayInsideTheClip) {
  TextRun whole{.text = "Clip 0123"};
  whole.options = 0;  // no clipping: the whole run
  const Picture wholeInk = Ink(whole);
  const Bounds wholeCell = BoundsOf(Cell(whole), 1);
  ASSERT_GT(BoundsOf(wholeInk, 0).count, 50);

  const Rect picture{0, 0, 200, 120};
  for (const Rect clip : {Rect{0, 0, 200, 120}, Rect{90, 0, 130, 120}, Rect{40, 50, 160, 55}, Rect{-500, -500, 100, 52},
                          Rect{150, 100, 900, 900}, Rect{300, 0, 400, 120}, Rect{120, 0, 80, 120}}) {
    SCOPED_TRACE(::testing::Message() << clip.left << "," << clip.top << "-" << clip.right << "," << clip.bottom);
    TextRun run = whole;
    run.options = kTextClipped;
    run.clip = clip;
    const Picture ink = Ink(run), cell = Cell(run);
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool visible = InRect(clip, x, y) && InRect(picture, x, y);
        const bool inked = wholeInk.At(x, y) == 0;
        const bool inCell = InRect(RectOf(wholeCell), x, y);
        // The clipped run is the whole run cut at the clip: nothing added, nothing moved.
        ASSERT_EQ(ink.At(x, y), visible && inked ? 0 : 1) << x << "," << y;
        // Over a dark picture the visible cell turns light except where the glyphs are.
        ASSERT_EQ(cell.At(x, y), visible && inCell && !inked ? 1 : 0) << x << "," << y;
      }
    }
  }
}

TEST_F(TextRasterTest, ColoursTakeTheNearerPaletteEntry) {
  const Palette navyOnCream{0x402000, 0xE0F0FF};
  TextRun run{.text = "Colour"};
  run.textColor = 0x101010;  // near the navy bars
  run.backColor = 0xFFFFFF;  // near the cream background
  const Picture ink = Draw(run, 1, navyOnCream), cell = Draw(run, 0, navyOnCream);
  const Bounds inkBounds = BoundsOf(ink, 0), cellBounds = BoundsOf(cell, 1);
  ASSERT_GT(inkBounds.count, 30);
  EXPECT_TRUE(inkBounds.Inside(RectOf(cellBounds)));

  // Swapped colours swap the two indices inside the cell and leave the outside alone.
  std::swap(run.textColor, run.backColor);
  const Picture swapped = Draw(run, 1, navyOnCream);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 200; ++x) {
      const int expected = InRect(RectOf(cellBounds), x, y) ? 1 - cell.At(x, y) : 1;
      ASSERT_EQ(swapped.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(TextRasterTest, CentredRunIsCentredOnTheReference) {
  // H is drawn with equal side bearings, so its ink is centred as well as its cell.
  for (const char* text : {"H", "HH", "HHH", "HHHHHHH"}) {
    for (const Point reference : {Point{100, 40}, Point{57, 13}}) {
      SCOPED_TRACE(::testing::Message() << text << " at " << reference.x << "," << reference.y);
      TextRun run{.text = text, .reference = reference};
      const Bounds cell = BoundsOf(Cell(run), 1), ink = BoundsOf(Ink(run), 0);
      EXPECT_EQ(cell.top, reference.y);
      EXPECT_NEAR((cell.left + cell.right) / 2.0, reference.x, 1.0);
      EXPECT_NEAR((ink.left + ink.right) / 2.0, reference.x, 1.0);
    }
  }
}

TEST_F(TextRasterTest, AlignmentPlacesTheCellAroundTheReference) {
  const Point reference{100, 60};
  TextRun run{.text = "Hx", .reference = reference};

  run.align = 0;  // left, top: a fresh surface's alignment
  Bounds cell = BoundsOf(Cell(run), 1);
  EXPECT_EQ(cell.left, reference.x);
  EXPECT_EQ(cell.top, reference.y);

  run.align = 2 | 8;  // right, bottom
  cell = BoundsOf(Cell(run), 1);
  EXPECT_EQ(cell.right, reference.x);
  EXPECT_EQ(cell.bottom, reference.y);

  run.align = 24;  // baseline: an H stands on the reference row
  run.text = "H";
  const Bounds ink = BoundsOf(Ink(run), 0);
  EXPECT_EQ(ink.bottom, reference.y);
  EXPECT_GE(ink.left, reference.x);
}

// The box the driver gives a run in each orientation: along the writing centred on the
// reference, across from the reference towards the run's bottom.
Rect TurnedCell(int turns, Point r, int width, int cell) {
  const int half = width / 2, rest = width - half;
  switch (turns) {
    case 0: return {r.x - half, r.y, r.x + rest, r.y + cell};
    case 1: return {r.x, r.y - rest, r.x + cell, r.y + half};
    case 2: return {r.x - rest, r.y - cell, r.x + half, r.y};
    default: return {r.x - cell, r.y - half, r.x, r.y + rest};
  }
}

TEST_F(TextRasterTest, TurnedRunsStayInTheirTurnedCell) {
  const Point reference{100, 60};
  TextRun upright{.text = "Turn 42", .reference = reference};
  const Bounds uprightCell = BoundsOf(Cell(upright), 1);
  const int width = uprightCell.right - uprightCell.left, height = uprightCell.bottom - uprightCell.top;
  const int uprightInk = BoundsOf(Ink(upright), 0).count;
  for (int turns = 0; turns < 4; ++turns) {
    SCOPED_TRACE(turns);
    TextRun run = upright;
    run.font = Font("Arial", 24, turns == 0 ? 3600 : 900 * turns);
    const Rect expected = TurnedCell(turns, reference, width, height);
    const Bounds cell = BoundsOf(Cell(run), 1), ink = BoundsOf(Ink(run), 0);
    EXPECT_EQ(RectOf(cell), expected);
    EXPECT_TRUE(ink.Inside(expected));
    EXPECT_EQ(ink.count, uprightInk);  // a quarter turn moves pixels, it neither adds nor loses any
  }
}

// Where the stem (the longest line) and the foot of an "L" lie in its ink box.
struct LShape {
  bool stemVertical;
  char stemSide;  // 'l', 'r', 't', 'b'
  char footSide;
};

LShape ShapeOfL(const Picture& ink) {
  const Bounds b = BoundsOf(ink, 0);
  std::vector<int> rows(ink.height), cols(ink.width);
  for (int y = 0; y < ink.height; ++y) {
    for (int x = 0; x < ink.width; ++x) {
      if (ink.At(x, y) == 0) ++rows[y], ++cols[x];
    }
  }
  int bestRow = b.top, bestCol = b.left;
  for (int y = b.top; y < b.bottom; ++y) if (rows[y] > rows[bestRow]) bestRow = y;
  for (int x = b.left; x < b.right; ++x) if (cols[x] > cols[bestCol]) bestCol = x;
  const char rowSide = bestRow - b.top < b.bottom - 1 - bestRow ? 't' : 'b';
  const char colSide = bestCol - b.left < b.right - 1 - bestCol ? 'l' : 'r';
  const bool stemVertical = cols[bestCol] > rows[bestRow];
  return stemVertical ? LShape{true, colSide, rowSide} : LShape{false, rowSide, colSide};
}

TEST_F(TextRasterTest, EscapementTurnsCounterClockwise) {
  // Upright, an L has its stem on the left and its foot at the bottom. Turned counter-clockwise a
  // quarter, it reads bottom to top with its top to the left: the stem lies along the bottom and
  // the foot on the right; and so on round.
  struct Case { int escapement; LShape shape; };
  for (const Case c : {Case{3600, {true, 'l', 'b'}}, Case{0, {true, 'l', 'b'}}, Case{900, {false, 'b', 'r'}},
                       Case{1800, {true, 'r', 't'}}, Case{2700, {false, 't', 'l'}}, Case{-900, {false, 't', 'l'}}}) {
    SCOPED_TRACE(c.escapement);
    const TextRun run{.text = "L", .reference = {100, 60}, .font = Font("Arial", 60, c.escapement)};
    const LShape shape = ShapeOfL(Ink(run));
    EXPECT_EQ(shape.stemVertical, c.shape.stemVertical);
    EXPECT_EQ(shape.stemSide, c.shape.stemSide);
    EXPECT_EQ(shape.footSide, c.shape.footSide);
  }
}

TEST_F(TextRasterTest, HeightFollowsThePlatformConvention) {
  for (const int height : {12, 24, 40, 64}) {
    SCOPED_TRACE(height);
    const TextRun cellRun{.text = "H", .font = Font("Arial", height)};
    const TextRun emRun{.text = "H", .font = Font("Arial", -height)};
    const Bounds cell = BoundsOf(Cell(cellRun), 1), capital = BoundsOf(Ink(cellRun), 0);
    const Bounds emCell = BoundsOf(Cell(emRun), 1), emCapital = BoundsOf(Ink(emRun), 0);
    // A positive height is the cell: ascent plus descent. A capital fills a half to three
    // quarters of it in any ordinary face.
    EXPECT_EQ(cell.bottom - cell.top, height);
    EXPECT_GE(capital.bottom - capital.top, height / 2);
    EXPECT_LE(capital.bottom - capital.top, height * 3 / 4);
    // A negative height is the em, which is smaller than the cell: the same number draws larger.
    EXPECT_GT(emCell.bottom - emCell.top, height);
    EXPECT_LT(emCell.bottom - emCell.top, height * 5 / 4 + 1);
    EXPECT_GE(emCapital.bottom - emCapital.top, capital.bottom - capital.top);
    EXPECT_GT(emCapital.count, capital.count);
  }
}

TEST_F(TextRasterTest, DefaultFontIsSansWithASixteenUnitCell) {
  const TextRun run{.text = "Invalid data", .font = std::nullopt};
  const Bounds cell = BoundsOf(Cell(run), 1), ink = BoundsOf(Ink(run), 0);
  EXPECT_EQ(cell.top, 40);
  EXPECT_EQ(cell.bottom - cell.top, 16);
  EXPECT_GT(ink.count, 40);
  EXPECT_TRUE(ink.Inside(RectOf(cell)));

  // A face name that is missing or names no installed face falls back to the same sans face.
  const Picture fallback = Ink(run);
  for (const char* face : {"", "No Such Face At All"}) {
    EXPECT_EQ(Ink(TextRun{.text = "Invalid data", .font = Font(face, 16)}), fallback) << '"' << face << '"';
  }
}

TEST_F(TextRasterTest, WeightAndItalicChooseTheFace) {
  const Bounds regular = BoundsOf(Ink(TextRun{.text = "Weight", .font = Font("Arial", 40)}), 0);
  const Bounds bold = BoundsOf(Ink(TextRun{.text = "Weight", .font = Font("Arial", 40, 3600, 700)}), 0);
  EXPECT_GT(bold.count, regular.count * 5 / 4);

  // An italic stroke leans right: its top ink lies right of its bottom ink.
  const Picture italic = Ink(TextRun{.text = "l", .font = Font("Arial", 60, 3600, 400, true)});
  const Bounds b = BoundsOf(italic, 0);
  auto rowCentre = [&](int y) {
    int sum = 0, n = 0;
    for (int x = 0; x < italic.width; ++x) {
      if (italic.At(x, y) == 0) sum += x, ++n;
    }
    return static_cast<double>(sum) / n;
  };
  EXPECT_GT(rowCentre(b.top), rowCentre(b.bottom - 1) + 3);
}

TEST_F(TextRasterTest, BytesAreWindows1252) {
  // 0x01 has no glyph in any face: it draws the face's missing-glyph box. The euro sign (0x80 in
  // Windows-1252) and e acute (0xE9, as in Latin-1) are real glyphs, each different.
  const Picture missing = Ink(TextRun{.text = "\x01"});
  const Picture euro = Ink(TextRun{.text = "\x80"});
  const Picture eAcute = Ink(TextRun{.text = "\xE9"});
  EXPECT_GT(BoundsOf(euro, 0).count, 20);
  EXPECT_NE(euro, missing);
  EXPECT_NE(eAcute, missing);
  EXPECT_NE(euro, eAcute);
  // The acute sits above the plain e's x-height.
  EXPECT_LT(BoundsOf(eAcute, 0).top, BoundsOf(Ink(TextRun{.text = "e"}), 0).top);
}

TEST_F(TextRasterTest, ExtremeRunsDrawInsideThePictureWithoutFailing) {
  std::string allBytes;
  for (int i = 0; i < 999; ++i) allBytes += static_cast<char>(i % 256);
  const Rect clip{20, 10, 180, 110};

  // An empty run has no cell and no ink.
  const Picture blank = Ink(TextRun{.text = ""});
  EXPECT_EQ(BoundsOf(blank, 0).count, 0);
  EXPECT_EQ(BoundsOf(Cell(TextRun{.text = ""}), 1).count, 0);

  for (const int height : {0, 1, -1, 7, INT_MAX, INT_MIN, INT_MIN + 1, 100000, -100000}) {
    for (const int escapement : {3600, 900, 1800, 2700, INT_MIN, INT_MAX, 450, -1}) {
      for (const Point reference : {Point{100, 60}, Point{INT_MIN, INT_MAX}, Point{INT_MAX, INT_MIN}}) {
        SCOPED_TRACE(::testing::Message() << height << " " << escapement << " " << reference.x);
        TextRun run{.text = allBytes, .reference = reference, .font = Font("Arial", height, escapement)};
        run.clip = clip;
        EXPECT_TRUE(BoundsOf(Ink(run), 0).Inside(clip));
        EXPECT_TRUE(BoundsOf(Cell(run), 1).Inside(clip));
      }
    }
  }
  // Height 0 is a default size: text of an ordinary height.
  const Bounds zero = BoundsOf(Cell(TextRun{.text = "H", .font = Font("Arial", 0)}), 1);
  EXPECT_GE(zero.bottom - zero.top, 8);
  EXPECT_LE(zero.bottom - zero.top, 40);
}

TEST_F(TextRasterTest, FontsAreKeptAcrossRenders) {
  Surface surface(200, 120);
  surface.SelectFont(Font("Liberation Serif", 30, 3600, 700, true));
  surface.SetTextAlign(kAlignCenterTop);
  surface.ExtTextOut(Point{100, 10}, kTextClipped, Rect{0, 0, 200, 120}, "Kept 1", 6);
  surface.SelectFont(Font("Liberation Serif", 30, 900, 700, true));
  surface.ExtTextOut(Point{20, 60}, kTextClipped, Rect{0, 0, 200, 120}, "Kept 2", 6);

  // Both runs share one face, made once at most (not at all if an earlier render made it).
  const int facesBefore = facesMade;
  const Picture first = Rasterise(surface, 1);
  EXPECT_LE(facesMade, facesBefore + 1);

  const int faces = facesMade, glyphs = glyphsRendered;
  const Picture second = Rasterise(surface, 1);
  EXPECT_EQ(facesMade, faces);
  EXPECT_EQ(glyphsRendered, glyphs);
  EXPECT_GT(glyphs, 0) << "the counting reaches FreeType: these glyphs were rendered in this process";
  EXPECT_EQ(second, first);
  EXPECT_GT(BoundsOf(second, 0).count, 100);
}

}  // namespace
}  // namespace varnel
