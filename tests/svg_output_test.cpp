// The SVG export: drawn by librsvg and by headless Chromium, it shows the picture our BMP shows (bars
// and frames to the pixel, text in the same places), and any data or face name gives a document
// both accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/render_harness.h"
#include "support/svg_renderers.h"
#include "varnel32.h"

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

TEST(SvgOutput, ChromiumShowsThePictureOurBmpShows) {
  if (!testing::HaveCommand("chromium")) GTEST_SKIP() << "chromium is not installed";
  testing::TempDir folder;
  for (const Picture& p : {kPictures[0], kPictures[4], kPictures[5]}) {
    for (const bool text : {false, true}) {
      constexpr int kFontHeight = 24;
      Apply(p);
      VnTextInfo(text ? 1 : 0, 0, 0);
      VnFontInfo("Arial", kFontHeight);
      const std::string name = std::string(p.name) + (text ? " text" : "");
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

}  // namespace
}  // namespace varnel
