// MSI, POSTNET and PLANET: the symbols read back from the BMP's pixels against the published codes,
// their check digits, the postal bar heights and measured length, and the printed digits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "platform/screen.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"

namespace varnel {
namespace {

using testing::kScanNarrow;
using testing::kScanWide;

// MSI as published: a start bar two narrow widths wide and a narrow space; each digit as its four
// binary-coded bits, most significant first, a 0 bit a narrow bar and a wide space, a 1 bit a wide
// bar and a narrow space; a stop of a narrow bar, a double-narrow space and a narrow bar.
std::vector<int> MsiWidths(const std::string& digits) {
  std::vector<int> widths = {2 * kScanNarrow, kScanNarrow};
  for (const char digit : digits) {
    for (int bit = 3; bit >= 0; --bit) {
      const bool one = (((digit - '0') >> bit) & 1) != 0;
      widths.push_back(one ? kScanWide : kScanNarrow);
      widths.push_back(one ? kScanNarrow : kScanWide);
    }
  }
  for (const int width : {kScanNarrow, 2 * kScanNarrow, kScanNarrow}) widths.push_back(width);
  return widths;
}

// The published postal codes, 'F' a full bar and 'H' a half bar, indexed by digit.
constexpr const char* kPublishedPostnet[10] = {"FFHHH", "HHHFF", "HHFHF", "HHFFH", "HFHHF",
                                               "HFHFH", "HFFHH", "FHHHF", "FHHFH", "FHFHH"};
constexpr const char* kPublishedPlanet[10] = {"HHFFF", "FFFHH", "FFHFH", "FFHHF", "FHFFH",
                                              "FHFHF", "FHHFF", "HFFFH", "HFFHF", "HFHFF"};

// Frame bar, the digits' bars, frame bar.
std::string PostalBars(const char* const (&published)[10], const std::string& digits) {
  std::string bars = "F";
  for (const char digit : digits) bars += published[digit - '0'];
  return bars + "F";
}

// The bars read from the picture: 'F' for a bar of the full height, 'H' for one of the half height
// that stands on the same base line as the full bars, '?' for anything else.
std::string ReadPostalBars(const std::vector<testing::ScannedBar>& bars, int fullHeight, int halfHeight) {
  std::string read;
  if (bars.empty()) return read;
  const int baseLine = bars.front().top + bars.front().height;
  for (const testing::ScannedBar& bar : bars) {
    const bool onBaseLine = bar.top + bar.height == baseLine;
    read += !onBaseLine ? '?' : bar.height == fullHeight ? 'F' : bar.height == halfHeight ? 'H' : '?';
  }
  return read;
}

class MsiPostalTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  Context context;
};

TEST_F(MsiPostalTest, MsiSymbolsMatchThePublishedCodeAndTheWorkedCheckDigits) {
  struct Case {
    const char* data;
    int addCheckDigit;
    const char* drawn;
  };
  const Case cases[] = {
      {"1234567", 1, "12345674"},  // 1357 x 2 = 2714, 2+7+1+4 = 14, + 2+4+6 = 26
      {"", 1, "0"},
      {"0123456789", 0, "0123456789"},
      {"80", 1, "802"},  // the last digit is the doubled one: 0 + 8 = 8
      {"5", 1, "59"},    // 5 doubled is 10, whose digits add up to 1
  };
  for (const Case& c : cases) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ConfigureForScanning(context, kMsi, orientation, c.addCheckDigit, 0);
      SetMessage(context, c.data);
      const testing::Bitmap upright = testing::RenderUpright(context, orientation);
      const std::vector<int> expected = MsiWidths(c.drawn);
      EXPECT_EQ(testing::ElementWidths(upright), expected)
          << c.data << ' ' << c.addCheckDigit << " orientation " << orientation;
      EXPECT_EQ(testing::SymbolStart(upright), testing::CentredStart(expected, 0))
          << c.data << ' ' << c.addCheckDigit << " orientation " << orientation;
    }
  }
}

TEST_F(MsiPostalTest, PostalBarsMatchThePublishedCodesWithFullAndHalfHeights) {
  struct Case {
    const char* data;
    int addCheckDigit;
    const char* drawn;
  };
  const Case cases[] = {
      {"12345", 1, "123455"},  // digit sum 15
      {"0123456789", 0, "0123456789"},
      {"", 1, "0"},
  };
  // 1.5 cm bars are 56 pixels tall at 96 pixels per inch across the symbol and 55 at 94: an odd
  // height whose half bar is the larger half.
  struct Height {
    int dpiAcross;
    int full, half;
  };
  for (const int symbology : {kPostnet, kPlanet}) {
    const auto& published = symbology == kPostnet ? kPublishedPostnet : kPublishedPlanet;
    for (const Case& c : cases) {
      for (const Height h : {Height{96, 56, 28}, Height{94, 55, 28}}) {
        for (int orientation = 0; orientation < 4; ++orientation) {
          testing::ConfigureForScanning(context, symbology, orientation, c.addCheckDigit, 0);
          SetMessage(context, c.data);
          const bool vertical = RunsVertically(orientation);
          SetScreenResolution(vertical ? h.dpiAcross : 96, vertical ? 96 : h.dpiAcross);
          const std::vector<testing::ScannedBar> bars = testing::ScanBars(testing::RenderUpright(context, orientation));
          const std::string where = std::string(c.data) + " symbology " + std::to_string(symbology) +
                                    " height " + std::to_string(h.full) + " orientation " + std::to_string(orientation);
          EXPECT_EQ(ReadPostalBars(bars, h.full, h.half), PostalBars(published, c.drawn)) << where;
          for (std::size_t i = 0; i < bars.size(); ++i) {
            EXPECT_EQ(bars[i].width, kScanNarrow) << where << " bar " << i;
            if (i > 0) {
              EXPECT_EQ(bars[i].left - bars[i - 1].left, 2 * kScanNarrow) << where << " bar " << i;
            }
          }
        }
      }
    }
  }
}

TEST_F(MsiPostalTest, PostalSymbolIsMeasuredToOneNarrowWidthBeforeTheClosingFrameBar) {
  for (const int symbology : {kPostnet, kPlanet}) {
    for (const char* data : {"12345", "", "0123456789"}) {
      for (const int addCheckDigit : {0, 1}) {
        for (int orientation = 0; orientation < 4; ++orientation) {
          testing::ConfigureForScanning(context, symbology, orientation, addCheckDigit, 0);
          SetMessage(context, data);
          const std::vector<testing::ScannedBar> bars = testing::ScanBars(testing::RenderUpright(context, orientation));
          const int digits = static_cast<int>(std::string(data).size()) + addCheckDigit;
          const int barCount = 2 + 5 * digits;
          ASSERT_EQ(static_cast<int>(bars.size()), barCount) << data;
          const int measured = (2 * barCount - 3) * kScanNarrow;
          // The measured length decides the centring, so it shows in where the first bar stands.
          EXPECT_EQ(bars.front().left, (testing::kScanLength - measured) / 2)
              << data << ' ' << addCheckDigit << " symbology " << symbology << " orientation " << orientation;
        }
      }
    }
  }
}

}  // namespace
}  // namespace varnel
