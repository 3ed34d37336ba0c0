// Code 39 and full ASCII: check characters, character sequences, printed text, and symbols that
// independent decoders read back in every orientation.
#include <gtest/gtest.h>

#include <string>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"

namespace varnel {
namespace {

class Code39Test : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  // Renders at one unit a narrow element and three a wide one, so every element is measurable.
  testing::Bitmap Render(int symbology, const char* data, int orientation = 0) {
    SetBasicInfo(context, symbology, 0.03, 3.0, orientation, 0);
    const int length = 16 * (static_cast<int>(std::string(data).size()) * 2 + 4);
    const int across = 120;
    if (orientation % 2 == 0) SetSize(context, length + 40, across); else SetSize(context, across, length + 40);
    SetMessage(context, data);
    return testing::RenderToBitmap(context);
  }

  // Element widths of the symbol, read from the middle of the bars.
  std::vector<int> Elements(const testing::Bitmap& bitmap) {
    return testing::ElementWidths(bitmap);
  }

  // The human-readable text of a render of the current settings, as printed.
  std::string Printed() { return testing::PrintedText(RenderToSurface(context)); }

  Context context;
};

// The published Code 39 characters as bar/space widths (1 narrow, 3 wide), bars first.
std::vector<int> Published(const std::string& characters) {
  static const std::pair<char, const char*> kPublished[] = {
      {'*', "131131311"}, {'C', "313113111"}, {'O', "311131131"}, {'D', "111133113"},
      {'E', "311133111"}, {'3', "313311111"}, {'9', "113311311"}, {'W', "333111111"},
      {'+', "131113131"}, {'A', "311113113"}, {'0', "111331311"}, {'8', "311311311"},
  };
  std::vector<int> widths;
  for (char c : characters) {
    for (const auto& [key, pattern] : kPublished) {
      if (key != c) continue;
      for (const char* p = pattern; *p != '\0'; ++p) widths.push_back(*p - '0');
      widths.push_back(1);  // inter-character gap
    }
  }
  widths.pop_back();  // no gap after the stop character
  return widths;
}

TEST_F(Code39Test, ElementsMatchThePublishedCharacters) {
  SetTextInfo(context, 0, 1, 0);
  EXPECT_EQ(Elements(Render(kCode39, "CODE39")), Published("*CODE39W*"));
  EXPECT_EQ(Elements(Render(kCode39Ascii, "a")), Published("*+A8*"));
  EXPECT_EQ(Elements(Render(kCode39, "")), Published("*0*"));
}

TEST_F(Code39Test, CheckCharacterIsTheSumOfValuesModulo43) {
  SetTextInfo(context, 1, 1, 1);
  struct Case { const char* data; const char* printed; };
  const Case cases[] = {
      {"CODE39", "CODE39W"},
      {"", "0"},
      {"Z4", "Z4$"},  // 35 + 4 = 39
      {"Z7", "Z7%"},  // 35 + 7 = 42, the last value
      {"Z1", "Z1-"},  // 36
      {"A*", "A*A"},  // '*' adds 43, nothing modulo 43
  };
  for (const Case& c : cases) {
    Render(kCode39, c.data);
    EXPECT_EQ(Printed(), c.printed) << c.data;
  }
}

TEST_F(Code39Test, CheckCharacterIsPrintedOnlyWhenAsked) {
  SetTextInfo(context, 1, 1, 0);
  const std::vector<int> withCheck = Elements(Render(kCode39, "CODE39"));
  EXPECT_EQ(Printed(), "CODE39");
  SetTextInfo(context, 1, 0, 1);
  const std::vector<int> withoutCheck = Elements(Render(kCode39, "CODE39"));
  EXPECT_EQ(Printed(), "CODE39");
  EXPECT_EQ(withCheck.size(), withoutCheck.size() + 10);
}

TEST_F(Code39Test, FullAsciiPrintsTabAndReturnAsSpacesAndDropsOtherControls) {
  SetTextInfo(context, 1, 1, 1);
  Render(kCode39Ascii, "A\tB\rC\x01" "D\x7F\xE9");
  // Sequences A, $I, B, $M, C, $A, D, %T (0xE9 has none): values sum to 284, 284 mod 43 = 26, 'Q'.
  EXPECT_EQ(Printed(), "A B CD\x7F\xE9Q");

  SetTextInfo(context, 1, 0, 0);
  Render(kCode39Ascii, "\x01\x02");  // nothing printable: the data itself is printed
  EXPECT_EQ(Printed(), "\x01\x02");
}

TEST_F(Code39Test, FullAsciiWritesEachByteAsItsPublishedSequence) {
  SetTextInfo(context, 0, 0, 0);
  struct Case { const char* data; const char* sequence; };
  const Case cases[] = {{"a", "+A"}, {"\x7F", "%T"}, {"@", "%V"}, {"`", "%W"}, {" ", " "}, {"/", "/O"}};
  for (const Case& c : cases) {
    const std::vector<int> ascii = Elements(Render(kCode39Ascii, c.data));
    const std::vector<int> plain = Elements(Render(kCode39, c.sequence));
    EXPECT_EQ(ascii, plain) << c.data;
  }
}

// Data and the text a decoder must return, for symbols drawn with and without a check character.
struct DecodeCase {
  int symbology;
  const char* data;
  int addCheckDigit;
  const char* decoded;
};

class Code39DecodeTest : public Code39Test, public ::testing::WithParamInterface<int> {};

TEST_P(Code39DecodeTest, DecodersReadTheDataBack) {
  const int orientation = GetParam();
  const DecodeCase cases[] = {
      {kCode39, "VARNEL-32", 0, "VARNEL-32"},
      {kCode39, "CODE39", 1, "CODE39W"},
      {kCode39Ascii, "Full ascii: a+b=c!", 0, "Full ascii: a+b=c!"},
  };
  for (const DecodeCase& c : cases) {
    SetTextInfo(context, 1, c.addCheckDigit, 0);
    const testing::Bitmap bitmap = testing::WithQuietZone(Render(c.symbology, c.data, orientation), 20);
    testing::ZxingOptions options;
    options.code39_extended = c.symbology == kCode39Ascii;
    const auto zxing = testing::DecodeWithZxing(bitmap, options);
    ASSERT_EQ(zxing.size(), 1u) << c.data << " orientation " << orientation;
    EXPECT_EQ(zxing[0].text, c.decoded) << "orientation " << orientation;
    if (c.symbology == kCode39) {  // zbar reads Code 39 but not its full-ASCII extension
      EXPECT_EQ(testing::DecodeWithZbar(bitmap), std::vector<std::string>{c.decoded}) << "orientation " << orientation;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, Code39DecodeTest, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace varnel
