// Code 128 and its GS1 forms (UCC/EAN-128 all-numeric, SSCC-18, AI 01): the symbol characters and
// check values read back from the pixels, the printed text, and symbols that independent decoders
// read back in every orientation.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
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
constexpr int kCodeC = 99;
constexpr int kCodeB = 100;
constexpr int kCodeA = 101;
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
    SetSymbology(context, symbology);
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

// GS1-128: start, FNC1, the element strings in the code sets that take the fewest characters, an FNC1
// after each element string whose length is not predefined but the last, and always the check.
TEST_F(Code128Test, Gs1_128DrawsElementStringsWithSeparatorsWhereLengthsVary) {
  struct Case {
    std::string data;
    std::vector<int> values;  // start and data characters
  };
  const Case cases[] = {
      // 01 and 17 have predefined lengths: no separator; 10 is last.
      {"(01)09501101530003(17)260101(10)ABC123",
       {kStartC, kFnc1, 1, 9, 50, 11, 1, 53, 0, 3, 17, 26, 1, 1, 10, kCodeB, 33, 34, 35, 17, 18, 19}},
      // 10 varies in length and is not last: a separator, drawn in set B, before set C returns.
      {"(01)09501101530003(10)AB(17)260101",
       {kStartC, kFnc1, 1, 9, 50, 11, 1, 53, 0, 3, 10, kCodeB, 33, 34, kFnc1, kCodeC, 17, 26, 1, 1}},
      // Square brackets read the same; a separator stays in set C between digits.
      {"[01]09501101530003[10]12[21]34", {kStartC, kFnc1, 1, 9, 50, 11, 1, 53, 0, 3, 10, 12, kFnc1, 21, 34}},
      // An odd count of digits: the last one goes to set B, which costs a switch and one character.
      {"(00)376104250021234569(400)1234", {kStartC, kFnc1, 0, 37, 61, 4, 25, 0, 21, 23, 45, 69, 40, 1, 23, kCodeB, 20}},
  };
  for (const Case& c : cases) {
    SetTextInfo(context, 1, 0, 1);  // the check character is drawn whatever the switch says
    EXPECT_EQ(Values(kGs1_128, c.data), WithCheck(c.values)) << c.data;
  }
}

// The printed text is the element strings with their AIs in parentheses, however they were bracketed.
TEST_F(Code128Test, Gs1_128PrintsItsAisInParentheses) {
  SetTextInfo(context, 1, 0, 0);
  SetBasicInfo(context, kGs1_128, 0.03, 2.5, 0, 0);
  SetSymbology(context, kGs1_128);
  for (const auto& [data, printed] : {std::pair{"(01)09501101530003(17)260101(10)ABC123", "(01)09501101530003(17)260101(10)ABC123"},
                                      std::pair{"[01]09501101530003[10]A(B)C", "(01)09501101530003(10)A(B)C"}}) {
    SetMessage(context, data);
    EXPECT_EQ(Printed(), printed);
  }
}

// What the symbol characters of a GS1-128 symbol transmit: the element strings with a group
// separator (0x1D) for each FNC1 after the first, read with the published code sets: A holds 32..95
// then the control bytes, B 32..127, C the pairs 00..99; 99, 100 and 101 enter C, B and A from the
// sets that have them, and set A's 101 and set B's 100 are FNC4, which GS1 data never has.
std::string Transmitted(const std::vector<int>& values) {
  std::string text;
  int set = values.front() - kStartA;  // 0 A, 1 B, 2 C
  for (std::size_t i = 2; i + 1 < values.size(); ++i) {
    const int v = values[i];
    if (v == kFnc1) {
      text += '\x1D';
    } else if (v == kCodeC && set != 2) {
      set = 2;
    } else if (v == kCodeB && set != 1) {
      set = 1;
    } else if (v == kCodeA && set != 0) {
      set = 0;
    } else if (set == 2) {
      text += static_cast<char>('0' + v / 10);
      text += static_cast<char>('0' + v % 10);
    } else if (set == 1) {
      text += static_cast<char>(v + 32);
    } else {
      text += static_cast<char>(v < 64 ? v + 32 : v - 64);
    }
  }
  return text;
}

// The fewest symbol characters that can carry the data characters (an FNC1 written as 0x1D), found
// by trying every way of giving each byte a code set: set C must take whole digit pairs, which an
// FNC1 between them splits; each change of set costs a switch; an FNC1 costs one in any set. (A
// shift, which would borrow one character of the other of sets A and B, is left out: GS1 data has no
// control bytes, so B holds all that A does.)
int FewestCharacters(const std::string& data) {
  std::vector<std::size_t> bytes;  // where the bytes are, between the FNC1s
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] != '\x1D') bytes.push_back(i);
  }
  const auto holds = [](int set, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (set == 2) return byte >= '0' && byte <= '9';
    return byte >= 32 && byte < (set == 0 ? 96 : 128);
  };
  int assignments = 1;
  for (std::size_t k = 0; k < bytes.size(); ++k) assignments *= 3;
  int best = INT_MAX;
  for (int assignment = 0; assignment < assignments; ++assignment) {
    std::vector<int> sets;
    for (int code = assignment; sets.size() < bytes.size(); code /= 3) sets.push_back(code % 3);
    bool possible = true;
    int characters = static_cast<int>(data.size() - bytes.size());  // the FNC1s
    bool halfPair = false;  // a digit of set C waits for the other of its pair
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      possible = possible && holds(sets[k], data[bytes[k]]);
      const bool continuesPairs = k > 0 && sets[k] == 2 && sets[k - 1] == 2 && bytes[k] == bytes[k - 1] + 1;
      if (!continuesPairs) possible = possible && !halfPair;
      if (k > 0 && sets[k] != sets[k - 1]) ++characters;  // the switch
      if (sets[k] == 2) {
        halfPair = !halfPair;
        if (halfPair) ++characters;  // a pair's one character, counted at its first digit
      } else {
        ++characters;
      }
    }
    if (possible && !halfPair) best = std::min(best, characters);
  }
  return best;
}

// The code sets chosen for every short data of digits and letters, alone and split by separators,
// give a symbol as short as the best of every way of assigning them, and it carries the data.
TEST_F(Code128Test, Gs1_128CodeSetsAreAsFewAsAnyAssignmentAllows) {
  std::vector<std::string> fields{""};
  for (std::size_t length = 1; length <= 5; ++length) {
    std::vector<std::string> longer;
    for (const std::string& field : fields) {
      if (field.size() + 1 != length) continue;
      for (const char c : {'1', '2', 'x'}) longer.push_back(field + c);
    }
    fields.insert(fields.end(), longer.begin(), longer.end());
  }
  std::vector<std::pair<std::string, std::string>> messages;  // as written, as transmitted
  for (const std::string& field : fields) {
    if (!field.empty()) messages.push_back({"(90)" + field, "90" + field});
  }
  for (const std::string& first : fields) {
    for (const std::string& second : fields) {
      if (first.empty() || second.empty() || first.size() + second.size() > 4) continue;
      messages.push_back({"(90)" + first + "(91)" + second, "90" + first + "\x1D" "91" + second});
    }
  }
  for (const auto& [written, transmitted] : messages) {
    const std::vector<int> values = Values(kGs1_128, written);
    ASSERT_GE(values.size(), 3u) << written;
    EXPECT_EQ(values[1], kFnc1) << written;
    EXPECT_EQ(Transmitted(values), transmitted) << written;
    EXPECT_EQ(static_cast<int>(values.size()) - 3, FewestCharacters(transmitted)) << written;
  }
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

// Both readers take GS1-128 as GS1 data: ZXing with the symbology identifier ]C1, both with a group
// separator where an FNC1 ends an element string whose length is not predefined.
TEST_P(Code128DecodeTest, Gs1_128ReadsBackAsElementStrings) {
  const Expected cases[] = {
      {kGs1_128, "(01)09501101530003(17)260101(10)ABC123", "01095011015300031726010110ABC123", true},
      {kGs1_128, "(00)376104250021234569", "00376104250021234569", true},
      {kGs1_128, "[01]09501101530003[10]Lot(7)-b[21]x/9", "010950110153000310Lot(7)-b\x1D" "21x/9", true},
      {kGs1_128, "(01)09501101530003(3103)001250(10)1234(17)261231",
       "0109501101530003310300125010" "1234\x1D" "17261231", true},
  };
  for (const Expected& e : cases) {
    ExpectDecoded(e, true);
    const testing::Bitmap bitmap = testing::WithQuietZone(Render(e.symbology, e.data, GetParam(), 0.06), 20);
    const auto zxing = testing::DecodeWithZxing(bitmap);
    ASSERT_EQ(zxing.size(), 1u) << e.data;
    EXPECT_EQ(zxing[0].identifier, "]C1") << e.data;
  }
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
