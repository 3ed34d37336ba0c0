// The SVG export: drawn by librsvg and by headless Chromium, it shows the picture our BMP shows (bars
// and frames to the pixel, text in the same places), at the physical size the screen resolution
// gives it, and any data or face name gives a document both accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/settings.h"
#include "drawing/surface.h"
#include "platform/font_engine.h"
#include "support/png_reader.h"
#include "support/render_harness.h"
#include "support/svg_renderers.h"
#include "varnel32.h"
#include "writers/svg_file.h"

namespace varnel {
namespace {

using testing::Bitmap;

struct Picture {
  const char* name;
  int symbology;
  const char* data;
  int orientation;
  int frame;
  int supplementKind = 0;
  const char* supplement = "";
};

// Every symbol family's way of drawing: plain bars, EAN/UPC guards and an add-on with their text
// between the bars, postal bars of two heights.
const std::vector<Picture> kPictures = {
    {"Code 39", kCode39, "HELLO 12", 0, kDashedFrame},   {"Code 39 turned", kCode39, "HELLO 12", 1, kSolidFrame},
    {"Code 128", kCode128, "Varnel-32", 2, kNoFrame},    {"Code 93", kCode93, "ABC-123", 3, kDashedFrame},
    {"EAN-13", kEan13, "590123412345", 0, kSolidFrame, kSupplement5, "52495"},
    {"UPC-E turned", kUpcE, "04210000526", 3, kNoFrame, kSupplement2, "12"},
    {"POSTNET", kPostnet, "55555", 1, kNoFrame},
};

void Apply(const Picture& p) {
  testing::ResetLibrary();
  VnSetSize(420, 420);
  VnBasicInfo(p.symbology, 0, 0, p.orientation, p.frame);
  VnSetMessage(p.data);
  VnSupplementInfo(p.supplementKind, p.supplement, 0);
}

struct Saved {
  std::string svg;
  Bitmap bmp;
};

Saved SaveBoth(const testing::TempDir& folder, const std::string& name) {
  Saved saved{folder.File(name + ".svg"), {}};
  EXPECT_EQ(VnSaveAsSVG(saved.svg.c_str()), 1) << name;
  const std::string bmp = folder.File(name + ".bmp");
  EXPECT_EQ(VnSaveAsBMP(bmp.c_str()), 1) << name;
  saved.bmp = testing::ReadBmp(bmp).value_or(Bitmap{});
  return saved;
}

int DifferingPixels(const Bitmap& a, const Bitmap& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int differing = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) differing += a.rgb[i] != b.rgb[i] ? 1 : 0;
  return differing;
}

// Dark pixels of `a` with no dark pixel of `b` within `reach` cells either way. Glyphs drawn from
// the same face at the same size and pen positions, one hinted for one bit and one smoothed, differ
// by up to two pixels at their edges, with a few stray pixels beyond: fewer than the font's height
// in all. A font named by its cell height instead of its em, another face, or text in another place
// leaves many times that unmatched.
int UnmatchedDarkPixels(const Bitmap& a, const Bitmap& b, int reach) {
  int unmatched = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!testing::IsDark(a, x, y)) continue;
      bool matched = false;
      for (int dy = -reach; dy <= reach && !matched; ++dy) {
        for (int dx = -reach; dx <= reach && !matched; ++dx) matched = testing::IsDark(b, x + dx, y + dy);
      }
      unmatched += matched ? 0 : 1;
    }
  }
  return unmatched;
}

struct SvgText {
  std::map<std::string, std::string> attributes;
  std::string content;
};

std::string Unescaped(std::string text) {
  static const std::vector<std::pair<std::string, std::string>> kReferences = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [reference, character] : kReferences) {
    for (std::size_t at = 0; (at = text.find(reference, at)) != std::string::npos; at += character.size())
      text.replace(at, reference.size(), character);
  }
  return text;
}

std::vector<SvgText> TextsOf(const std::string& svg) {
  static const std::regex element(R"(<text([^>]*)>([^<]*)</text>)");
  static const std::regex attribute(R"(([-A-Za-z:]+)=\"([^\"]*)\")");
  std::vector<SvgText> texts;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
    SvgText text{{}, Unescaped((*it)[2].str())};
    const std::string attributes = (*it)[1].str();
    for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute); a != std::sregex_iterator(); ++a)
      text.attributes[(*a)[1].str()] = Unescaped((*a)[2].str());
    texts.push_back(text);
  }
  return texts;
}

std::string ReadText(const std::string& path) {
  const auto bytes = testing::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Windows-1252 as UTF-8, for the characters the tests use.
std::string Utf8(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0x80) {
      out += "\xE2\x82\xAC";  // the euro sign
    } else if (byte >= 0xA0) {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    } else {
      out += c;
    }
  }
  return out;
}

TEST(SvgOutput, BarsAndFramesMatchTheBmpPixelForPixel) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  testing::TempDir folder;
  for (const Picture& p : kPictures) {
    Apply(p);
    VnTextInfo(0, 0, 0);
    const Saved saved = SaveBoth(folder, p.name);
    const auto drawn = testing::RenderWithRsvg(saved.svg);
    ASSERT_TRUE(drawn.picture.has_value()) << p.name << ": " << drawn.errors;
    EXPECT_EQ(drawn.picture->width, 420) << p.name;
    EXPECT_EQ(drawn.picture->height, 420) << p.name;
    EXPECT_EQ(DifferingPixels(*drawn.picture, saved.bmp), 0) << p.name;
  }
}

TEST(SvgOutput, TextStandsWhereTheRasterPutsItInTheSameFontAndSize) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  testing::TempDir folder;
  for (const Picture& p : kPictures) {
    for (const int fontHeight : {16, 24, 40}) {
      Apply(p);
      VnFontInfo("Arial", fontHeight);
      const std::string name = std::string(p.name) + " " + std::to_string(fontHeight);
      const Saved saved = SaveBoth(folder, name);
      const auto drawn = testing::RenderWithRsvg(saved.svg);
      ASSERT_TRUE(drawn.picture.has_value()) << name << ": " << drawn.errors;
      EXPECT_LT(UnmatchedDarkPixels(*drawn.picture, saved.bmp, 2), fontHeight) << name;
      EXPECT_LT(UnmatchedDarkPixels(saved.bmp, *drawn.picture, 2), fontHeight) << name;
    }
  }
}

TEST(SvgOutput, TextWiderThanItsBoxIsClippedToIt) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  testing::TempDir folder;
  for (const int orientation : {0, 1, 2, 3}) {
    testing::ResetLibrary();
    VnSetSize(300, 300);
    VnBasicInfo(kCode39, 0, 0, orientation, kNoFrame);
    VnSetMessage("WWWW");
    VnFontInfo("Arial", 60);  // the text is about twice as long as the symbol
    const std::string svg = folder.File("wide" + std::to_string(orientation) + ".svg");
    ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
    const auto drawn = testing::RenderWithRsvg(svg);
    ASSERT_TRUE(drawn.picture.has_value()) << drawn.errors;
    const Bitmap upright = testing::Unrotate(*drawn.picture, orientation);

    // Ink beside the bars' columns could only be text that escaped its box.
    int firstBar = upright.width, lastBar = -1;
    const int barRow = upright.height / 2 - 40;
    for (int x = 0; x < upright.width; ++x) {
      if (!testing::IsDark(upright, x, barRow)) continue;
      firstBar = std::min(firstBar, x);
      lastBar = x;
    }
    ASSERT_LT(firstBar, lastBar) << orientation;
    int escaped = 0, inside = 0;
    for (int y = 0; y < upright.height; ++y) {
      for (int x = 0; x < upright.width; ++x) {
        if (!testing::IsDark(upright, x, y)) continue;
        (x < firstBar || x > lastBar ? escaped : inside) += 1;
      }
    }
    EXPECT_EQ(escaped, 0) << orientation;
    EXPECT_GT(inside, 0) << orientation;
  }
}

// Chromium too; a transparent background shows the white page, where the boxes behind the text
// clear the bars beneath them as the BMP's white boxes cover them.
TEST(SvgOutput, ChromiumShowsThePictureOurBmpShows) {
  if (!testing::HaveCommand("chromium")) GTEST_SKIP() << "chromium is not installed";
  testing::TempDir folder;
  for (const Picture& p : {kPictures[0], kPictures[4], kPictures[5]}) {
    for (const int variant : {0, 1, 2}) {
      const bool text = variant != 0, transparent = variant == 2;
      constexpr int kFontHeight = 24;
      Apply(p);
      VnTextInfo(text ? 1 : 0, 0, 0);
      VnFontInfo("Arial", kFontHeight);
      VnSetTransparentBackground(transparent ? 1 : 0);
      const std::string name = std::string(p.name) + (text ? " text" : "") + (transparent ? " transparent" : "");
      const Saved saved = SaveBoth(folder, name);
      const auto shown = testing::ScreenshotWithChromium(saved.svg, 420, 420, folder.path());
      ASSERT_TRUE(shown.picture.has_value()) << name << ": " << shown.errors;
      ASSERT_EQ(shown.picture->width, 420) << name;
      ASSERT_EQ(shown.picture->height, 420) << name;
      if (text) {
        EXPECT_LT(UnmatchedDarkPixels(*shown.picture, saved.bmp, 2), kFontHeight) << name;
        EXPECT_LT(UnmatchedDarkPixels(saved.bmp, *shown.picture, 2), kFontHeight) << name;
      } else {
        EXPECT_EQ(DifferingPixels(*shown.picture, saved.bmp), 0) << name;
      }
    }
  }
}

TEST(SvgOutput, ColoursAreExactAndTheFrameIsInThePensBlack) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  testing::TempDir folder;
  testing::ResetLibrary();
  VnSetBarColor(0x12, 0x80, 0xFE);
  VnSetBackColor(0xFD, 0xF0, 0x0A);
  VnBasicInfo(kCode39, 0, 0, 0, kSolidFrame);
  VnSetMessage("A");
  const std::string svg = folder.File("colours.svg");
  ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
  const auto drawn = testing::RenderWithRsvg(svg);
  ASSERT_TRUE(drawn.picture.has_value()) << drawn.errors;
  const Bitmap& picture = *drawn.picture;
  // The bars' start: '*' opens with a narrow bar at the symbol's left edge, in rows 62 to 117.
  const int left = (300 - 26 - 26 - 24) / 2;
  EXPECT_EQ(picture.rgb[90 * 300 + left], 0x1280FEu);
  EXPECT_EQ(picture.rgb[90 * 300 + left - 1], 0xFDF00Au);
  EXPECT_EQ(picture.rgb[0], 0x000000u);
  EXPECT_EQ(picture.rgb[199 * 300 + 299], 0x000000u);
  const auto texts = TextsOf(ReadText(svg));
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].attributes.at("fill"), "#1280fe");
}

// The attributes of the document's <svg> element.
std::map<std::string, std::string> RootAttributes(const std::string& svg) {
  std::smatch root;
  if (!std::regex_search(svg, root, std::regex(R"(<svg([^>]*)>)"))) return {};
  static const std::regex attribute(R"(([-A-Za-z:]+)=\"([^\"]*)\")");
  const std::string attributes = root[1].str();
  std::map<std::string, std::string> found;
  for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute); a != std::sregex_iterator(); ++a)
    found[(*a)[1].str()] = (*a)[2].str();
  return found;
}

// The view box is the pixel grid and the width and height the picture's size at the screen's
// resolution, each side at its own. Worked by hand: 300 pixels at 96 dpi are 3.125 inches, 79.375 mm,
// and 200 are 52.91666 mm, cut to 52.916; 1300 at 150 dpi are 220.1333 mm and 1000 at 120 are
// 211.6666; 5 at 72 are 1.763888. 108 at 96 are 28.575 mm exactly, but 28.575 in single precision is
// 28.5750008, a hair over 108 pixels again, so the length is a unit less. At 100000 dpi a unit of
// 0.001 mm is 3.9 pixels: 7 pixels, 0.001778 mm, keep five decimals.
TEST(SvgOutput, WidthAndHeightAreThePictureAtTheScreenResolutionInMillimetres) {
  struct Case {
    int width, height, dpiX, dpiY;
    const char* widthText;
    const char* heightText;
  };
  const Case cases[] = {
      {300, 200, 96, 96, "79.375mm", "52.916mm"},     {1300, 1000, 150, 120, "220.133mm", "211.666mm"},
      {108, 108, 96, 96, "28.574mm", "28.574mm"},     {7, 5, 100000, 72, "0.00177mm", "1.763mm"},
  };
  testing::TempDir folder;
  for (const Case& c : cases) {
    testing::ResetLibrary();
    VnSetScreenResolution(c.dpiX, c.dpiY);
    VnSetSize(c.width, c.height);
    const std::string svg = folder.File("size.svg");
    ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
    const auto root = RootAttributes(ReadText(svg));
    const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height);
    EXPECT_EQ(root.at("width"), c.widthText) << what;
    EXPECT_EQ(root.at("height"), c.heightText) << what;
    EXPECT_EQ(root.at("viewBox"), "0 0 " + std::to_string(c.width) + " " + std::to_string(c.height)) << what;
    EXPECT_EQ(root.at("preserveAspectRatio"), "none") << what;
  }
  testing::ResetLibrary();
}

// librsvg, told the resolution, draws the document at exactly the picture's pixels and shows the
// BMP's bars and frames on them, at equal and unequal resolutions and sizes that are no whole number
// of millimetres; at its own 96 dpi it draws the physical size, fewer pixels for a finer resolution.
TEST(SvgOutput, RsvgDrawsThePhysicalSizeAsThePicturesPixels) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  struct Case {
    int width, height, dpiX, dpiY;
  };
  const Case cases[] = {{301, 199, 96, 96}, {108, 333, 96, 96}, {420, 333, 150, 120}, {250, 600, 300, 72}};
  testing::TempDir folder;
  int number = 0;
  for (const Case& c : cases) {
    for (const Picture& p : {kPictures[0], kPictures[1], kPictures[4]}) {
      const std::string name = std::to_string(++number);
      Apply(p);
      VnTextInfo(0, 0, 0);
      VnSetScreenResolution(c.dpiX, c.dpiY);
      VnSetSize(c.width, c.height);
      const Saved saved = SaveBoth(folder, name);
      const auto drawn = testing::RenderWithRsvg(saved.svg, c.dpiX, c.dpiY);
      ASSERT_TRUE(drawn.picture.has_value()) << name << ": " << drawn.errors;
      EXPECT_EQ(drawn.picture->width, c.width) << name;
      EXPECT_EQ(drawn.picture->height, c.height) << name;
      EXPECT_EQ(DifferingPixels(*drawn.picture, saved.bmp), 0) << p.name << " " << c.width << " x " << c.height;

      const auto at96 = testing::RenderWithRsvg(saved.svg);
      ASSERT_TRUE(at96.picture.has_value()) << name << ": " << at96.errors;
      EXPECT_NEAR(at96.picture->width, c.width * 96.0 / c.dpiX, 1.0) << name;
      EXPECT_NEAR(at96.picture->height, c.height * 96.0 / c.dpiY, 1.0) << name;
    }
  }
  testing::ResetLibrary();
}

// With a transparent background librsvg sees through exactly the pixels the PNG leaves clear: bars
// and frames in every orientation. With text, the glyphs stand where the raster puts them and no
// box is left behind them: nothing opaque is in the background colour.
TEST(SvgOutput, ATransparentBackgroundIsClearWhereThePngIsClear) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  testing::TempDir folder;
  for (const Picture& p : kPictures) {
    for (const bool text : {false, true}) {
      const std::string name = std::string(p.name) + (text ? " text" : "");
      Apply(p);
      VnTextInfo(text ? 1 : 0, 0, 0);
      VnSetTransparentBackground(1);
      const Saved saved = SaveBoth(folder, name);
      const std::string png = folder.File(name + ".png");
      ASSERT_EQ(VnSaveAsPNG(png.c_str()), 1) << name;
      const auto clear = testing::ReadPng(png);
      const auto drawn = testing::RenderWithRsvg(saved.svg);
      ASSERT_TRUE(clear.has_value()) << name;
      ASSERT_TRUE(drawn.picture.has_value()) << name << ": " << drawn.errors;
      ASSERT_EQ(drawn.alpha.size(), clear->alpha.size()) << name;
      int seen = 0, opaqueBackground = 0, differing = 0;
      for (std::size_t i = 0; i < drawn.alpha.size(); ++i) {
        seen += drawn.alpha[i] == 0 ? 1 : 0;
        opaqueBackground += drawn.alpha[i] == 255 && drawn.picture->rgb[i] == 0xFFFFFF ? 1 : 0;
        differing += drawn.alpha[i] != clear->alpha[i] ? 1 : 0;
      }
      EXPECT_GT(seen, 420 * 420 / 2) << name;
      EXPECT_EQ(opaqueBackground, 0) << name;
      if (text) {
        EXPECT_LT(UnmatchedDarkPixels(*drawn.picture, saved.bmp, 2), 24) << name;
        EXPECT_LT(UnmatchedDarkPixels(saved.bmp, *drawn.picture, 2), 24) << name;
      } else {
        EXPECT_EQ(differing, 0) << name;
      }
    }
  }
}

TEST(SvgOutput, AnyDataAndFaceNameGiveADocumentThatCarriesThem) {
  if (!testing::HaveCommand("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
  struct Case {
    const char* data;
    const char* face;
  };
  const Case cases[] = {
      {"a<b>&c\"d'e", "Arial"},
      {"caf\xE9 \x80 5", "It's \"Sans\" & <co>"},
      {"two  spaces ", "Back\\slash"},
      {"ctrl\x01\x1Fz", "Tab\tFace"},
  };
  testing::TempDir folder;
  int number = 0;
  for (const Case& c : cases) {
    testing::ResetLibrary();
    VnSetSize(600, 200);
    VnBasicInfo(kCode128, 0, 0, 0, kNoFrame);
    VnSetMessage(c.data);
    VnFontInfo(c.face, 20);
    const std::string svg = folder.File("data" + std::to_string(++number) + ".svg");
    ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1) << c.data;
    const auto drawn = testing::RenderWithRsvg(svg);
    EXPECT_TRUE(drawn.picture.has_value()) << c.data << ": " << drawn.errors;

    std::string carried;
    for (const char ch : std::string(c.data)) {
      if (static_cast<unsigned char>(ch) >= 0x20) carried += ch;
    }
    const auto texts = TextsOf(ReadText(svg));
    ASSERT_EQ(texts.size(), 1u) << c.data;
    EXPECT_EQ(texts[0].content, Utf8(carried));
    EXPECT_EQ(texts[0].attributes.at("xml:space"), "preserve");
    // One position per character carried: a character's place never shifts to another.
    const std::string& x = texts[0].attributes.at("x");
    EXPECT_EQ(static_cast<std::size_t>(std::count(x.begin(), x.end(), ' ')) + 1, carried.size()) << c.data;
    EXPECT_NE(texts[0].attributes.at("font-family").find("sans-serif"), std::string::npos) << c.face;
  }
}

// Runs that go from one font to another and back: each run is set in its own font's size, its
// characters at its own font's advances.
TEST(SvgOutput, EachRunIsSetInItsOwnFont) {
  FontDescription large{}, small{};
  large.lfHeight = 48;
  small.lfHeight = 12;
  const FontDescription runFonts[] = {large, small, small, large};
  Surface surface(400, 200);
  for (std::size_t i = 0; i < std::size(runFonts); ++i) {
    surface.SelectFont(runFonts[i]);
    surface.ExtTextOut(Point{10 + 90 * static_cast<int>(i), 50}, 0, Rect{0, 0, 400, 200}, "WiW", 3);
  }
  const auto file = EncodeSvg(surface, ScreenResolution{96, 96}, std::nullopt);
  ASSERT_TRUE(file.has_value());
  const auto texts = TextsOf(std::string(file->begin(), file->end()));
  ASSERT_EQ(texts.size(), std::size(runFonts));
  for (std::size_t run = 0; run < texts.size(); ++run) {
    FontLease font(runFonts[run]);
    EXPECT_EQ(texts[run].attributes.at("font-size"), std::to_string(font.EmHeight())) << "run " << run;
    std::istringstream x(texts[run].attributes.at("x"));
    long w = 0, i = 0, w2 = 0;
    ASSERT_TRUE(x >> w >> i >> w2) << "run " << run;
    EXPECT_EQ(i - w, font.Advance('W')) << "run " << run;
    EXPECT_EQ(w2 - i, font.Advance('i')) << "run " << run;
  }
}

}  // namespace
}  // namespace varnel
