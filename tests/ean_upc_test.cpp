// EAN-13, JAN-13, ISBN, EAN-8, JAN-8, UPC-A and UPC-E: the published worked examples read back
// module for module from our BMP, the digits printed in their cells where the bars leave room for
// them, the check digit, and data that never passed validation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "support/drawing_pass.h"
#include "support/render_harness.h"
#include "support/row_scan.h"

namespace varnel {
namespace {

// At the defaults (96 pixels per inch, 0.07 cm, 1.5 cm bars) a module is 2 pixels, the bars are 56
// rows tall and the font 24; the band of bars and a 20-row text band is centred in the 200-row
// picture from row 62. Row 100 crosses the bars below the add-on's digits (rows 62 to 85) and above
// the text row (from 118).
constexpr int kModule = 2;
constexpr int kScanRow = 100;
constexpr int kFontHeight = 24;
constexpr int kBandTop = 62;
constexpr int kTextRow = kBandTop + 56;

class EanUpcTest : public ::testing::Test {
 protected:
  void Select(int symbology, const char* data) {
    testing::ResetLibrary(context);
    SetSize(context, 600, 200);
    SetBasicInfo(context, symbology, 0.07, 2.0, 0, 0);
    SetMessage(context, data);
  }

  Context context;
};

// The modules of the published examples (1 a bar module, 0 a space module), each digit written with
// the standard's L, G and R codes.
TEST_F(EanUpcTest, WorkedExamplesReadBackModuleForModule) {
  struct Case {
    int symbology;
    const char* data;
    int upceSystem;
    const char* modules;
  };
  const Case cases[] = {
      {kEan13, "590123412345", 0,
       "101" "0001011" "0100111" "0110011" "0010011" "0111101" "0011101" "01010"
       "1100110" "1101100" "1000010" "1011100" "1001110" "1000100" "101"},
      {kEan8, "9638507", 0,
       "101" "0001011" "0101111" "0111101" "0110111" "01010" "1001110" "1110010" "1000100" "1011100" "101"},
      {kUpcA, "03600029145", 0,
       "101" "0001101" "0111101" "0101111" "0001101" "0001101" "0001101" "01010"
       "1101100" "1110100" "1100110" "1011100" "1001110" "1101100" "101"},
      // Zero suppression, one case per rule: 425261 (check 4), 123453 (1), 123454 (3), 123456 (5).
      {kUpcE, "04210000526", 0, "101" "0011101" "0010011" "0111001" "0011011" "0101111" "0011001" "010101"},
      {kUpcE, "01230000045", 0, "101" "0110011" "0011011" "0111101" "0011101" "0110001" "0111101" "010101"},
      {kUpcE, "01234000005", 0, "101" "0110011" "0011011" "0111101" "0100011" "0110001" "0011101" "010101"},
      {kUpcE, "01234500006", 0, "101" "0110011" "0010011" "0111101" "0011101" "0111001" "0101111" "010101"},
      // Number system 1 inverts every parity: 425261 with check 1 as OOEOEE.
      {kUpcE, "14210000526", 1, "101" "0100011" "0010011" "0111001" "0010011" "0000101" "0110011" "010101"},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    SetUpcESystem(context, c.upceSystem);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    const int moduleCount = static_cast<int>(std::strlen(c.modules));
    const int start = testing::NextDarkX(bitmap, kScanRow, 0);
    ASSERT_GE(start, 0) << c.data;
    EXPECT_EQ(testing::ModulesAlongRow(bitmap, kScanRow, start, kModule, moduleCount), c.modules) << c.data;
    EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, start + moduleCount * kModule), -1) << c.data;
  }
}

TEST_F(EanUpcTest, JanSymbolsDrawWhatEanDraws) {
  struct Case {
    int jan, ean;
    const char* data;
  };
  for (const Case c : {Case{kJan13, kEan13, "490123456789"}, Case{kJan8, kEan8, "4912345"}}) {
    Select(c.ean, c.data);
    const std::vector<Rect> ean = testing::RecordedFills(RenderToSurface(context));
    Select(c.jan, c.data);
    const std::vector<Rect> jan = testing::RecordedFills(RenderToSurface(context));
    EXPECT_GT(ean.size(), 20u) << c.data;
    EXPECT_EQ(jan, ean) << c.data;
  }
}

// The guards reach half a font height below the data bars, into the text row between the groups.
TEST_F(EanUpcTest, GuardBarsReachIntoTheTextRow) {
  for (const int showText : {1, 0}) {
    Select(kEan13, "590123412345");
    SetTextInfo(context, showText, 0, 0);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    const int s = testing::NextDarkX(bitmap, kScanRow, 0);
    ASSERT_GE(s, 0);
    const auto barBottom = [&bitmap](int x) {
      int y = kScanRow;
      while (testing::IsDark(bitmap, x, y)) ++y;
      return y;
    };
    const int dataBottom = barBottom(s + 6 * kModule);  // the first bar of the first digit drawn, a '9'
    EXPECT_EQ(barBottom(s), dataBottom + kFontHeight / 2) << showText;                   // start guard
    EXPECT_EQ(barBottom(s + 46 * kModule), dataBottom + kFontHeight / 2) << showText;    // centre guard
    EXPECT_EQ(barBottom(s + 94 * kModule), dataBottom + kFontHeight / 2) << showText;    // end guard
  }
}

// The runs from runs[next] on print `digits` one per cell, the cells filling start to end without gap
// or overlap, on the text row; next moves past them.
void ExpectSpread(const std::vector<TextOp>& runs, std::size_t& next, const std::string& digits, int start, int end,
                  const char* what) {
  int position = start;
  for (const char digit : digits) {
    ASSERT_LT(next, runs.size()) << what;
    const TextOp& run = runs[next++];
    EXPECT_EQ(run.text, std::string(1, digit)) << what;
    EXPECT_EQ(run.clip.left, position) << what;
    EXPECT_GT(run.clip.right, run.clip.left) << what;
    EXPECT_EQ(run.clip.top, kTextRow) << what;
    position = run.clip.right;
  }
  EXPECT_EQ(position, end) << what;
}

// The text is placed by the bars: S is the symbol's first dark pixel and the add-on begins at the
// next one after the symbol, 0.5 cm (18 pixels at 96 per inch) out. Each digit group's cells run
// from the end of one guard to one module into the next; the add-on's digits stand over its bars.
TEST_F(EanUpcTest, DigitsArePrintedInTheirCellsWhereTheBarsLeaveRoom) {
  struct Case {
    int symbology;
    const char* data;
    const char* leading;     // left of the symbol, or ""
    const char* leftGroup;
    const char* rightGroup;  // empty for UPC-E, whose six digits are one group
    const char* trailing;    // right of the symbol, or ""
    int leftStart, leftEnd, rightStart, rightEnd, symbolEnd;  // modules from S
  };
  const Case cases[] = {
      {kEan13, "590123412345", "5", "901234", "123457", "", 3, 46, 49, 92, 95},
      {kJan13, "490123456789", "4", "901234", "567894", "", 3, 46, 49, 92, 95},
      {kIsbn, "0123456789", "9", "780123", "456786", "", 3, 46, 49, 92, 95},
      {kEan8, "9638507", "", "9638", "5074", "", 3, 32, 35, 64, 67},
      {kJan8, "4912345", "", "4912", "3456", "", 3, 32, 35, 64, 67},
      {kUpcA, "03600029145", "0", "36000", "29145", "2", 3, 46, 49, 92, 95},
      {kUpcE, "04210000526", "0", "425261", "", "4", 3, -1, -1, 46, 51},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    SetSupplementInfo(context, kSupplement5, "12345", 0.5);
    const testing::Bitmap bitmap = testing::RenderToBitmap(context);
    const std::vector<TextOp> runs = testing::RecordedTexts(RenderToSurface(context));
    const int s = testing::NextDarkX(bitmap, kScanRow, 0);
    ASSERT_GE(s, 0) << c.data;
    const auto at = [s](int modules) { return s + modules * kModule; };
    const int symbolEnd = at(c.symbolEnd);

    // The add-on: 18 pixels after the symbol, then 47 modules ending with a bar.
    const int addOn = testing::NextDarkX(bitmap, kScanRow, symbolEnd);
    EXPECT_EQ(addOn - symbolEnd, 18) << c.data;
    const int addOnEnd = addOn + 47 * kModule;
    EXPECT_TRUE(testing::IsDark(bitmap, addOnEnd - 1, kScanRow)) << c.data;
    EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, addOnEnd), -1) << c.data;

    // The add-on's digits first, centred over its bars in the band's first font height (JAN draws
    // the add-on's bars but does not print its digits).
    std::size_t next = 0;
    if (c.symbology != kJan13 && c.symbology != kJan8) {
      ASSERT_FALSE(runs.empty()) << c.data;
      EXPECT_EQ(runs[next].text, "12345") << c.data;
      EXPECT_EQ(runs[next].clip, (Rect{addOn, kBandTop, addOnEnd, kBandTop + kFontHeight})) << c.data;
      ++next;
    }
    if (c.symbology == kIsbn) {
      ASSERT_LT(next, runs.size());
      EXPECT_EQ(runs[next].text, "ISBN 0-123-45678-9");
      EXPECT_EQ(runs[next].clip, (Rect{s, kBandTop - kFontHeight, symbolEnd, kBandTop}));
      ++next;
    }
    if (*c.leading != '\0') {
      ASSERT_LT(next, runs.size()) << c.data;
      EXPECT_EQ(runs[next].text, c.leading) << c.data;
      EXPECT_EQ(runs[next].clip, (Rect{s - kFontHeight, kTextRow, s, kTextRow + kFontHeight})) << c.data;
      ++next;
    }
    if (*c.rightGroup != '\0') {
      ExpectSpread(runs, next, c.leftGroup, at(c.leftStart), at(c.leftEnd), c.data);
      ExpectSpread(runs, next, c.rightGroup, at(c.rightStart), at(c.rightEnd), c.data);
    } else {
      ExpectSpread(runs, next, c.leftGroup, at(c.leftStart), at(c.rightEnd), c.data);
    }
    if (*c.trailing != '\0') {
      ASSERT_LT(next, runs.size()) << c.data;
      EXPECT_EQ(runs[next].text, c.trailing) << c.data;
      EXPECT_EQ(runs[next].clip, (Rect{symbolEnd + 3, kTextRow, symbolEnd + 3 + kFontHeight, kTextRow + kFontHeight}))
          << c.data;
      ++next;
    }
    EXPECT_EQ(next, runs.size()) << c.data;
  }
}

TEST_F(EanUpcTest, CheckDigitOfWorkedValues) {
  struct Case {
    const char* data;
    char check;
  };
  for (const Case c : {Case{"", '0'}, Case{"1", '7'}, Case{"590123412345", '7'}, Case{"9638507", '4'},
                       Case{"03600029145", '2'}, Case{"04210000526", '4'}, Case{"978012345678", '6'}}) {
    EXPECT_EQ(UpcEanCheckDigit(c.data), c.check) << c.data;
  }
}

// The number drawn and printed carries its check digit exactly once, render after render, and the
// caller's data is what it was: an appended digit that stayed would show in the next render's text,
// or have the data refused for its length. The text falls back to the drawing pass's working message
// (UPC-E builds its own), so it shows the number as the drawing pass saw it.
TEST_F(EanUpcTest, CheckDigitIsAppendedOncePerRender) {
  struct Case {
    int symbology;
    const char* data;
    const char* printed;
  };
  const Case cases[] = {
      {kEan13, "590123412345", "5901234123457"}, {kJan13, "490123456789", "4901234567894"},
      {kIsbn, "0123456789", "ISBN 0-123-45678-99780123456786"},  // the caption over the bars, then the number
      {kEan8, "9638507", "96385074"},
      {kJan8, "4912345", "49123456"},            {kUpcA, "03600029145", "036000291452"},
      {kUpcE, "04210000526", "04252614"},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    for (int render = 0; render < 3; ++render) {
      EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), c.printed) << c.data << " render " << render;
    }
  }
}

// The encoders run directly here, as they would on data that bypassed validation: a measuring pass
// and a drawing pass from position 0 with one-unit modules, in a context whose message buffer holds
// `staleFill` beyond the data's terminator, as an earlier, longer message leaves it. The bars drawn.
std::vector<Rect> DrawnBars(void (*encoder)(Context&), const std::string& data, char staleFill, Context& context) {
  if (staleFill != '\0') SetMessage(context, std::string(kMessageCapacity - 1, staleFill).c_str());
  SetMessage(context, data.c_str());
  Surface surface(1100, 60);
  constexpr testing::PassLayout kLayout{0, 0, 50, 0, 1, 2, 0};
  testing::StartPass(context, surface, kLayout, true);
  encoder(context);
  testing::StartPass(context, surface, kLayout);
  encoder(context);
  return testing::RecordedFills(surface);
}

std::vector<Rect> DrawnBars(void (*encoder)(Context&), const std::string& data, char staleFill) {
  Context context;  // a message buffer of zeros
  return DrawnBars(encoder, data, staleFill, context);
}

// The symbol's length in modules: the right edge of its last bar, as every one of these ends with one.
int Modules(const std::vector<Rect>& bars) {
  int end = 0;
  for (const Rect& bar : bars) end = std::max(end, bar.right);
  return end;
}

TEST_F(EanUpcTest, DataThatBypassedValidationDrawsOnlyItsOwnDigits) {
  struct Encoder {
    void (*encode)(Context&);
    const char* name;
    int modules;  // of a whole symbol
  };
  const Encoder encoders[] = {{EncodeEan13, "EAN-13", 95}, {EncodeJan13, "JAN-13", 95}, {EncodeIsbn, "ISBN", 95},
                              {EncodeEan8, "EAN-8", 67},   {EncodeJan8, "JAN-8", 67},   {EncodeUpcA, "UPC-A", 95},
                              {EncodeUpcE, "UPC-E", 51}};
  const std::string full(kMessageCapacity - 1, '4');
  for (const Encoder& e : encoders) {
    // Whatever an earlier message left beyond the terminator is not part of the data.
    for (const char* data : {"", "5", "59012", "4901234567", "12x45"}) {
      EXPECT_EQ(DrawnBars(e.encode, data, '8'), DrawnBars(e.encode, data, '\0')) << e.name << " " << data;
    }
    // A full buffer has no room for the check digit, but still holds a whole symbol's digits and
    // stays terminated (which no picture shows: the working message is read here).
    Context fresh;
    EXPECT_EQ(Modules(DrawnBars(e.encode, full, '\0', fresh)), e.modules) << e.name;
    EXPECT_EQ(fresh.state.workMessage[kMessageCapacity - 1], '\0') << e.name;
  }

  // A character that is not a digit draws nothing in its place: one digit fewer than 95 modules.
  EXPECT_EQ(Modules(DrawnBars(EncodeEan13, "5901x3412345", '\0')), 95 - 7);
  EXPECT_EQ(Modules(DrawnBars(EncodeUpcA, "0360x029145", '\0')), 95 - 7);
  EXPECT_EQ(Modules(DrawnBars(EncodeEan8, "963x507", '\0')), 67 - 7);
}

}  // namespace
}  // namespace varnel
