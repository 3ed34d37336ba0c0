// The encoding tables and LookupSymbolIndex. These tests check the tables through properties that
// follow from each symbology's construction rules (element counts, module sums, parity, weights,
// uniqueness) and through the lookup's contract, rather than by repeating the table contents.
#include "symbologies/tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace varnel {
namespace {

constexpr const char* kCode39CheckOrder = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

int CountOf(char letter, const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), letter));
}

// The sum of the widths at the given element parity of a digit-width pattern (0: first, third, ...).
int WidthSumAt(const std::string& pattern, std::size_t firstElement) {
  int sum = 0;
  for (std::size_t i = firstElement; i < pattern.size(); i += 2) sum += pattern[i] - '0';
  return sum;
}

int WidthSum(const std::string& pattern) { return WidthSumAt(pattern, 0) + WidthSumAt(pattern, 1); }

bool OnlyLetters(const std::string& text, const std::string& alphabet) {
  return text.find_first_not_of(alphabet) == std::string::npos;
}

std::string Reversed(std::string text) {
  std::reverse(text.begin(), text.end());
  return text;
}

std::string Swapped(std::string text, char a, char b) {
  for (char& c : text) {
    if (c == a) c = b;
    else if (c == b) c = a;
  }
  return text;
}

std::string Key(int byte) { return std::string(1, static_cast<char>(byte)); }

template <std::size_t N>
std::vector<std::string> PatternsOf(const KeyedRow (&rows)[N]) {
  std::vector<std::string> patterns;
  for (const KeyedRow& row : rows) patterns.emplace_back(row.pattern);
  return patterns;
}

bool AllDistinct(const std::vector<std::string>& items) {
  return std::set<std::string>(items.begin(), items.end()).size() == items.size();
}

// A keyed table together with the id that searches it.
struct SearchedTable {
  int tableId;
  const KeyedRow* rows;
  int size;
};

template <std::size_t N>
SearchedTable Searched(int tableId, const KeyedRow (&rows)[N]) {
  return {tableId, rows, static_cast<int>(N)};
}

std::vector<SearchedTable> AllKeyedTables() {
  return {
      Searched(kCodabarTableId, CodabarTable),   Searched(kCode11TableId, Code11Table),
      Searched(kCode39TableId, Code39Table),     Searched(kCode93TableId, Code93Table),
      Searched(kMsiTableId, MsiTable),           Searched(kEanSetATableId, EanSetATable),
      Searched(kEanSetBTableId, EanSetBTable),   Searched(kEanSetCTableId, EanSetCTable),
      Searched(kUpcLeftTableId, UpcLeftTable),   Searched(kUpcRightTableId, UpcRightTable),
      Searched(kUpcEvenTableId, UpcEvenTable),   Searched(kUpcOddTableId, UpcOddTable),
      Searched(kTwoOfFiveTableId, TwoOfFiveTable),
  };
}

const std::vector<int>& SupportedTableIds() {
  static const std::vector<int> ids = {0, 1, 2, 3, 5, 14, 21, 40, 41, 42, 43, 44, 45, 46, 47};
  return ids;
}

// ---------------------------------------------------------------------------------------------
// LookupSymbolIndex

TEST(LookupSymbolIndex, FindsEveryKeyOfEveryKeyedTableAtItsOwnRow) {
  for (const SearchedTable& table : AllKeyedTables()) {
    for (int row = 0; row < table.size; ++row) {
      EXPECT_EQ(LookupSymbolIndex(table.tableId, table.rows[row].key), row)
          << "table " << table.tableId << " key \"" << table.rows[row].key << "\"";
    }
  }
}

TEST(LookupSymbolIndex, FindsEveryCode128KeyAtItsSymbolValue) {
  for (int value = 0; value < 103; ++value) {
    EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, Code128SetBKeys[value]), value);
    EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, Code128SetCKeys[value]), value);
  }
}

TEST(LookupSymbolIndex, Code39FindsStartStopAfterTheDataCharacters) {
  EXPECT_EQ(LookupSymbolIndex(kCode39TableId, "*"), 43);
  EXPECT_EQ(LookupSymbolIndex(kCode39TableId, "$"), 39);
  EXPECT_EQ(LookupSymbolIndex(kCode39TableId, "a"), -1);
}

TEST(LookupSymbolIndex, IsCaseSensitive) {
  for (const char* lower : {"a", "d", "z"}) {
    EXPECT_EQ(LookupSymbolIndex(kCode39TableId, lower), -1) << lower;
    EXPECT_EQ(LookupSymbolIndex(kCode93TableId, lower), -1) << lower;
    EXPECT_EQ(LookupSymbolIndex(kCodabarTableId, lower), -1) << lower;
  }
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "a"), 'a' - 32);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "A"), 'A' - 32);
}

TEST(LookupSymbolIndex, CodabarAndCode11PlaceTheirLastKeysLast) {
  EXPECT_EQ(LookupSymbolIndex(kCodabarTableId, "D"), 19);
  EXPECT_EQ(LookupSymbolIndex(kCodabarTableId, "#"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode11TableId, "-"), 10);
  EXPECT_EQ(LookupSymbolIndex(kCode11TableId, "A"), -1);
}

TEST(LookupSymbolIndex, Code93ShiftCharactersNeedTheirWholeTwoByteKey) {
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "_1"), 43);
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "_4"), 46);
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "_"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "_5"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "_1_"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode93TableId, "*"), -1);
}

TEST(LookupSymbolIndex, MatchesWholeStringsOnly) {
  // A key that merely starts with a row's key, or is a prefix of one, must not match it.
  EXPECT_EQ(LookupSymbolIndex(kCode39TableId, "AB"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode39TableId, "00"), -1);
  EXPECT_EQ(LookupSymbolIndex(kEanSetATableId, "10"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "070"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "  "), -1);
}

TEST(LookupSymbolIndex, Code128SetBMapsPrintableBytesAndMarkerBytes) {
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, " "), 0);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "~"), 94);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "\xC7"), 99);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "\xC8"), 100);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "\xC9"), 101);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "\xCA"), 102);
}

TEST(LookupSymbolIndex, Code128SetBRejectsControlBytesDelAndUnusedHighBytes) {
  for (int byte = 1; byte < 32; ++byte) {
    EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, Key(byte).c_str()), -1) << "byte " << byte;
  }
  EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, "\x7F"), -1);
  for (int byte : {0x80, 0xC2, 0xCB, 0xFF}) {
    EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, Key(byte).c_str()), -1) << "byte " << byte;
  }
}

TEST(LookupSymbolIndex, Code128SetBFindsEachByteAtItsSymbolValue) {
  for (int byte = 32; byte <= 126; ++byte) {
    EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, Key(byte).c_str()), byte - 32) << "byte " << byte;
  }
  for (int byte = 0xC3; byte <= 0xCA; ++byte) {
    EXPECT_EQ(LookupSymbolIndex(kCode128SetBKeysId, Key(byte).c_str()), byte - 100) << "byte " << byte;
  }
}

TEST(LookupSymbolIndex, Code128SetCTakesDigitPairsAndDoubledMarkers) {
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "07"), 7);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "7"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xC8\xC8"), 100);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xC9\xC9"), 101);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xCA\xCA"), 102);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xCA"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xC7\xC7"), -1);
  EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, "\xC8\xC9"), -1);
  for (int value = 0; value < 100; ++value) {
    const std::string pair = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
    EXPECT_EQ(LookupSymbolIndex(kCode128SetCKeysId, pair.c_str()), value) << pair;
  }
}

TEST(LookupSymbolIndex, UnsupportedTableIdsFindNothing) {
  for (int tableId : {-1, 4, 48, -100, 1000, 6, 13, 15, 20, 22, 39}) {
    EXPECT_EQ(LookupSymbolIndex(tableId, "0"), -1) << "table " << tableId;
    EXPECT_EQ(LookupSymbolIndex(tableId, "A"), -1) << "table " << tableId;
  }
}

TEST(LookupSymbolIndex, EmptyOrMissingKeyFindsNothing) {
  for (int tableId : SupportedTableIds()) {
    EXPECT_EQ(LookupSymbolIndex(tableId, ""), -1) << "table " << tableId;
    EXPECT_EQ(LookupSymbolIndex(tableId, nullptr), -1) << "table " << tableId;
  }
}

TEST(LookupSymbolIndex, UpcParityTablesSelectEvenAndOddWidths) {
  const int evenRow = LookupSymbolIndex(kUpcEvenTableId, "0");
  const int oddRow = LookupSymbolIndex(kUpcOddTableId, "0");
  ASSERT_EQ(evenRow, 0);
  ASSERT_EQ(oddRow, 0);
  EXPECT_STREQ(UpcEvenTable[evenRow].pattern, "1123");
  EXPECT_STREQ(UpcOddTable[oddRow].pattern, "3211");
}

TEST(LookupSymbolIndex, DigitTablesPutEachDigitAtItsValue) {
  for (int tableId : {kMsiTableId, kEanSetATableId, kEanSetBTableId, kEanSetCTableId, kUpcLeftTableId,
                      kUpcRightTableId, kUpcEvenTableId, kUpcOddTableId, kTwoOfFiveTableId,
                      kCodabarTableId, kCode11TableId, kCode39TableId, kCode93TableId}) {
    for (int digit = 0; digit < 10; ++digit) {
      EXPECT_EQ(LookupSymbolIndex(tableId, Key('0' + digit).c_str()), digit) << "table " << tableId;
    }
  }
  for (int tableId : {kMsiTableId, kEanSetATableId, kTwoOfFiveTableId}) {
    EXPECT_EQ(LookupSymbolIndex(tableId, "-"), -1);
    EXPECT_EQ(LookupSymbolIndex(tableId, "A"), -1);
  }
}

// ---------------------------------------------------------------------------------------------
// Spot checks against the symbologies' published character tables. The structural tests below cannot
// tell two valid rows apart, so a few rows spread over each table pin the row order.

TEST(PublishedRows, MatchTheSymbologyTablesAtSampledRows) {
  EXPECT_STREQ(CodabarTable[LookupSymbolIndex(kCodabarTableId, "0")].pattern, "nnnnnww");
  EXPECT_STREQ(CodabarTable[LookupSymbolIndex(kCodabarTableId, "-")].pattern, "nnnwwnn");
  EXPECT_STREQ(CodabarTable[LookupSymbolIndex(kCodabarTableId, ":")].pattern, "wnnnwnw");
  EXPECT_STREQ(CodabarTable[LookupSymbolIndex(kCodabarTableId, "A")].pattern, "nnwwnwn");
  EXPECT_STREQ(Code11Table[LookupSymbolIndex(kCode11TableId, "0")].pattern, "nnnnw");
  EXPECT_STREQ(Code11Table[LookupSymbolIndex(kCode11TableId, "9")].pattern, "wnnnn");
  EXPECT_STREQ(Code39Table[LookupSymbolIndex(kCode39TableId, "0")].pattern, "nnnwwnwnn");
  EXPECT_STREQ(Code39Table[LookupSymbolIndex(kCode39TableId, "A")].pattern, "wnnnnwnnw");
  EXPECT_STREQ(Code39Table[LookupSymbolIndex(kCode39TableId, "*")].pattern, "nwnnwnwnn");
  EXPECT_STREQ(Code93Table[LookupSymbolIndex(kCode93TableId, "0")].pattern, "131112");
  EXPECT_STREQ(Code93Table[LookupSymbolIndex(kCode93TableId, "%")].pattern, "211131");
  EXPECT_STREQ(Code93Table[LookupSymbolIndex(kCode93TableId, "_1")].pattern, "121221");
  EXPECT_STREQ(Code93Table[LookupSymbolIndex(kCode93TableId, "_4")].pattern, "122211");
  EXPECT_STREQ(Code128Patterns[0], "212222");
  EXPECT_STREQ(Code128Patterns[23], "312131");
  EXPECT_STREQ(Code128Patterns[64], "111422");
  EXPECT_STREQ(Code128Patterns[99], "113141");
  EXPECT_STREQ(Code128Patterns[102], "411131");
}

// ---------------------------------------------------------------------------------------------
// Code 39 and its full-ASCII table

TEST(Code39Table, EveryPatternHasNineElementsWithExactlyThreeWide) {
  for (const KeyedRow& row : Code39Table) {
    const std::string pattern = row.pattern;
    EXPECT_EQ(pattern.size(), 9u) << row.key;
    EXPECT_TRUE(OnlyLetters(pattern, "nw")) << row.key;
    EXPECT_EQ(CountOf('w', pattern), 3) << row.key;
  }
  EXPECT_TRUE(AllDistinct(PatternsOf(Code39Table)));
}

TEST(Code39Table, WideSpacePlacementSeparatesCharacterGroups) {
  // Of the four spaces, the digits and letters have one wide space and two wide bars; the four
  // symbols $ / + % have three wide spaces and no wide bar.
  for (const KeyedRow& row : Code39Table) {
    const std::string pattern = row.pattern;
    int wideSpaces = 0;
    for (std::size_t i = 1; i < pattern.size(); i += 2) wideSpaces += pattern[i] == 'w';
    const bool isSymbol = std::string("$/+%").find(row.key[0]) != std::string::npos;
    EXPECT_EQ(wideSpaces, isSymbol ? 3 : 1) << row.key;
  }
}

TEST(Code39Table, RowsFollowCheckValueOrderAndCheckCharactersAvoidStartStop) {
  for (int value = 0; value < 43; ++value) {
    EXPECT_EQ(std::string(Code39Table[value].key), std::string(1, kCode39CheckOrder[value]));
  }
  // A modulo-43 sum can only reach rows 0..42, so a sum with remainder 39 is drawn as '$'.
  EXPECT_STREQ(Code39Table[(43 * 5 + 39) % 43].key, "$");
}

// Reads a full-ASCII sequence back into its byte with the published shift rules.
int DecodeCode39FullAscii(const std::string& sequence) {
  if (sequence.size() == 1) return static_cast<unsigned char>(sequence[0]);
  const char shift = sequence[0];
  const char letter = sequence[1];
  switch (shift) {
    case '$': return letter - 'A' + 1;
    case '+': return letter - 'A' + 'a';
    case '/': return letter == 'Z' ? ':' : letter - 'A' + '!';
    case '%':
      if (letter >= 'A' && letter <= 'E') return letter - 'A' + 27;
      if (letter >= 'F' && letter <= 'J') return letter - 'F' + ';';
      if (letter >= 'K' && letter <= 'O') return letter - 'K' + '[';
      if (letter >= 'P' && letter <= 'T') return letter - 'P' + '{';
      if (letter == 'U') return 0;
      if (letter == 'V') return '@';
      if (letter == 'W') return '`';
      return -1;
    default: return -1;
  }
}

TEST(Code39AsciiTable, EveryRowIsASequenceOfCode39DataCharacters) {
  for (int code = 0; code < 128; ++code) {
    const std::string sequence = Code39AsciiTable[code];
    ASSERT_TRUE(sequence.size() == 1 || sequence.size() == 2) << "code " << code;
    for (char c : sequence) {
      const int row = LookupSymbolIndex(kCode39TableId, Key(static_cast<unsigned char>(c)).c_str());
      EXPECT_GE(row, 0) << "code " << code;
      EXPECT_LT(row, 43) << "code " << code << " uses the start/stop character";
    }
  }
}

TEST(Code39AsciiTable, EveryRowDecodesBackToItsAsciiCode) {
  for (int code = 0; code < 128; ++code) {
    EXPECT_EQ(DecodeCode39FullAscii(Code39AsciiTable[code]), code) << "\"" << Code39AsciiTable[code] << "\"";
  }
  EXPECT_STREQ(Code39AsciiTable[0], "%U");
  EXPECT_STREQ(Code39AsciiTable[97], "+A");
}

TEST(Code39AsciiTable, CharactersCode39HasStandForThemselves) {
  for (int code = 0; code < 128; ++code) {
    const bool native = code == ' ' || code == '-' || code == '.' || (code >= '0' && code <= '9') ||
                        (code >= 'A' && code <= 'Z');
    const std::string sequence = Code39AsciiTable[code];
    if (native) {
      EXPECT_EQ(sequence, std::string(1, static_cast<char>(code)));
    } else {
      EXPECT_EQ(sequence.size(), 2u) << "code " << code;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Codabar and Code 11

TEST(CodabarTable, PatternsHaveSevenElementsInTheirCharacterGroups) {
  for (const KeyedRow& row : CodabarTable) {
    const std::string pattern = row.pattern;
    ASSERT_EQ(pattern.size(), 7u) << row.key;
    EXPECT_TRUE(OnlyLetters(pattern, "nw")) << row.key;
    int wideBars = 0;
    int wideSpaces = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) (i % 2 == 0 ? wideBars : wideSpaces) += pattern[i] == 'w';
    const std::string key = row.key;
    if (std::string("0123456789-$").find(key) != std::string::npos) {
      EXPECT_EQ(wideBars, 1) << key;
      EXPECT_EQ(wideSpaces, 1) << key;
    } else if (std::string(":/.+").find(key) != std::string::npos) {
      EXPECT_EQ(wideBars, 3) << key;
      EXPECT_EQ(wideSpaces, 0) << key;
    } else {
      EXPECT_EQ(wideBars, 1) << key;
      EXPECT_EQ(wideSpaces, 2) << key;
    }
  }
  EXPECT_TRUE(AllDistinct(PatternsOf(CodabarTable)));
}

TEST(Code11Table, PatternsHaveFiveElementsAndDifferFromStartStop) {
  std::vector<std::string> patterns = PatternsOf(Code11Table);
  for (const KeyedRow& row : Code11Table) {
    const std::string pattern = row.pattern;
    ASSERT_EQ(pattern.size(), 5u) << row.key;
    EXPECT_TRUE(OnlyLetters(pattern, "nw")) << row.key;
    const int wide = CountOf('w', pattern);
    // 0, 9 and '-' are the short characters with a single wide element; all others have two.
    const bool shortCharacter = std::string("09-").find(row.key) != std::string::npos;
    EXPECT_EQ(wide, shortCharacter ? 1 : 2) << row.key;
    const bool hasWideBar = pattern[0] == 'w' || pattern[2] == 'w' || pattern[4] == 'w';
    EXPECT_TRUE(hasWideBar) << row.key;
  }
  patterns.emplace_back("nnwwn");  // the character part of start/stop
  EXPECT_TRUE(AllDistinct(patterns));
}

// ---------------------------------------------------------------------------------------------
// Code 93

TEST(Code93Table, PatternsAreSixWidthsOfNineModules) {
  std::vector<std::string> patterns = PatternsOf(Code93Table);
  for (const std::string& pattern : patterns) {
    ASSERT_EQ(pattern.size(), 6u) << pattern;
    EXPECT_TRUE(OnlyLetters(pattern, "1234")) << pattern;
    EXPECT_EQ(WidthSum(pattern), 9) << pattern;
  }
  patterns.emplace_back("111141");  // start/stop
  EXPECT_TRUE(AllDistinct(patterns));
}

TEST(Code93Table, SharesCode39CheckOrderThenShiftCharacters) {
  for (int value = 0; value < 43; ++value) {
    EXPECT_STREQ(Code93Table[value].key, Code39Table[value].key) << "value " << value;
  }
  for (int value = 43; value < 47; ++value) {
    const std::string key = Code93Table[value].key;
    EXPECT_EQ(key, std::string("_") + static_cast<char>('1' + value - 43));
  }
}

// ---------------------------------------------------------------------------------------------
// Code 128

TEST(Code128Patterns, AreElevenModulesWithEvenBarModules) {
  for (int value = 0; value < 103; ++value) {
    const std::string pattern = Code128Patterns[value];
    ASSERT_EQ(pattern.size(), 6u) << "value " << value;
    EXPECT_TRUE(OnlyLetters(pattern, "1234")) << "value " << value;
    EXPECT_EQ(WidthSum(pattern), 11) << "value " << value;
    EXPECT_EQ(WidthSumAt(pattern, 0) % 2, 0) << "value " << value;
  }
}

TEST(Code128Patterns, AreDistinctFromEachOtherAndFromTheStartCodes) {
  std::vector<std::string> patterns(std::begin(Code128Patterns), std::end(Code128Patterns));
  patterns.insert(patterns.end(), {"211412", "211214", "211232"});
  EXPECT_TRUE(AllDistinct(patterns));
}

TEST(Code128Keys, SetCRowsAreTheirValueAsTwoDigits) {
  for (int value = 0; value < 100; ++value) {
    const std::string key = Code128SetCKeys[value];
    ASSERT_EQ(key.size(), 2u);
    EXPECT_EQ((key[0] - '0') * 10 + (key[1] - '0'), value);
  }
}

TEST(Code128Keys, ControlValuesShareTheirMarkerByteAcrossSets) {
  // Set C's markers are set B's marker byte doubled, so one marker byte means the same value in both.
  for (int value = 100; value < 103; ++value) {
    const std::string setB = Code128SetBKeys[value];
    ASSERT_EQ(setB.size(), 1u);
    EXPECT_EQ(std::string(Code128SetCKeys[value]), setB + setB) << "value " << value;
  }
}

// ---------------------------------------------------------------------------------------------
// EAN / UPC

TEST(EanTables, DigitPatternsAreFourWidthsOfSevenModules) {
  for (const auto* table : {EanSetATable, EanSetBTable, EanSetCTable, UpcLeftTable, UpcRightTable,
                            UpcEvenTable, UpcOddTable}) {
    for (int digit = 0; digit < 10; ++digit) {
      const std::string pattern = table[digit].pattern;
      ASSERT_EQ(pattern.size(), 4u);
      EXPECT_TRUE(OnlyLetters(pattern, "1234"));
      EXPECT_EQ(WidthSum(pattern), 7) << pattern;
    }
  }
}

TEST(EanTables, SetAHasOddAndSetBEvenParity) {
  // Both sets are drawn space first, so elements 1 and 3 are the bars.
  for (int digit = 0; digit < 10; ++digit) {
    EXPECT_EQ(WidthSumAt(EanSetATable[digit].pattern, 1) % 2, 1) << "digit " << digit;
    EXPECT_EQ(WidthSumAt(EanSetBTable[digit].pattern, 1) % 2, 0) << "digit " << digit;
  }
  std::vector<std::string> both = PatternsOf(EanSetATable);
  const std::vector<std::string> setB = PatternsOf(EanSetBTable);
  both.insert(both.end(), setB.begin(), setB.end());
  EXPECT_TRUE(AllDistinct(both));
}

TEST(EanTables, SetBIsSetAReversed) {
  for (int digit = 0; digit < 10; ++digit) {
    EXPECT_EQ(std::string(EanSetBTable[digit].pattern), Reversed(EanSetATable[digit].pattern)) << digit;
  }
}

TEST(EanTables, DuplicateTablesHoldTheirSourceSetRows) {
  for (int digit = 0; digit < 10; ++digit) {
    const std::string setA = EanSetATable[digit].pattern;
    EXPECT_EQ(std::string(EanSetCTable[digit].pattern), setA);
    EXPECT_EQ(std::string(UpcLeftTable[digit].pattern), setA);
    EXPECT_EQ(std::string(UpcRightTable[digit].pattern), setA);
    EXPECT_EQ(std::string(UpcOddTable[digit].pattern), setA);
    EXPECT_EQ(std::string(UpcEvenTable[digit].pattern), std::string(EanSetBTable[digit].pattern));
  }
}

TEST(EanParityTable, RowsOtherThanZeroUseSetBThreeTimes) {
  std::vector<std::string> rows(std::begin(EanParityTable), std::end(EanParityTable));
  for (int lead = 0; lead < 10; ++lead) {
    ASSERT_EQ(rows[lead].size(), 5u);
    EXPECT_TRUE(OnlyLetters(rows[lead], "AB"));
    // Leading digit 0 is UPC-A: an all-set-A left half.
    EXPECT_EQ(CountOf('B', rows[lead]), lead == 0 ? 0 : 3) << "leading digit " << lead;
  }
  EXPECT_TRUE(AllDistinct(rows));
}

TEST(AddOn5ParityTable, RowsAreDistinctWithTwoEvenDigits) {
  std::vector<std::string> rows(std::begin(AddOn5ParityTable), std::end(AddOn5ParityTable));
  for (const std::string& row : rows) {
    ASSERT_EQ(row.size(), 5u);
    EXPECT_TRUE(OnlyLetters(row, "EO"));
    EXPECT_EQ(CountOf('E', row), 2) << row;
  }
  EXPECT_TRUE(AllDistinct(rows));
}

TEST(UpceParityTable, NumberSystemOneInvertsNumberSystemZero) {
  for (int check = 0; check < 10; ++check) {
    EXPECT_EQ(std::string(UpceParityTable[10 + check]), Swapped(UpceParityTable[check], 'E', 'O'))
        << "check digit " << check;
  }
}

TEST(UpceParityTable, RowsAreDistinctWithThreeEvenDigits) {
  std::vector<std::string> rows(std::begin(UpceParityTable), std::end(UpceParityTable));
  for (const std::string& row : rows) {
    ASSERT_EQ(row.size(), 6u);
    EXPECT_TRUE(OnlyLetters(row, "EO"));
    EXPECT_EQ(CountOf('E', row), 3) << row;
  }
  // The scanner recovers number system and check digit from the parity alone.
  EXPECT_TRUE(AllDistinct(rows));
}

// ---------------------------------------------------------------------------------------------
// Two of five, postal codes and MSI

TEST(TwoOfFiveTable, WideElementWeightsAddUpToTheDigit) {
  constexpr int kWeights[5] = {1, 2, 4, 7, 0};
  for (int digit = 0; digit < 10; ++digit) {
    const std::string pattern = TwoOfFiveTable[digit].pattern;
    ASSERT_EQ(pattern.size(), 5u);
    EXPECT_TRUE(OnlyLetters(pattern, "nw"));
    EXPECT_EQ(CountOf('w', pattern), 2) << digit;
    int sum = 0;
    for (int i = 0; i < 5; ++i) sum += pattern[i] == 'w' ? kWeights[i] : 0;
    EXPECT_EQ(sum, digit == 0 ? 11 : digit) << pattern;
  }
}

TEST(PostnetTable, FullBarWeightsAddUpToTheDigit) {
  constexpr int kWeights[5] = {7, 4, 2, 1, 0};
  for (int digit = 0; digit < 10; ++digit) {
    const std::string pattern = PostnetTable[digit].pattern;
    ASSERT_EQ(pattern.size(), 5u);
    EXPECT_TRUE(OnlyLetters(pattern, "01"));
    EXPECT_EQ(CountOf('1', pattern), 2) << digit;
    int sum = 0;
    for (int i = 0; i < 5; ++i) sum += pattern[i] == '1' ? kWeights[i] : 0;
    EXPECT_EQ(sum, digit == 0 ? 11 : digit) << pattern;
    EXPECT_EQ(std::string(PostnetTable[digit].key), Key('0' + digit));
  }
}

TEST(PlanetTable, IsPostnetWithFullAndHalfBarsExchanged) {
  for (int digit = 0; digit < 10; ++digit) {
    EXPECT_EQ(std::string(PlanetTable[digit].pattern), Swapped(PostnetTable[digit].pattern, '0', '1')) << digit;
    EXPECT_EQ(std::string(PlanetTable[digit].key), Key('0' + digit));
  }
}

TEST(MsiTable, PatternsAreTheDigitsBitsMostSignificantFirst) {
  for (int digit = 0; digit < 10; ++digit) {
    const std::string pattern = MsiTable[digit].pattern;
    ASSERT_EQ(pattern.size(), 8u);
    for (int bit = 0; bit < 4; ++bit) {
      const bool set = (digit >> (3 - bit)) & 1;
      EXPECT_EQ(pattern.substr(2 * bit, 2), set ? "wn" : "nw") << "digit " << digit << " bit " << bit;
    }
  }
}

}  // namespace
}  // namespace varnel
