// EAN-13, JAN-13, ISBN, EAN-8, JAN-8, UPC-A and UPC-E: the published worked examples read back
// module for module from our BMP, the positions left for the digit groups, the digits printed in their
// cells, the check digit, and data that never passed validation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/settings.h"
#include "drawing/context.h"
#include "drawing/context.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "support/render_harness.h"
#include "support/row_scan.h"
#include "varnel32.h"

namespace varnel {
namespace {

// At the defaults (96 pixels per inch, 0.07 cm) a module is 2 pixels, the bars are 56 rows tall and
// the font 24; in a 200-row picture the band of bars and text starts at row 62. Row 100 crosses the
// bars below the add-on's digits (rows 62 to 85) and above the text row (from 118).
constexpr int kModule = 2;
constexpr int kScanRow = 100;
constexpr int kFontHeight = 24;

void Select(int symbology, const char* data) {
  testing::ResetLibrary();
  VnSetSize(600, 200);
  VnBasicInfo(symbology, 0.07, 2.0, 0, 0);
  VnSetMessage(data);
}

// The modules of the published examples (1 a bar module, 0 a space module), each digit written with
// the standard's L, G and R codes.
TEST(EanUpcTest, WorkedExamplesReadBackModuleForModule) {
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
    VnUPCESystem(c.upceSystem);
    const testing::Bitmap bitmap = testing::RenderToBitmap();
    const int moduleCount = static_cast<int>(std::strlen(c.modules));
    const int start = testing::NextDarkX(bitmap, kScanRow, 0);
    ASSERT_GE(start, 0) << c.data;
    EXPECT_EQ(testing::ModulesAlongRow(bitmap, kScanRow, start, kModule, moduleCount), c.modules) << c.data;
    EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, start + moduleCount * kModule), -1) << c.data;
  }
}

TEST(EanUpcTest, JanSymbolsDrawWhatEanDraws) {
  struct Case {
    int jan, ean;
    const char* data;
  };
  for (const Case c : {Case{kJan13, kEan13, "490123456789"}, Case{kJan8, kEan8, "4912345"}}) {
    Select(c.ean, c.data);
    const std::vector<Rect> ean = testing::RecordedFills(testing::RenderToSurface());
    Select(c.jan, c.data);
    const std::vector<Rect> jan = testing::RecordedFills(testing::RenderToSurface());
    EXPECT_GT(ean.size(), 20u) << c.data;
    EXPECT_EQ(jan, ean) << c.data;
  }
}

// The positions for the text are checked against where the bars are in the picture: S is the
// symbol's first dark pixel, the add-on starts at the next one after the symbol.
TEST(EanUpcTest, RecordsTheDigitGroupsAndTheAddOnWhereTheBarsAre) {
  struct Case {
    int symbology;
    const char* data;
    int leftStart, leftEnd, rightStart, rightEnd, symbolEnd;  // modules from S; -1 not recorded
  };
  const Case cases[] = {
      {kEan13, "590123412345", 3, 46, 49, 92, 95}, {kJan13, "490123456789", 3, 46, 49, 92, 95},
      {kIsbn, "0123456789", 3, 46, 49, 92, 95},    {kEan8, "9638507", 3, 32, 35, 64, 67},
      {kJan8, "4912345", 3, 32, 35, 64, 67},       {kUpcA, "03600029145", 3, 46, 49, 92, 95},
      {kUpcE, "04210000526", 3, -1, -1, 46, 51},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    VnSupplementInfo(kSupplement5, "12345", 0.5);
    DefaultContext().state.leftDigitsEnd = DefaultContext().state.rightDigitsStart = -1;
    const testing::Bitmap bitmap = testing::RenderToBitmap();
    const int s = testing::NextDarkX(bitmap, kScanRow, 0);
    ASSERT_GE(s, 0) << c.data;
    EXPECT_EQ(DefaultContext().state.leftDigitsStart, s + c.leftStart * kModule) << c.data;
    EXPECT_EQ(DefaultContext().state.leftDigitsEnd, c.leftEnd < 0 ? -1 : s + c.leftEnd * kModule) << c.data;
    EXPECT_EQ(DefaultContext().state.rightDigitsStart, c.rightStart < 0 ? -1 : s + c.rightStart * kModule) << c.data;
    EXPECT_EQ(DefaultContext().state.rightDigitsEnd, s + c.rightEnd * kModule) << c.data;
    EXPECT_EQ(DefaultContext().state.symbolEnd, s + c.symbolEnd * kModule) << c.data;

    // The add-on: 0.5 cm at 96 pixels per inch is 18 pixels, then 47 modules ending with a bar.
    const int addOn = testing::NextDarkX(bitmap, kScanRow, DefaultContext().state.symbolEnd);
    EXPECT_EQ(DefaultContext().state.supplementStart, addOn) << c.data;
    EXPECT_EQ(addOn - DefaultContext().state.symbolEnd, 18) << c.data;
    EXPECT_EQ(DefaultContext().state.supplementEnd, addOn + 47 * kModule) << c.data;
    EXPECT_TRUE(testing::IsDark(bitmap, DefaultContext().state.supplementEnd - 1, kScanRow)) << c.data;
    EXPECT_EQ(testing::NextDarkX(bitmap, kScanRow, DefaultContext().state.supplementEnd), -1) << c.data;
  }
}

// The guards reach half a font height below the data bars, into the text row between the groups.
TEST(EanUpcTest, GuardBarsReachIntoTheTextRow) {
  for (const int showText : {1, 0}) {
    Select(kEan13, "590123412345");
    VnTextInfo(showText, 0, 0);
    const testing::Bitmap bitmap = testing::RenderToBitmap();
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

// The text runs of a render, in the order they were drawn.
struct TextRun {
  std::string text;
  Rect box;
};

std::vector<TextRun> PrintedRuns(const Surface& surface) {
  std::vector<TextRun> runs;
  for (const DrawOp& op : surface.Operations()) {
    if (op.kind == DrawOpKind::kText) runs.push_back(TextRun{surface.Text(op).text, surface.Text(op).clip});
  }
  return runs;
}

// The runs from runs[next] on print `digits` one per cell, the cells filling start to end without gap
// or overlap, on the text row; next moves past them.
void ExpectSpread(const std::vector<TextRun>& runs, std::size_t& next, const std::string& digits, int start, int end,
                  int row, const char* what) {
  int position = start;
  for (const char digit : digits) {
    ASSERT_LT(next, runs.size()) << what;
    const TextRun& run = runs[next++];
    EXPECT_EQ(run.text, std::string(1, digit)) << what;
    EXPECT_EQ(run.box.left, position) << what;
    EXPECT_GT(run.box.right, run.box.left) << what;
    EXPECT_EQ(run.box.top, row) << what;
    position = run.box.right;
  }
  EXPECT_EQ(position, end) << what;
}

TEST(EanUpcTest, PrintsEachDigitInItsCell) {
  struct Case {
    int symbology;
    const char* data;
    const char* leading;     // left of the symbol, or ""
    const char* leftGroup;   // from leftDigitsStart
    const char* rightGroup;  // up to rightDigitsEnd; empty for UPC-E, whose six digits are one group
    const char* trailing;    // right of the symbol, or ""
  };
  const Case cases[] = {
      {kEan13, "590123412345", "5", "901234", "123457", ""},
      {kIsbn, "0123456789", "9", "780123", "456786", ""},
      {kEan8, "9638507", "", "9638", "5074", ""},
      {kUpcA, "03600029145", "0", "36000", "29145", "2"},
      {kUpcE, "04210000526", "0", "425261", "", "4"},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    VnSupplementInfo(kSupplement5, "12345", 0.5);
    const std::vector<TextRun> runs = PrintedRuns(testing::RenderToSurface());
    const int bandTop = DefaultContext().state.offsetY;
    const int textRow = DefaultContext().state.offsetY + DefaultContext().state.barHeight;
    const int symbolStart = DefaultContext().state.offsetX;
    std::size_t next = 0;

    // The add-on's digits first, centred over its bars in the band's first font height.
    ASSERT_FALSE(runs.empty()) << c.data;
    EXPECT_EQ(runs[next].text, "12345") << c.data;
    EXPECT_EQ(runs[next].box, (Rect{DefaultContext().state.supplementStart, bandTop, DefaultContext().state.supplementEnd, bandTop + kFontHeight}))
        << c.data;
    ++next;
    if (c.symbology == kIsbn) {
      ASSERT_LT(next, runs.size());
      EXPECT_EQ(runs[next].text, "ISBN 0-123-45678-9");
      EXPECT_EQ(runs[next].box, (Rect{symbolStart, bandTop - kFontHeight, DefaultContext().state.symbolEnd, bandTop}));
      ++next;
    }
    if (*c.leading != '\0') {
      ASSERT_LT(next, runs.size()) << c.data;
      EXPECT_EQ(runs[next].text, c.leading) << c.data;
      EXPECT_EQ(runs[next].box, (Rect{symbolStart - kFontHeight, textRow, symbolStart, textRow + kFontHeight}))
          << c.data;
      ++next;
    }
    if (*c.rightGroup != '\0') {
      ExpectSpread(runs, next, c.leftGroup, DefaultContext().state.leftDigitsStart, DefaultContext().state.leftDigitsEnd, textRow, c.data);
      ExpectSpread(runs, next, c.rightGroup, DefaultContext().state.rightDigitsStart, DefaultContext().state.rightDigitsEnd, textRow, c.data);
    } else {
      ExpectSpread(runs, next, c.leftGroup, DefaultContext().state.leftDigitsStart, DefaultContext().state.rightDigitsEnd, textRow, c.data);
    }
    if (*c.trailing != '\0') {
      ASSERT_LT(next, runs.size()) << c.data;
      EXPECT_EQ(runs[next].text, c.trailing) << c.data;
      EXPECT_EQ(runs[next].box,
                (Rect{DefaultContext().state.symbolEnd + 3, textRow, DefaultContext().state.symbolEnd + 3 + kFontHeight, textRow + kFontHeight}))
          << c.data;
      ++next;
    }
    EXPECT_EQ(next, runs.size()) << c.data;
  }
}

TEST(EanUpcTest, CheckDigitOfWorkedValues) {
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
// caller's data is what it was. The text falls back to the drawing pass's working message (UPC-E
// builds its own), so it shows the number as the drawing pass saw it.
TEST(EanUpcTest, CheckDigitIsAppendedOncePerRender) {
  struct Case {
    int symbology;
    const char* data;
    const char* printed;
  };
  const Case cases[] = {
      {kEan13, "590123412345", "5901234123457"}, {kJan13, "490123456789", "4901234567894"},
      {kIsbn, "0123456789", "9780123456786"},    {kEan8, "9638507", "96385074"},
      {kJan8, "4912345", "49123456"},            {kUpcA, "03600029145", "036000291452"},
      {kUpcE, "04210000526", "04252614"},
  };
  for (const Case& c : cases) {
    Select(c.symbology, c.data);
    for (int render = 0; render < 2; ++render) {
      testing::RenderToSurface();
      EXPECT_STREQ(DefaultContext().state.humanText, c.printed) << c.data << " render " << render;
      EXPECT_STREQ(DefaultContext().settings.message, c.data) << c.data;
      EXPECT_STREQ(DefaultContext().state.workMessage, c.data) << c.data;
    }
  }
}

// The encoders run directly here, as they would on data that bypassed validation: one measuring pass
// from cursor 0 with one-unit modules, so the cursor ends at the symbol's length in modules.
int MeasuredModules(void (*encoder)(Context&), const char* data, char staleFill) {
  std::memset(DefaultContext().state.workMessage, staleFill, sizeof DefaultContext().state.workMessage);
  std::strcpy(DefaultContext().state.workMessage, data);
  DefaultContext().state.measuring = 1;
  DefaultContext().state.narrowWidth = 1;
  DefaultContext().state.cursor = 0;
  encoder(DefaultContext());
  return DefaultContext().state.cursor;
}

TEST(EanUpcTest, DataThatBypassedValidationDrawsOnlyItsOwnDigits) {
  testing::ResetLibrary();
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
      EXPECT_EQ(MeasuredModules(e.encode, data, '8'), MeasuredModules(e.encode, data, '\0')) << e.name << " " << data;
    }
    // A full buffer has no room for the check digit, but it stays terminated and still holds a
    // whole symbol's digits.
    EXPECT_EQ(MeasuredModules(e.encode, full.c_str(), '\0'), e.modules) << e.name;
    EXPECT_EQ(DefaultContext().state.workMessage[kMessageCapacity - 1], '\0') << e.name;
  }

  // A character that is not a digit draws nothing in its place: one digit fewer than 95 modules.
  EXPECT_EQ(MeasuredModules(EncodeEan13, "5901x3412345", '\0'), 95 - 7);
  EXPECT_EQ(MeasuredModules(EncodeUpcA, "0360x029145", '\0'), 95 - 7);
  EXPECT_EQ(MeasuredModules(EncodeEan8, "963x507", '\0'), 67 - 7);
}

}  // namespace
}  // namespace varnel
