// The 2- and 5-digit add-ons: their modules read back from our BMP after each kind of host symbol,
// their place across and along the symbol, and add-on text that only JAN symbols let through.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "engine/render_driver.h"
#include "outputs/render_to_surface.h"
#include "platform/screen.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/row_scan.h"
#include "support/symbol_scan.h"

namespace varnel {
namespace {

// As in the main symbols' suite: 2-pixel modules, a 56-row bar band from row 62, a 24-unit font, and
// row 100 crossing the main bars and the add-on bars below the add-on's digits.
constexpr int kModule = 2;
constexpr int kScanRow = 100;
constexpr int kFontHeight = 24;

class AddOnTest : public ::testing::Test {
 protected:
  void Select(int symbology, const char* data, int kind, const char* addOn) {
    testing::ResetLibrary(context);
    SetSize(context, 600, 200);
    SetBasicInfo(context, symbology, 0.07, 2.0, 0, 0);
    SetMessage(context, data);
    SetSupplementInfo(context, kind, addOn, 0.5);
  }

  Context context;
};

// The add-on's modules: those after the first light gap that follows the main symbol.
std::string AddOnModules(const testing::Bitmap& bitmap, int hostModules, int count) {
  const int host = testing::NextDarkX(bitmap, kScanRow, 0);
  const int addOn = testing::NextDarkX(bitmap, kScanRow, host + hostModules * kModule);
  if (host < 0 || addOn < 0) return "";
  if (testing::NextDarkX(bitmap, kScanRow, addOn + count * kModule) != -1) return "bars after the add-on";
  return testing::ModulesAlongRow(bitmap, kScanRow, addOn, kModule, count);
}

// Modules of the published examples (guard 1011, then the digits' L or G codes with 01 between them),
// each after a different host so that every main symbol's add-on step is covered.
TEST_F(AddOnTest, WorkedExamplesReadBackModuleForModule) {
  struct Case {
    int symbology;
    const char* data;
    int hostModules;
    int kind;
    const char* addOn;
    const char* modules;
  };
  const Case cases[] = {
      {kEan13, "590123412345", 95, kSupplement2, "12", "1011" "0011001" "01" "0010011"},
      {kEan8, "9638507", 67, kSupplement2, "53", "1011" "0110001" "01" "0100001"},
      {kUpcA, "03600029145", 95, kSupplement5, "12345",
       "1011" "0110011" "01" "0010011" "01" "0100001" "01" "0100011" "01" "0110001"},
      {kIsbn, "0123456789", 95, kSupplement5, "52495",
       "1011" "0111001" "01" "0010011" "01" "0011101" "01" "0001011" "01" "0110001"},
      {kUpcE, "04210000526", 51, kSupplement5, "00000",
       "1011" "0100111" "01" "0100111" "01" "0001101" "01" "0001101" "01" "0001101"},
      {kJan8, "4912345", 67, kSupplement2, "12", "1011" "0011001" "01" "0010011"},
      {kJan13, "490123456789", 95, kSupplement5, "00000",
       "1011" "0100111" "01" "0100111" "01" "0001101" "01" "0001101" "01" "0001101"},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data, c.kind, c.addOn);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    EXPECT_EQ(AddOnModules(bitmap, c.hostModules, static_cast<int>(std::strlen(c.modules))), c.modules)
        << c.addOn << " after " << c.data;
  }
}

// The add-on bars begin one font height below the top of the main bars, leaving room for their
// digits, and end level with the guard bars, with or without text.
TEST_F(AddOnTest, BarsLeaveRoomForTheDigitsAboveThem) {
  for (const int showText : {1, 0}) {
    Select(kEan13, "590123412345", kSupplement5, "12345");
    SetTextInfo(context, showText, 0, 0);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    const int guard = testing::NextDarkX(bitmap, kScanRow, 0);
    const int addOnGuard = testing::NextDarkX(bitmap, kScanRow, guard + 95 * kModule);
    ASSERT_GE(addOnGuard, 0);
    const auto top = [&bitmap](int x) {
      int y = kScanRow;
      while (testing::IsDark(bitmap, x, y - 1)) --y;
      return y;
    };
    const auto bottom = [&bitmap](int x) {
      int y = kScanRow;
      while (testing::IsDark(bitmap, x, y)) ++y;
      return y;
    };
    EXPECT_EQ(top(addOnGuard), top(guard) + kFontHeight) << showText;
    EXPECT_EQ(bottom(addOnGuard), bottom(guard)) << showText;
  }
}

// The gap is a length on paper: centimetres at the resolution along the symbol, whichever way it runs.
// Read from the upright picture: after the 51 modules of the UPC-E symbol, the gap, then the 20
// modules of the add-on ending with a bar.
TEST_F(AddOnTest, GapIsCentimetresAtTheResolutionAlongTheSymbol) {
  struct Case {
    int dpiX, dpiY, orientation, module, gap;
  };
  for (const Case c : {Case{96, 96, 0, 2, 18}, Case{120, 120, 0, 3, 23}, Case{120, 96, 0, 3, 23}, Case{120, 96, 1, 2, 18},
                       Case{96, 120, 3, 3, 23}, Case{72, 72, 2, 1, 14}}) {
    const std::string where = std::to_string(c.dpiX) + "x" + std::to_string(c.dpiY) + " o" + std::to_string(c.orientation);
    Select(kUpcE, "04210000526", kSupplement2, "12");
    SetScreenResolution(c.dpiX, c.dpiY);
    SetSize(context, 600, 600);
    SetBasicInfo(context, kUpcE, 0.07, 2.0, c.orientation, 0);
    SetTextInfo(context, 0, 0, 0);
    const testing::Bitmap upright = testing::RenderUpright(context, c.orientation);
    const int row = testing::RowCrossingEveryBar(upright);
    const int symbolEnd = testing::NextDarkX(upright, row, 0) + 51 * c.module;
    const int addOn = testing::NextDarkX(upright, row, symbolEnd);
    EXPECT_EQ(addOn - symbolEnd, c.gap) << where;
    EXPECT_TRUE(testing::IsDark(upright, addOn + 20 * c.module - 1, row)) << where;
    EXPECT_EQ(testing::NextDarkX(upright, row, addOn + 20 * c.module), -1) << where;
  }
}

// A gap beyond any picture puts the add-on, and its digits, at the largest position instead of
// wrapping round: the symbol measures that long, and the digits' box is empty there.
TEST_F(AddOnTest, ExtremeGapSaturatesInsteadOfOverflowing) {
  Select(kEan13, "590123412345", kSupplement2, "12");
  SetSupplementInfo(context, kSupplement2, "12", 1e30);
  EXPECT_EQ(testing::RenderToBitmap(context).width, 600);
  const std::vector<TextOp> texts = testing::RecordedTexts(RenderToSurface(context));
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].text, "12");
  EXPECT_EQ(texts[0].clip.left, INT_MAX);
  EXPECT_EQ(texts[0].clip.right, INT_MAX);
  EXPECT_EQ(MeasureBarcode(context).value().length, INT_MAX);
}

TEST_F(AddOnTest, NoAddOnDrawsNothingAfterTheSymbol) {
  Select(kEan13, "590123412345", kNoSupplement, "12");
  const testing::Bitmap bitmap = testing::RenderToBitmap(context);
  const int symbol = testing::NextDarkX(bitmap, kScanRow, 0);
  ASSERT_GE(symbol, 0);
  EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, symbol + 95 * kModule), -1);
  EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), "5901234123457") << "no add-on digits";
}

// Validation leaves JAN add-on text unchecked. The add-on then draws the digits it has, up to its
// size, and nothing for a missing character or one that is not a digit.
TEST_F(AddOnTest, JanAddOnDrawsOnlyTheDigitsItHas) {
  const std::string one = "0011001", seven = "0111011";  // L codes
  // A digit's G code is its L code complemented and reversed.
  const auto gCode = [](const std::string& lCode) {
    std::string g;
    for (auto it = lCode.rbegin(); it != lCode.rend(); ++it) g += *it == '0' ? '1' : '0';
    return g;
  };
  struct Case {
    int kind;
    const char* addOn;
    std::string first;  // the L code of the first digit, or "" when it is no digit
    int modules;        // guard 4, each digit present 7, each separator 2
  };
  const Case cases[] = {{kSupplement2, "7", seven, 13}, {kSupplement2, "1x", one, 13}, {kSupplement2, "", "", 6},
                        {kSupplement5, "x", "", 12},    {kSupplement5, "17", one, 26}};
  for (const Case& c : cases) {
    // A longer text first, so that its tail lies beyond the short text's terminator.
    Select(kJan13, "490123456789", c.kind, "77777777777");
    SetSupplementInfo(context, c.kind, c.addOn, 0.5);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    // The symbol measures the main symbol, the 0.5 cm gap and the add-on's modules.
    EXPECT_EQ(MeasureBarcode(context).value().length, 95 * kModule + 18 + c.modules * kModule) << c.addOn;
    const std::string modules = AddOnModules(bitmap, 95, c.modules);
    ASSERT_EQ(modules.size(), static_cast<std::size_t>(c.modules)) << c.addOn << ": " << modules;
    EXPECT_EQ(modules.substr(0, 4), "1011") << c.addOn;
    if (!c.first.empty()) {
      const std::string digit = modules.substr(4, 7);
      EXPECT_TRUE(digit == c.first || digit == gCode(c.first)) << c.addOn << ": " << digit;
    }
  }

  // Text longer than the add-on: its first 2 or 5 digits are the add-on, as the decoders agree.
  struct Long {
    int kind;
    const char* addOn;
    const char* read;
  };
  for (const Long c : {Long{kSupplement2, "12345", "12"}, Long{kSupplement5, "12345678901", "12345"}}) {
    Select(kJan13, "490123456789", c.kind, c.addOn);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    const auto zbar = testing::DecodeWithZbar(bitmap);
    ASSERT_EQ(zbar.size(), 2u) << c.addOn;
    EXPECT_EQ(zbar[1], c.read);
  }
}

}  // namespace
}  // namespace varnel
