// Code 128 and its GS1 forms (UCC/EAN-128 all-numeric, SSCC-18, AI 01): the symbol characters and
// check values read back from the pixels, the printed text, and symbols that independent decoders
// read back in every orientation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"
#include "symbologies/tables.h"

namespace varnel {
namespace {

constexpr int kStartA = 103;
constexpr int kStartB = 104;
constexpr int kStartC = 105;
constexpr int kFnc1 = 102;
// The published start and stop characters as module widths.
constexpr const char* kStartWidths[] = {"211412", "211214", "211232"};
constexpr const char* kStopWidths = "2331112";

// The published check: the start value plus each character's value times its position, modulo 103.
std::vector<int> WithCheck(std::vector<int> values) {
  int sum = values.front();
  for (std::size_t position = 1; position < values.size(); ++position) sum += static_cast<int>(position) * values[position];
  values.push_back(sum % 103);
  return values;
}

std::string Widths(const std::vector<int>& runs, std::size_t from, std::size_t count) {
  std::string widths;
  for (std::size_t i = from; i < from + count && i < runs.size(); ++i) widths += std::to_string(runs[i]);
  return widths;
}

// The value of a symbol character from its six module widths, or -1.
int ValueOf(const std::string& widths) {
  for (int start = 0; start < 3; ++start) {
    if (widths == kStartWidths[start]) return kStartA + start;
  }
  for (int value = 0; value < 103; ++value) {
    if (widths == Code128Patterns[value]) return value;
  }
  return -1;
}

class Code128Test : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary(context);
    SetTextInfo(context, 0, 0, 0);
  }

  // Renders with one pixel per module (two at 0.06 cm) and room for the worst case of three
  // characters a byte.
  testing::Bitmap Render(int symbology, const std::string& data, int orientation = 0, double narrowCm = 0.03) {
    SetBasicInfo(context, symbology, narrowCm, 2.5, orientation, 0);
    const int pixels = narrowCm < 0.05 ? 1 : 2;
    const int length = pixels * 11 * (3 * static_cast<int>(data.size()) + 6) + 80;
    if (orientation % 2 == 0) SetSize(context, length, 120); else SetSize(context, 120, length);
    SetMessage(context, data.c_str());
    return testing::RenderToBitmap(context);
  }

  // Module widths of the symbol, read across the middle of the bars, left to right.
  std::vector<int> Runs(int symbology, const std::string& data) {
    const testing::Bitmap bitmap = Render(symbology, data);
    return testing::ElementWidths(bitmap);
  }

  // The symbol characters read back from the pixels: the start, the data and check characters;
  // the stop must close the symbol.
  std::vector<int> Values(int symbology, const std::string& data) {
    const std::vector<int> runs = Runs(symbology, data);
    std::vector<int> values;
    if (runs.size() < 13 || (runs.size() - 7) % 6 != 0) {
      ADD_FAILURE() << "not a whole number of characters: " << runs.size() << " elements";
      return values;
    }
    for (std::size_t i = 0; i + 7 < runs.size(); i += 6) values.push_back(ValueOf(Widths(runs, i, 6)));
    EXPECT_EQ(Widths(runs, runs.size() - 7, 7), kStopWidths);
    return values;
  }

  // The human-readable text of a render of the current settings, as printed.
  std::string Printed() { return testing::PrintedText(RenderToSurface(context)); }

  Context context;
};

TEST_F(Code128Test, ModulesAreThePublishedCharacters) {
  SetTextInfo(context, 0, 1, 0);
  struct Case {
    int symbology;
    const char* data;
    const char* widths;
  };
  const Case cases[] = {
      // start C, 12, 34, check 82, stop
      {kCode128, "1234", "211232" "112232" "131123" "121241" "2331112"},
      // start C, FNC1, 1, 23, check 72, stop
      {kUccEan128, "123", "211232" "411131" "222122" "312131" "122411" "2331112"},
      // start C, FNC1, 0, 12, check 37, stop
      {kSscc18, "12", "211232" "411131" "212222" "112232" "132113" "2331112"},
      // start C, FNC1, 1, 12, check 39, stop
      {kUccEan128Ai01, "12", "211232" "411131" "222122" "112232" "211313" "2331112"},
  };
  for (const Case& c : cases) {
    const std::vector<int> runs = Runs(c.symbology, c.data);
    EXPECT_EQ(Widths(runs, 0, runs.size()), c.widths) << c.data;
  }
}

TEST_F(Code128Test, CodeSetsAndCheckValuesFollowTheWorkedExamples) {
  struct Case {
    std::string data;
    std::vector<int> values;  // start, data characters, check
  };
  const Case cases[] = {
      {"1234", {kStartC, 12, 34, 82}},
      {"12345", {kStartC, 12, 34, 100, 21, 54}},
      {"Code 128", {kStartB, 35, 79, 68, 69, 0, 17, 18, 24, 64}},
      {"AB12345", {kStartB, 33, 34, 99, 12, 34, 100, 21, 25}},
      {"a\x01" "b", {kStartB, 65, 101, 65, 100, 66, 60}},
      {"", {kStartA, 0}},
      {"\x7F", {kStartB, 1}},  // DEL is dropped
  };
  for (const Case& c : cases) EXPECT_EQ(Values(kCode128, c.data), c.values) << c.data;
}

TEST_F(Code128Test, SetCNeedsFourDigitsAndHoldsForEveryFurtherPair) {
  struct Case {
    std::string data;
    std::vector<int> values;  // start and data characters
  };
  const Case cases[] = {
      {"123A", {kStartB, 17, 18, 19, 33}},
      {"123456789", {kStartC, 12, 34, 56, 78, 100, 25}},
      {"A1234B", {kStartB, 33, 99, 12, 34, 100, 34}},
      {"A123B", {kStartB, 33, 17, 18, 19, 34}},
      {"A1234\x01", {kStartB, 33, 99, 12, 34, 101, 65}},
      {"\x1F", {kStartA, 95}},
      {"\x01" "A_`", {kStartA, 65, 33, 63, 100, 64}},  // A keeps 32..95 and leaves for B at 96
      {"\xCA" "1234", {kStartC, kFnc1, 12, 34}},
      {"AB\xCA" "12", {kStartB, 33, 34, kFnc1, 17, 18}},
      {"12\x7F" "34", {kStartB, 17, 18, 19, 20}},
  };
  for (const Case& c : cases) EXPECT_EQ(Values(kCode128, c.data), WithCheck(c.values)) << c.data;
}

TEST_F(Code128Test, Gs1FormsDrawFnc1AndDigitPairsAndPrintTheirText) {
  struct Case {
    int symbology;
    int addCheckDigit;
    std::string data;
    std::vector<int> values;  // start and data characters
    bool hasCheck;
    const char* printed;
  };
  const Case cases[] = {
      {kUccEan128, 0, "123", {kStartC, kFnc1, 1, 23}, true, "0123"},
      {kUccEan128, 0, "12\xCA\xCA" "34", {kStartC, kFnc1, 12, kFnc1, 34}, true, "12\xCA\xCA" "34"},
      {kUccEan128, 0, "1\xCA\xCA", {kStartC, kFnc1, 1, kFnc1}, true, "01\xCA\xCA"},
      {kSscc18, 1, "12", {kStartC, kFnc1, 0, 12}, true, "(00)12"},
      {kSscc18, 0, "12", {kStartC, kFnc1, 0, 12}, false, "(00)12"},
      {kUccEan128Ai01, 0, "12", {kStartC, kFnc1, 1, 12}, false, "0112"},
      {kUccEan128Ai01, 1, "1234", {kStartC, kFnc1, 1, 12, 34}, true, "011234"},
  };
  for (const Case& c : cases) {
    SetTextInfo(context, 1, c.addCheckDigit, 1);
    EXPECT_EQ(Values(c.symbology, c.data), c.hasCheck ? WithCheck(c.values) : c.values) << c.data;
    // Printed by the next render, from the data as it was set: the message is restored after a render.
    EXPECT_EQ(Printed(), c.printed) << c.data;
  }
  SetTextInfo(context, 1, 1, 1);
  EXPECT_EQ(Values(kSscc18, "12"), (std::vector<int>{kStartC, kFnc1, 0, 12, 37}));
}

// What a decoder must return for a symbol: its data and whether it announced GS1 data.
struct Expected {
  int symbology;
  std::string data;
  std::string decoded;
  bool gs1;
};

std::string AllBytes(int first, int last) {
  std::string bytes;
  for (int b = first; b <= last; ++b) bytes += static_cast<char>(b);
  return bytes;
}

class Code128DecodeTest : public Code128Test, public ::testing::WithParamInterface<int> {
 protected:
  void ExpectDecoded(const Expected& e, bool zbarReadsIt) {
    const int orientation = GetParam();
    // zbar misreads some characters drawn with one-pixel modules; two pixels suit both decoders.
    const testing::Bitmap bitmap = testing::WithQuietZone(Render(e.symbology, e.data, orientation, 0.06), 20);
    const auto zxing = testing::DecodeWithZxing(bitmap);
    ASSERT_EQ(zxing.size(), 1u) << e.data << " orientation " << orientation;
    EXPECT_EQ(zxing[0].text, e.decoded) << "ZXing, orientation " << orientation;
    EXPECT_EQ(zxing[0].gs1, e.gs1) << e.data;
    if (!zbarReadsIt) return;
    const auto zbar = testing::DecodeWithZbarSymbols(bitmap);
    ASSERT_EQ(zbar.size(), 1u) << e.data << " orientation " << orientation;
    EXPECT_EQ(zbar[0].text, e.decoded) << "zbar, orientation " << orientation;
    EXPECT_EQ(zbar[0].gs1, e.gs1) << e.data;
  }
};

TEST_P(Code128DecodeTest, DecodersReadTextDigitsAndControlBytes) {
  const Expected cases[] = {
      {kCode128, "Code 128", "Code 128", false},
      {kCode128, "12345678901234567890", "12345678901234567890", false},
      {kCode128, "AB12345", "AB12345", false},
      {kCode128, "Mixed 1234 and 56789!", "Mixed 1234 and 56789!", false},
      {kCode128, "a\x01" "b\tC\x1F" "_`{~}", "a\x01" "b\tC\x1F" "_`{~}", false},
      {kCode128, AllBytes(1, 126), AllBytes(1, 126), false},
      {kCode128, "DEL\x7F gone", "DEL gone", false},
  };
  for (const Expected& e : cases) ExpectDecoded(e, true);
}

TEST_P(Code128DecodeTest, ExtendedBytesReadBackThroughFnc4) {
  const Expected cases[] = {
      {kCode128, "Caf\xE9 cr\xE8me", "Caf\xE9 cr\xE8me", false},
      // 0xCA stands for FNC1 here, which reads back as the GS1 field separator
      {kCode128, AllBytes(128, 255), AllBytes(128, 201) + "\x1D" + AllBytes(203, 255), false},
      {kCode128, "\x81\xE0\x81\xE0" "1234\xFF", "\x81\xE0\x81\xE0" "1234\xFF", false},
      // FNC1 only stands before two more bytes; nearer the end 0xCA is data like any other
      {kCode128, "\xCA", "\xCA", false},
      {kCode128, "12\xCA" "3", "12\xCA" "3", false},
  };
  for (const Expected& e : cases) ExpectDecoded(e, false);
}

TEST_P(Code128DecodeTest, Gs1FormsReadBackAsGs1Data) {
  SetTextInfo(context, 0, 1, 0);
  const Expected cases[] = {
      {kUccEan128, "0112345678901231", "0112345678901231", true},
      {kUccEan128, "112345678901231", "0112345678901231", true},
      {kUccEan128, "0112345678901231\xCA\xCA" "10123456", "0112345678901231\x1D" "10123456", true},
      {kSscc18, "123456789012345675", "00123456789012345675", true},
      {kUccEan128Ai01, "12345678901231", "0112345678901231", true},
      {kCode128, "\xCA" "0112345678901231", "0112345678901231", true},
  };
  for (const Expected& e : cases) ExpectDecoded(e, true);
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, Code128DecodeTest, ::testing::Values(0, 1, 2, 3));

// 999 bytes with every switch on: the longest symbols fit their buffers and still read back.
TEST_F(Code128Test, LongestMessagesRenderWhole) {
  SetTextInfo(context, 1, 1, 1);
  std::string worstCase;  // each byte costs a code-set switch, FNC4 and its character
  for (int i = 0; i < 999; ++i) worstCase += i % 2 == 0 ? '\x81' : '\xE0';
  const Expected cases[] = {
      {kCode128, worstCase, worstCase, false},
      {kCode128, std::string(999, '7'), std::string(999, '7'), false},
      {kUccEan128, std::string(999, '5'), std::string("0").append(999, '5'), true},
      {kSscc18, std::string(998, '3'), std::string("00").append(998, '3'), true},
      {kUccEan128Ai01, std::string(998, '4'), std::string("01").append(998, '4'), true},
  };
  for (const Expected& e : cases) {
    const testing::Bitmap bitmap = testing::WithQuietZone(Render(e.symbology, e.data), 20);
    // The message is restored after a render, and the printed text stops within its buffer.
    const testing::Recording again = testing::Record(RenderToSurface(context));
    EXPECT_EQ(testing::Record(RenderToSurface(context)), again) << "symbology " << e.symbology;
    EXPECT_LT(testing::PrintedText(RenderToSurface(context)).size(), std::size_t{kMessageCapacity});
    const auto zxing = testing::DecodeWithZxing(bitmap);
    ASSERT_EQ(zxing.size(), 1u) << "symbology " << e.symbology;
    EXPECT_EQ(zxing[0].text, e.decoded) << "symbology " << e.symbology;
    EXPECT_EQ(zxing[0].gs1, e.gs1) << "symbology " << e.symbology;
  }
}

}  // namespace
}  // namespace varnel
