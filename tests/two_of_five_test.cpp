// Interleaved and Matrix 2 of 5 and ITF-14: the symbols read back from the BMP's pixels against the
// published two-of-five code, the Interleaved check digit and pad, ITF-14's box of bearer bars and
// its range of wide widths, the printed digits, and Interleaved 2 of 5 and ITF-14 through zbar and
// ZXing-C++.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"
#include "varnel32.h"

namespace varnel {
namespace {

using testing::kScanNarrow;
using testing::kScanWide;

// The published two-of-five code: five elements weighing 1, 2, 4, 7 and 0 (parity), of which the two
// wide ones add up to the digit, 0 being written as 4 + 7.
std::string TwoOfFiveElements(char digit) {
  constexpr int kWeights[] = {1, 2, 4, 7, 0};
  const int value = digit == '0' ? 11 : digit - '0';
  for (int first = 0; first < 5; ++first) {
    for (int second = first + 1; second < 5; ++second) {
      if (kWeights[first] + kWeights[second] != value) continue;
      std::string elements(5, '0');
      elements[first] = elements[second] = '1';
      return elements;
    }
  }
  ADD_FAILURE() << "no two-of-five pattern for '" << digit << "'";
  return "";
}

std::vector<int> Widths(const std::string& narrowWide) {
  return testing::NarrowWideWidths(narrowWide, kScanNarrow, kScanWide);
}

void Append(std::vector<int>& widths, const std::vector<int>& more) {
  widths.insert(widths.end(), more.begin(), more.end());
}

// Interleaved 2 of 5: start (four narrow elements), each pair with the first digit in the bars and
// the second in the spaces, stop (wide bar, narrow space, narrow bar).
std::vector<int> InterleavedWidths(const std::string& digits) {
  std::vector<int> widths = Widths("0000");
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    const std::string bars = TwoOfFiveElements(digits[i]), spaces = TwoOfFiveElements(digits[i + 1]);
    for (int j = 0; j < 5; ++j) Append(widths, Widths({bars[j], spaces[j]}));
  }
  Append(widths, Widths("100"));
  return widths;
}

// Matrix 2 of 5: start, one character per digit (three bars, two spaces), stop, a narrow space
// between neighbouring characters; start and stop are a wide bar and four narrow elements.
std::vector<int> MatrixWidths(const std::string& digits) {
  constexpr char kStartStop[] = "10000";
  std::vector<int> widths = Widths(kStartStop);
  for (const char digit : digits) {
    widths.push_back(kScanNarrow);
    Append(widths, Widths(TwoOfFiveElements(digit)));
  }
  widths.push_back(kScanNarrow);
  Append(widths, Widths(kStartStop));
  return widths;
}

class TwoOfFiveTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  Context context;
};

TEST_F(TwoOfFiveTest, InterleavedSymbolsDrawAnEvenNumberOfDigitsWithTheWorkedCheckDigits) {
  struct Case {
    const char* data;
    int addCheckDigit;
    const char* drawn;
  };
  const Case cases[] = {
      {"123", 1, "1236"},      // 3x3 + 2 + 1x3 = 14
      {"123", 0, "0123"},      // padded to pairs
      {"1234", 1, "012348"},   // 4x3 + 3 + 2x3 + 1 + 0 = 22
      {"", 0, ""},             // start and stop only
      {"", 1, "00"},           // pad and check digit 0
      {"0123456789", 0, "0123456789"},
  };
  for (const Case& c : cases) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kInterleaved2of5, orientation, c.addCheckDigit, 0);
      SetMessage(context, c.data);
      const testing::Bitmap upright = testing::RenderUpright(context, orientation);
      const std::vector<int> expected = InterleavedWidths(c.drawn);
      EXPECT_EQ(testing::ElementWidths(upright), expected)
          << c.data << ' ' << c.addCheckDigit << " orientation " << orientation;
      EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, 0))
          << c.data << ' ' << c.addCheckDigit << " orientation " << orientation;
    }
  }
}

TEST_F(TwoOfFiveTest, InterleavedReadsBackWithZbarAndZxingInEveryOrientation) {
  struct Case {
    const char* data;
    int addCheckDigit;
    const char* decoded;
  };
  // 0123456 weighs 6x3 + 5 + 4x3 + 3 + 2x3 + 1 + 0 = 45, so its check digit is 5.
  for (const Case c : {Case{"1234567", 0, "01234567"}, Case{"123456", 1, "01234565"}}) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kInterleaved2of5, orientation, c.addCheckDigit, 0);
      SetMessage(context, c.data);
      const testing::Bitmap bitmap = testing::RenderToBitmap(context);
      EXPECT_EQ(testing::DecodeWithZbar(bitmap), std::vector<std::string>{c.decoded}) << "orientation " << orientation;
      testing::ZxingOptions options;
      options.validate_itf_checksum = c.addCheckDigit != 0;  // ZXing then checks our check digit too
      const std::vector<testing::Decoded> zxing = testing::DecodeWithZxing(bitmap, options);
      ASSERT_EQ(zxing.size(), 1u) << c.data << " orientation " << orientation;
      EXPECT_EQ(zxing[0].format, "ITF");
      EXPECT_EQ(zxing[0].text, c.decoded) << "orientation " << orientation;
    }
  }
}

TEST_F(TwoOfFiveTest, MatrixSymbolsMatchThePublishedPatternsAndIgnoreTheCheckSwitches) {
  for (const char* data : {"0123456789", ""}) {
    for (const int checkSwitches : {0, 1}) {
      for (int orientation = 0; orientation < 4; ++orientation) {
        testing::ConfigureForScanning(context, kMatrix2of5, orientation, checkSwitches, checkSwitches);
        SetMessage(context, data);
        const testing::Bitmap upright = testing::RenderUpright(context, orientation);
        const std::vector<int> expected = MatrixWidths(data);
        EXPECT_EQ(testing::ElementWidths(upright), expected)
            << '"' << data << "\" " << checkSwitches << " orientation " << orientation;
        // The stop is drawn like the start, with its gap.
        EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, kScanNarrow))
            << '"' << data << "\" " << checkSwitches << " orientation " << orientation;
        // With the text switched on, the digits are printed as they are, with no check digit.
        SetTextInfo(context, 1, checkSwitches, checkSwitches);
        EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), data);
      }
    }
  }
}

// ITF-14 of the GTIN 1540014128876: its check digit weighs the digits from the right 3, 1, 3, ...:
// 6x3 + 7 + 8x3 + 8 + 2x3 + 1 + 4x3 + 1 + 0 + 0 + 4x3 + 5 + 1x3 = 97, so it is 3.
constexpr const char* kGtin = "1540014128876";
constexpr const char* kGtin14 = "15400141288763";

// Along the middle of the symbol: the box's side (five narrow widths), its quiet zone (ten), the
// Interleaved 2 of 5 symbol of the fourteen digits, the other quiet zone and side.
std::vector<int> Itf14Widths(int narrow, int wide) {
  std::vector<int> widths{5 * narrow, 10 * narrow};
  Append(widths, testing::NarrowWideWidths("0000", narrow, wide));
  for (int i = 0; i < 14; i += 2) {
    const std::string bars = TwoOfFiveElements(kGtin14[i]), spaces = TwoOfFiveElements(kGtin14[i + 1]);
    for (int j = 0; j < 5; ++j) Append(widths, testing::NarrowWideWidths({bars[j], spaces[j]}, narrow, wide));
  }
  Append(widths, testing::NarrowWideWidths("100", narrow, wide));
  Append(widths, {10 * narrow, 5 * narrow});
  return widths;
}

TEST_F(TwoOfFiveTest, Itf14DrawsTheGtin14WithinABoxOfBearerBars) {
  for (const char* data : {kGtin, kGtin14}) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kItf14, orientation, 0, 0);
      SetMessage(context, data);
      const testing::Bitmap upright = testing::RenderUpright(context, orientation);
      const std::vector<int> expected = Itf14Widths(kScanNarrow, kScanWide);
      const std::string where = std::string(data) + " orientation " + std::to_string(orientation);
      ASSERT_EQ(testing::ElementWidths(upright), expected) << where;
      const int left = testing::SymbolStart(upright);
      EXPECT_EQ(left, testing::CentredStart(expected, 0)) << where;

      // Down the middle of the left quiet zone: the box's top and bottom bars, each five narrow
      // widths thick, within the bars' height of 1.5 cm (56 pixels), and nothing between them.
      int length = 0;
      for (const int width : expected) length += width;
      const int quietZone = left + 5 * kScanNarrow + 5 * kScanNarrow;
      std::string column;
      for (int y = 0; y < upright.height; ++y) column += testing::IsDark(upright, quietZone, y) ? '1' : '0';
      const std::size_t top = column.find('1');
      ASSERT_NE(top, std::string::npos) << where;
      EXPECT_EQ(column.substr(top, 56), std::string(15, '1') + std::string(26, '0') + std::string(15, '1')) << where;
      EXPECT_EQ(column.find('1', top + 56), std::string::npos) << where;
      // The top bar runs from the box's first column to its last.
      std::string topRow;
      for (int x = 0; x < upright.width; ++x) topRow += testing::IsDark(upright, x, static_cast<int>(top)) ? '1' : '0';
      EXPECT_EQ(topRow, std::string(left, '0') + std::string(length, '1') + std::string(upright.width - left - length, '0'))
          << where;
    }
  }
}

// Whatever the ratio, wide elements stay within the 2.25 to 3 narrow widths ITF-14's readers expect,
// at the whole pixels nearest it; the box takes the place of any frame.
TEST_F(TwoOfFiveTest, Itf14KeepsItsWideElementsInRangeAndIgnoresTheFrame) {
  struct Case {
    double narrowCm;
    double ratio;
    int narrow;
    int wide;
  };
  // 0.08 cm is 3 pixels and 0.03 cm 1 pixel at 96 per inch; 3 pixels take wide ones of 7 to 9.
  for (const Case& c : {Case{0.08, 2.0, 3, 7}, Case{0.08, 2.5, 3, 7}, Case{0.08, 2.9, 3, 8}, Case{0.08, 3.5, 3, 9},
                        Case{0.03, 2.0, 1, 3}, Case{0.03, 5.0, 1, 3}}) {
    testing::ConfigureForScanning(context, kItf14, 0, 0, 0);
    SetMessage(context, kGtin);
    SetBasicInfo(context, kItf14, c.narrowCm, c.ratio, 0, kNoFrame);
    SetSymbology(context, kItf14);
    const testing::Bitmap plain = testing::RenderUpright(context, 0);
    EXPECT_EQ(testing::ElementWidths(plain), Itf14Widths(c.narrow, c.wide)) << c.narrowCm << " cm, ratio " << c.ratio;
    for (const int frame : {kDashedFrame, kSolidFrame}) {
      SetBasicInfo(context, kItf14, c.narrowCm, c.ratio, 0, frame);
      EXPECT_EQ(testing::RenderUpright(context, 0).gray, plain.gray) << "frame " << frame;
    }
  }
}

// The box is bars like the symbol's, in the bar colour, in every output: in the SVG, a rectangle
// for each of the symbol's 39 bars (two in the start, five a pair, two in the stop) and four for the
// box, each in that colour, whatever the orientation; and no frame, though one is asked for.
TEST(Itf14Outputs, TheBoxIsDrawnAsBarsInTheBarColour) {
  const testing::TempDir folder;
  const std::string svg = folder.File("itf14.svg");
  for (int orientation = 0; orientation < 4; ++orientation) {
    testing::ResetLibrary();
    VnBasicInfo(kItf14, 0.07, 2.5, orientation, kSolidFrame);
    VnSetSymbology(kItf14);
    VnSetSize(640, 640);
    VnSetBarColor(0x12, 0x34, 0x56);
    VnSetMessage(kGtin);
    ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
    EXPECT_STREQ(VnGetLastError(), "");
    const std::vector<std::uint8_t> bytes = testing::ReadFileBytes(svg);
    const std::string document(bytes.begin(), bytes.end());
    const std::regex barRect(R"(<rect [^>]*fill="#123456")");
    EXPECT_EQ(std::distance(std::sregex_iterator(document.begin(), document.end(), barRect), std::sregex_iterator()), 43)
        << "orientation " << orientation;
    EXPECT_EQ(document.find("fill=\"#000000\""), std::string::npos) << "no frame, which is black";
  }
}

// The text is the fourteen digits, whether the check digit was given or added, and the check
// switches neither add another nor leave it out.
TEST_F(TwoOfFiveTest, Itf14PrintsItsFourteenDigits) {
  for (const char* data : {kGtin, kGtin14}) {
    for (const int checkSwitches : {0, 1}) {
      testing::ConfigureForScanning(context, kItf14, 0, checkSwitches, checkSwitches);
      SetTextInfo(context, 1, checkSwitches, checkSwitches);
      SetMessage(context, data);
      EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), kGtin14) << data << ' ' << checkSwitches;
    }
  }
}

TEST_F(TwoOfFiveTest, Itf14ReadsBackWithZbarAndZxingInEveryOrientation) {
  for (const char* data : {kGtin, kGtin14}) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kItf14, orientation, 0, 0);
      SetMessage(context, data);
      const testing::Bitmap bitmap = testing::RenderToBitmap(context);
      const auto zbar = testing::DecodeWithZbarSymbols(bitmap);
      ASSERT_EQ(zbar.size(), 1u) << data << " orientation " << orientation;
      EXPECT_EQ(zbar[0].format, "I2/5");
      EXPECT_EQ(zbar[0].text, kGtin14) << "orientation " << orientation;
      testing::ZxingOptions options;
      options.validate_itf_checksum = true;  // ZXing checks the GS1 check digit too
      const std::vector<testing::Decoded> zxing = testing::DecodeWithZxing(bitmap, options);
      ASSERT_EQ(zxing.size(), 1u) << data << " orientation " << orientation;
      EXPECT_EQ(zxing[0].format, "ITF");
      EXPECT_EQ(zxing[0].text, kGtin14) << "orientation " << orientation;
    }
  }
}

}  // namespace
}  // namespace varnel
