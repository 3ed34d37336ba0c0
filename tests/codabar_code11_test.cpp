// Codabar and Code 11: the symbols read back from the BMP's pixels against the published character
// patterns, their check characters, their printed text, and Codabar through zbar and ZXing-C++.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"

namespace varnel {
namespace {

using testing::kScanNarrow;
using testing::kScanWide;

struct PublishedCharacter {
  char character;
  const char* elements;  // bar first, '1' a wide element, '0' a narrow one
};

// Codabar as published: four bars and three spaces per character.
constexpr PublishedCharacter kPublishedCodabar[] = {
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
};

// Code 11 as published: three bars and two spaces; '*' stands for the start/stop character.
constexpr PublishedCharacter kPublishedCode11[] = {
    {'0', "00001"}, {'1', "10001"}, {'2', "01001"}, {'3', "11000"}, {'4', "00101"}, {'5', "10100"},
    {'6', "01100"}, {'7', "00011"}, {'8', "10010"}, {'9', "10000"}, {'-', "00100"}, {'*', "00110"},
};

template <std::size_t N>
std::string PatternOf(const PublishedCharacter (&table)[N], char c) {
  for (const PublishedCharacter& row : table) {
    if (row.character == c) return row.elements;
  }
  ADD_FAILURE() << "no published pattern for '" << c << "'";
  return "";
}

// The widths a reader expects for these characters: each character's elements, and one narrow space
// between neighbouring characters.
template <std::size_t N>
std::vector<int> ExpectedWidths(const PublishedCharacter (&table)[N], const std::string& characters) {
  std::vector<int> widths;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    if (i > 0) widths.push_back(kScanNarrow);
    const std::vector<int> character =
        testing::NarrowWideWidths(PatternOf(table, characters[i]), kScanNarrow, kScanWide);
    widths.insert(widths.end(), character.begin(), character.end());
  }
  return widths;
}

class CodabarCode11Test : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  Context context;
};

TEST_F(CodabarCode11Test, CodabarSymbolsMatchThePublishedPatternsAndWorkedCheckValues) {
  struct Case {
    const char* data;
    int start, stop;  // 0..3 for A..D
    int addCheckDigit;
    const char* symbol;  // start, data, check character, stop
  };
  const Case cases[] = {
      {"40156", 0, 1, 1, "A40156+B"},  // 16 + 17 + 16 = 49, 49 + 15 = 64
      {"", 0, 1, 1, "A+B"},            // 33, 33 + 15 = 48
      {"1234", 2, 3, 1, "C12341D"},    // 18 + 19 + 10 = 47, 47 + 1 = 48
      {"40156", 0, 2, 1, "A40156.C"},  // only the stop changed: 50, 50 + 14 = 64
      {"40156", 0, 1, 0, "A40156B"},
      {"0123456789-$:/.+", 3, 0, 0, "D0123456789-$:/.+A"},
  };
  for (const Case& c : cases) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kCodabar, orientation, c.addCheckDigit, 0);
      SetMessage(context, c.data);
      SetCodabarInfo(context, c.start, c.stop);
      const testing::Bitmap upright = testing::RenderUpright(context, orientation);
      const std::vector<int> expected = ExpectedWidths(kPublishedCodabar, c.symbol);
      EXPECT_EQ(testing::ElementWidths(upright), expected) << c.symbol << " orientation " << orientation;
      // The stop ends the symbol: no gap after it.
      EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, 0))
          << c.symbol << " orientation " << orientation;
    }
  }
}

TEST_F(CodabarCode11Test, CodabarLettersNeverSetDrawNothingAndCountNothing) {
  testing::ConfigureForScanning(context, kCodabar, 0, 1, 0);
  SetMessage(context, "1234");
  // Letters as a context holds them before its defaults are set: no setter leads back there.
  context.settings.codabarStart = 0;
  context.settings.codabarStop = 0;
  // The data alone sums to 10, so the check character is '6'; its gap now ends the symbol.
  const testing::Bitmap upright = testing::RenderUpright(context, 0);
  const std::vector<int> expected = ExpectedWidths(kPublishedCodabar, "12346");
  EXPECT_EQ(testing::ElementWidths(upright), expected);
  EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, kScanNarrow));
}

TEST_F(CodabarCode11Test, CodabarReadsBackWithZbarAndZxingInEveryOrientation) {
  for (const int addCheckDigit : {0, 1}) {
    const std::string data = addCheckDigit != 0 ? "40156+" : "40156";
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kCodabar, orientation, addCheckDigit, 0);
      SetMessage(context, "40156");
      const testing::Bitmap bitmap = testing::RenderToBitmap(context);
      EXPECT_EQ(testing::DecodeWithZbar(bitmap), std::vector<std::string>{"A" + data + "B"})
          << "orientation " << orientation;
      const std::vector<testing::Decoded> zxing = testing::DecodeWithZxing(bitmap);
      ASSERT_EQ(zxing.size(), 1u) << "orientation " << orientation;
      EXPECT_EQ(zxing[0].format, "Codabar");
      EXPECT_EQ(zxing[0].text, data) << "orientation " << orientation;
    }
  }
}

TEST_F(CodabarCode11Test, Code11SymbolsMatchThePublishedPatternsAndWorkedCheckValues) {
  struct Case {
    const char* data;
    int addCheckDigit;
    const char* symbol;  // '*' the start/stop character
  };
  const Case cases[] = {
      {"123-45", 1, "*123-455*"},                 // 5x1 + 4x2 + 10x3 + 3x4 + 2x5 + 1x6 = 71 = 6x11 + 5
      {"0123456789012", 1, "*0123456789012-*"},   // weights restart after 10: 274 = 24x11 + 10
      {"", 1, "*0*"},
      {"0123456789-", 0, "*0123456789-*"},
  };
  for (const Case& c : cases) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kCode11, orientation, c.addCheckDigit, 0);
      SetMessage(context, c.data);
      const testing::Bitmap upright = testing::RenderUpright(context, orientation);
      const std::vector<int> expected = ExpectedWidths(kPublishedCode11, c.symbol);
      EXPECT_EQ(testing::ElementWidths(upright), expected) << c.symbol << " orientation " << orientation;
      // The stop keeps the gap that follows every Code 11 character.
      EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, kScanNarrow))
          << c.symbol << " orientation " << orientation;
    }
  }
}

}  // namespace
}  // namespace varnel
