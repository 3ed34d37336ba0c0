// What the library's symbologies are, written once: the tool's names and list, the Python binding's
// names, the sample script's gallery and the suites' sample data are all read from these rows, so
// none of them can name, number or describe a symbology differently from the others.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "base/settings.h"

namespace varnel {

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
};

// Two columns of data, since each is what its pictures have always been drawn from: the gallery's is
// chosen for people to read (a real ISBN, a ZIP+4 code), the suites' to reach corners of the
// encoders (Codabar's start and stop letters as data, Code 128's byte 0xFF).
inline constexpr SymbologyRow kSymbologies[] = {
    {kCodabar, "codabar", "Codabar", "31117013206375", "--start A --stop B", "A1234B", false},
    {kCode11, "code11", "Code 11", "123-45", "--check --check-in-text", "123-45", false},
    {kCode128, "code128", "Code 128, code set chosen automatically", "Varnel-128", "", "Code 128 \xFF", false},
    {kCode39, "code39", "Code 39", "VARNEL-32", "--check --check-in-text", "CODE 39", false},
    {kCode39Ascii, "code39-ascii", "Code 39 full ASCII", "Ascii+39", "--size 760x200", "code 39 ascii", false},
    {kCode93, "code93", "Code 93", "VARNEL 93", "--check", "CODE-93", false},
    {kUccEan128, "ean128", "UCC/EAN-128, all-numeric", "0195012345678903", "", "0123456789", false},
    {kEan13, "ean13", "EAN-13", "590123412345", "--addon 52495", "590123412345", true},
    {kEan8, "ean8", "EAN-8", "9638507", "", "9638507", true},
    {kInterleaved2of5, "itf", "Interleaved 2 of 5", "1234567890", "--ratio 2.5", "12345670", false},
    {kIsbn, "isbn", "ISBN, as an EAN-13 beginning 978", "0306406152", "", "0306406152", true},
    {kJan13, "jan13", "JAN-13", "490123456789", "", "490123456789", false},
    {kJan8, "jan8", "JAN-8", "4912345", "", "4912345", false},
    {kMatrix2of5, "matrix2of5", "Matrix 2 of 5", "1234567890", "", "123456", false},
    {kMsi, "msi", "MSI", "80523", "--check --check-in-text", "80523", false},
    {kPlanet, "planet", "PLANET", "40123456789", "--check", "40123456789", false},
    {kPostnet, "postnet", "POSTNET", "555551237", "--check", "555551237", false},
    {kSscc18, "sscc18", "SSCC-18", "376104250021234569", "--check", "001234567890123456", false},
    {kUccEan128Ai01, "ean128-ai01", "UCC/EAN-128 with application identifier 01", "09501101530003", "--check",
     "10614141000415", false},
    {kUpcA, "upc-a", "UPC-A", "03600029145", "--addon 53", "03600029145", true},
    {kUpcE, "upc-e", "UPC-E", "04210000526", "--upce-system 0", "04210000526", true},
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

// Whether the symbology checks and prints an EAN/UPC add-on's digits (JAN draws the add-on's bars
// but does neither); false for a number that names no symbology.
constexpr bool TakesAddOnDigits(int symbology) {
  return symbology >= 0 && symbology < kSymbologyCount && kSymbologies[symbology].addOnDigits;
}

}  // namespace varnel
