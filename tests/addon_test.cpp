// The 2- and 5-digit add-ons: their modules read back from our BMP after each kind of host symbol,
// their place across and along the symbol, and add-on text that only JAN symbols let through.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "base/settings.h"
#include "drawing/context.h"
#include "platform/screen.h"
#include "drawing/context.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/row_scan.h"
#include "varnel32.h"

namespace varnel {
namespace {

// As in the main symbols' suite: 2-pixel modules, a 56-row bar band from row 62, a 24-unit font, and
// row 100 crossing the main bars and the add-on bars below the add-on's digits.
constexpr int kModule = 2;
constexpr int kScanRow = 100;
constexpr int kFontHeight = 24;

void Select(int symbology, const char* data, int kind, const char* addOn) {
  testing::ResetLibrary();
  VnSetSize(600, 200);
  VnBasicInfo(symbology, 0.07, 2.0, 0, 0);
  VnSetMessage(data);
  VnSupplementInfo(kind, addOn, 0.5);
}

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
TEST(AddOnTest, WorkedExamplesReadBackModuleForModule) {
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
    const testing::Bitmap bitmap = testing::RenderToBitmap();
    EXPECT_EQ(AddOnModules(bitmap, c.hostModules, static_cast<int>(std::strlen(c.modules))), c.modules)
        << c.addOn << " after " << c.data;
  }
}

// The add-on bars begin one font height below the top of the main bars, leaving room for their
// digits, and end level with the guard bars, with or without text.
TEST(AddOnTest, BarsLeaveRoomForTheDigitsAboveThem) {
  for (const int showText : {1, 0}) {
    Select(kEan13, "590123412345", kSupplement5, "12345");
    VnTextInfo(showText, 0, 0);
    const testing::Bitmap bitmap = testing::RenderToBitmap();
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
TEST(AddOnTest, GapIsCentimetresAtTheResolutionAlongTheSymbol) {
  struct Case {
    int dpiX, dpiY, orientation, gap;
  };
  for (const Case c : {Case{96, 96, 0, 18}, Case{120, 120, 0, 23}, Case{120, 96, 0, 23}, Case{120, 96, 1, 18},
                       Case{96, 120, 3, 23}, Case{72, 72, 2, 14}}) {
    Select(kUpcE, "04210000526", kSupplement2, "12");
    SetScreenResolution(c.dpiX, c.dpiY);
    VnSetSize(600, 600);
    VnBasicInfo(kUpcE, 0.07, 2.0, c.orientation, 0);
    testing::RenderToSurface();
    EXPECT_EQ(DefaultContext().state.supplementStart - DefaultContext().state.symbolEnd, c.gap) << c.dpiX << "x" << c.dpiY << " o" << c.orientation;
    EXPECT_EQ(DefaultContext().state.supplementEnd - DefaultContext().state.supplementStart, 20 * DefaultContext().state.narrowWidth);
  }
}

TEST(AddOnTest, ExtremeGapSaturatesInsteadOfOverflowing) {
  Select(kEan13, "590123412345", kSupplement2, "12");
  VnSupplementInfo(kSupplement2, "12", 1e30);
  const testing::TempDir dir;
  EXPECT_EQ(VnSaveAsBMP(dir.File("gap.bmp").c_str()), 1);
  EXPECT_EQ(DefaultContext().state.supplementStart, INT_MAX);
  EXPECT_EQ(DefaultContext().state.supplementEnd, INT_MAX);
}

TEST(AddOnTest, NoAddOnLeavesItsPositionsAlone) {
  Select(kEan13, "590123412345", kNoSupplement, "12");
  DefaultContext().state.supplementStart = 1234;
  DefaultContext().state.supplementEnd = 5678;
  const testing::Bitmap bitmap = testing::RenderToBitmap();
  EXPECT_EQ(DefaultContext().state.supplementStart, 1234);
  EXPECT_EQ(DefaultContext().state.supplementEnd, 5678);
  EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, DefaultContext().state.symbolEnd), -1);
}

// Validation leaves JAN add-on text unchecked. The add-on then draws the digits it has, up to its
// size, and nothing for a missing character or one that is not a digit.
TEST(AddOnTest, JanAddOnDrawsOnlyTheDigitsItHas) {
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
    VnSupplementInfo(c.kind, c.addOn, 0.5);
    const testing::Bitmap bitmap = testing::RenderToBitmap();
    EXPECT_EQ(DefaultContext().state.supplementEnd - DefaultContext().state.supplementStart, c.modules * kModule) << c.addOn;
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
    const testing::Bitmap bitmap = testing::RenderToBitmap();
    const auto zbar = testing::DecodeWithZbar(bitmap);
    ASSERT_EQ(zbar.size(), 2u) << c.addOn;
    EXPECT_EQ(zbar[1], c.read);
  }
}

}  // namespace
}  // namespace varnel
