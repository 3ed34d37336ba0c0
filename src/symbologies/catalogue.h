// What the library's symbologies are, written once: the data each takes and how its digits are
// printed, which validation and the human-readable text read, and the tool's names and list, the
// Python binding's names, the sample script's gallery and the suites' sample data, so that none of
// them can name, number or describe a symbology differently from the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "base/settings.h"

namespace varnel {

// The data a symbology can draw; anything else is refused with the rule's message.
enum class DataRule : std::uint8_t {
  kAnyBytes,         // every byte has a code
  kTableCharacters,  // every character has a one-character row in the symbology's table
  kDigits,           // digits, as many as given
  kFixedDigits,      // exactly `digits` digits
  kJanDigits,        // exactly `digits` digits, the first two 49 (Japan's prefix)
  kUpcEDigits,       // the 11 digits of a UPC-A number of the chosen number system that suppresses to UPC-E
  // Digit pairs in Code 128's code set C, which draws nothing else: an even number of digits, so
  // that the last is not left alone.
  kEvenDigitPairs,
  // The same pairs after a leading zero that an odd count gets, each two digits or the doubled FNC1
  // byte that separates fields.
  kDigitPairsOrFnc1,
  // GS1 element strings, each AI in brackets before its data, as GS1's dictionary defines them.
  kGs1ElementStrings,
  // Exactly `digits` digits, to which the GS1 check digit is added, or those and their check digit.
  kDigitsAndCheckDigit,
};

// Where the human-readable digits go under the bars.
enum class TextLayout : std::uint8_t {
  kUnderSymbol,          // one run centred under the whole symbol, a dot clear of the bars
  kFlushUnderSymbol,     // the same run touching the bars (POSTNET)
  kEan13Digits,          // the first digit out to the left, two groups of six under their halves
  kEan13DigitsCaptioned, // as EAN-13, with the ISBN caption above the bars
  kEan8Digits,           // two groups of four
  kUpcADigits,           // first and check digits outside, two groups of five
  kUpcEDigits,           // number system and check digit outside, six digits under the whole symbol
};

// The widths, in narrow widths, that wide elements keep to whatever ratio is set; 0 to 0 for none.
struct WideRange {
  double least;
  double most;
};

struct SymbologyRow {
  Symbology number;
  std::string_view name;           // what the tool's --symbology and the Python binding accept
  std::string_view title;          // what `varnel --list` prints after the name
  std::string_view sample;         // the gallery's data, which the sample script draws
  std::string_view sampleOptions;  // the tool's options the gallery adds, for what the sample shows
  std::string_view testSample;     // data the suites draw with every other setting at its default
  // An EAN/UPC add-on's digits are checked and printed above it. JAN symbols draw an add-on's bars
  // but neither check nor print its digits.
  bool addOnDigits;
  DataRule data;
  int digits;  // the length a kFixedDigits, kJanDigits or kDigitsAndCheckDigit rule requires
  TextLayout text;
  WideRange wideRange = {};
  // The symbol draws a box of bearer bars around itself, in the bar colour, in place of the
  // picture's frame.
  bool bearerBox = false;
};

// Two columns of data, since each is what its pictures have always been drawn from: the gallery's is
// chosen for people to read (a real ISBN, a ZIP+4 code), the suites' to reach corners of the
// encoders (Codabar's start and stop letters as data, Code 128's byte 0xFF).
inline constexpr SymbologyRow kSymbologies[] = {
    {kCodabar, "codabar", "Codabar", "31117013206375", "--start A --stop B", "A1234B",
     false, DataRule::kTableCharacters, 0, TextLayout::kUnderSymbol},
    {kCode11, "code11", "Code 11", "123-45", "--check --check-in-text", "123-45",
     false, DataRule::kTableCharacters, 0, TextLayout::kUnderSymbol},
    {kCode128, "code128", "Code 128, code set chosen automatically", "Varnel-128", "", "Code 128 \xFF",
     false, DataRule::kAnyBytes, 0, TextLayout::kUnderSymbol},
    {kCode39, "code39", "Code 39", "VARNEL-32", "--check --check-in-text", "CODE 39",
     false, DataRule::kTableCharacters, 0, TextLayout::kUnderSymbol},
    {kCode39Ascii, "code39-ascii", "Code 39 full ASCII", "Ascii+39", "", "code 39 ascii",
     false, DataRule::kAnyBytes, 0, TextLayout::kUnderSymbol},
    {kCode93, "code93", "Code 93", "VARNEL 93", "--check", "CODE-93",
     false, DataRule::kTableCharacters, 0, TextLayout::kUnderSymbol},
    {kUccEan128, "ean128", "UCC/EAN-128, all-numeric", "0195012345678903", "", "0123456789",
     false, DataRule::kDigitPairsOrFnc1, 0, TextLayout::kUnderSymbol},
    {kEan13, "ean13", "EAN-13", "590123412345", "--addon 52495", "590123412345",
     true, DataRule::kFixedDigits, 12, TextLayout::kEan13Digits},
    {kEan8, "ean8", "EAN-8", "9638507", "", "9638507",
     true, DataRule::kFixedDigits, 7, TextLayout::kEan8Digits},
    {kInterleaved2of5, "itf", "Interleaved 2 of 5", "1234567890", "--ratio 2.5", "12345670",
     false, DataRule::kDigits, 0, TextLayout::kUnderSymbol},
    {kIsbn, "isbn", "ISBN, as an EAN-13 beginning 978", "0306406152", "", "0306406152",
     true, DataRule::kFixedDigits, 10, TextLayout::kEan13DigitsCaptioned},
    {kJan13, "jan13", "JAN-13", "490123456789", "", "490123456789",
     false, DataRule::kJanDigits, 12, TextLayout::kEan13Digits},
    {kJan8, "jan8", "JAN-8", "4912345", "", "4912345",
     false, DataRule::kJanDigits, 7, TextLayout::kEan8Digits},
    {kMatrix2of5, "matrix2of5", "Matrix 2 of 5", "1234567890", "", "123456",
     false, DataRule::kDigits, 0, TextLayout::kUnderSymbol},
    {kMsi, "msi", "MSI", "80523", "--check --check-in-text", "80523",
     false, DataRule::kDigits, 0, TextLayout::kUnderSymbol},
    {kPlanet, "planet", "PLANET", "40123456789", "--check", "40123456789",
     false, DataRule::kDigits, 0, TextLayout::kUnderSymbol},
    {kPostnet, "postnet", "POSTNET", "555551237", "--check", "555551237",
     false, DataRule::kDigits, 0, TextLayout::kFlushUnderSymbol},
    {kSscc18, "sscc18", "SSCC-18", "376104250021234569", "--check", "001234567890123456",
     false, DataRule::kEvenDigitPairs, 0, TextLayout::kUnderSymbol},
    {kUccEan128Ai01, "ean128-ai01", "UCC/EAN-128 with application identifier 01",
     "09501101530003", "--check", "10614141000415",
     false, DataRule::kEvenDigitPairs, 0, TextLayout::kUnderSymbol},
    {kUpcA, "upc-a", "UPC-A", "03600029145", "--addon 53", "03600029145",
     true, DataRule::kFixedDigits, 11, TextLayout::kUpcADigits},
    {kUpcE, "upc-e", "UPC-E", "04210000526", "--upce-system 0", "04210000526",
     true, DataRule::kUpcEDigits, 0, TextLayout::kUpcEDigits},
    {kGs1_128, "gs1-128", "GS1-128, element strings with their AIs in brackets",
     "(01)09501101530003(17)260101(10)ABC123", "--narrow 0.06", "[01]09501101530003[3103]001250[10]Lot(7)",
     false, DataRule::kGs1ElementStrings, 0, TextLayout::kUnderSymbol},
    // Readers of ITF-14 expect wide elements of 2.25 to 3 narrow ones; a ratio outside that is drawn
    // at the nearer end rather than refused, so that any setting gives a symbol they read.
    {kItf14, "itf-14", "ITF-14, a GTIN-14 in Interleaved 2 of 5 within bearer bars", "1540014128876", "",
     "15400141288763", false, DataRule::kDigitsAndCheckDigit, 13, TextLayout::kUnderSymbol, {2.25, 3.0}, true},
};

// A row's place is its number, so a symbology's row is kSymbologies[number].
constexpr bool RowsInNumberOrder() {
  for (std::size_t i = 0; i < std::size(kSymbologies); ++i) {
    if (static_cast<std::size_t>(kSymbologies[i].number) != i) return false;
  }
  return true;
}
static_assert(std::size(kSymbologies) == kSymbologyCount, "one row for each symbology");
static_assert(RowsInNumberOrder(), "rows in the order of their numbers");

// The row of a symbology number; nullptr for a number that names none.
constexpr const SymbologyRow* FindSymbology(int number) {
  return number >= 0 && number < kSymbologyCount ? &kSymbologies[number] : nullptr;
}

// Whether the symbology checks and prints an EAN/UPC add-on's digits (JAN draws the add-on's bars
// but does neither); false for a number that names no symbology.
constexpr bool TakesAddOnDigits(int symbology) {
  const SymbologyRow* row = FindSymbology(symbology);
  return row != nullptr && row->addOnDigits;
}

}  // namespace varnel
