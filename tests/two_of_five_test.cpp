// Interleaved and Matrix 2 of 5: the symbols read back from the BMP's pixels against the published
// two-of-five code, the Interleaved check digit and pad, the printed digits, and Interleaved 2 of 5
// through zbar and ZXing-C++.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"

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

}  // namespace
}  // namespace varnel
