// What the tool adds to each symbology beyond what the library draws and refuses: the quiet zones
// that readers need around it, whether its optional check character is drawn unless --no-check,
// the narrowest element a scanner is sure to resolve, how to tell a person what data it takes, and
// the character set its readers decode it in.
// The library leaves all of these to its host; they are a command-line tool's convenient defaults.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "base/settings.h"
#include "text_encoding.h"

namespace varnel::tool {

// Light space a reader needs along the symbol, before its first bar and after its last. Most
// symbologies count it in modules (narrow widths); the postal codes in inches, as the Postal
// Service sets a clear zone around the bars whatever their width, above and below them too.
struct QuietZone {
  int modulesBefore;
  int modulesAfter;
  int modulesAfterAddOn;  // after an EAN/UPC add-on, which ends the symbol instead
  double inchesAlong;     // before and after, where modules do not apply
  double inchesAcross;    // above and below the bars
};

struct SymbologyConventions {
  Symbology number;
  QuietZone quietZone;
  // How far the length VnMeasure gives runs past the end of the last bar, in narrow widths: Code 11
  // and Matrix 2 of 5 count the gap after their stop character, and PLANET and POSTNET stop two
  // narrow widths short of their closing bar's end. The quiet zone after the symbol is counted
  // from that bar.
  int measuredEndModules;
  // Scanners check these characters always, so a symbol without them reads nowhere: drawn unless
  // --no-check.
  bool checkByDefault;
  // The narrowest narrow element in millimetres that the symbology's printing rules allow; 0 where
  // they set none.
  double minimumXMillimetres;
  // Every character the symbology encodes, where it takes only some; empty when it takes any byte
  // or only digits, which `accepts` says.
  std::string_view characters;
  // What to type, finishing a sentence that starts with the symbology's title and "takes"; empty
  // for those that take any data.
  std::string_view accepts;
  // A hint for data with lower-case letters, which the symbology cannot draw; empty when it can.
  std::string_view lowerCaseHint;
  // What readers decode the data in, and so what the tool turns UTF-8 text into.
  CharacterSet characterSet = CharacterSet::kIso8859_1;
};

inline constexpr QuietZone kTenModules{10, 10, 0, 0.0, 0.0};
// ITF-14 draws its quiet zones itself, inside its box of bearer bars.
inline constexpr QuietZone kInsideBearerBox{0, 0, 0, 0.0, 0.0};
// 0.125 inch beside the bars and 0.04 inch above and below them.
inline constexpr QuietZone kPostalClearZone{0, 0, 0, 0.125, 0.04};
// The EAN/UPC family: the main symbol's own zones, and 5 modules after an add-on.
inline constexpr QuietZone kEan13QuietZone{11, 7, 5, 0.0, 0.0};
inline constexpr QuietZone kEan8QuietZone{7, 7, 5, 0.0, 0.0};
inline constexpr QuietZone kUpcAQuietZone{9, 9, 5, 0.0, 0.0};
inline constexpr QuietZone kUpcEQuietZone{9, 7, 5, 0.0, 0.0};

// 80 % of the EAN/UPC family's nominal 0.33 mm, the smallest magnification printers may use.
inline constexpr double kEanUpcMinimumX = 0.264;
// Readers look for an add-on 7 to 12 narrow widths after the main symbol's end guard.
inline constexpr int kAddOnGapModules = 9;

// The text's cell in points where printed: the EAN/UPC family's digits at their usual 9 pt,
// other symbologies' text at 10 pt. A picture for the screen (96 dpi, where these come to 12 or
// 13 pixels) keeps the library's legible 24 pixels.
inline constexpr double kEanUpcTextPoints = 9.0;
inline constexpr double kTextPoints = 10.0;
inline constexpr int kLeastTextPixels = 24;

inline constexpr std::string_view kCode39Characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
inline constexpr std::string_view kCode39Accepts = "digits, capital letters, space and - . $ / + %";

inline constexpr SymbologyConventions kConventions[] = {
    {kCodabar, kTenModules, 0, false, 0.0, "0123456789-$:/.+ABCD", "digits and - $ : / . + (and A to D)", ""},
    {kCode11, kTenModules, 1, false, 0.0, "0123456789-", "digits and -", ""},
    {kCode128, kTenModules, 0, false, 0.0, "", "", ""},
    {kCode39, kTenModules, 0, false, 0.0, kCode39Characters, kCode39Accepts,
     "lower-case letters need -s code39-ascii"},
    {kCode39Ascii, kTenModules, 0, false, 0.0, "", "", "", CharacterSet::kAscii},
    {kCode93, kTenModules, 0, true, 0.0, kCode39Characters, kCode39Accepts,
     "lower-case letters need -s code39-ascii or -s code128"},
    {kUccEan128, kTenModules, 0, false, 0.0, "", "digits", ""},
    {kEan13, kEan13QuietZone, 0, false, kEanUpcMinimumX, "", "12 digits, or 13 ending in their check digit", ""},
    {kEan8, kEan8QuietZone, 0, false, kEanUpcMinimumX, "", "7 digits, or 8 ending in their check digit", ""},
    {kInterleaved2of5, kTenModules, 0, false, 0.0, "", "digits only", ""},
    {kIsbn, kEan13QuietZone, 0, false, kEanUpcMinimumX, "",
     "the 10 digits of an ISBN, or its 13-digit number beginning 978", ""},
    {kJan13, kEan13QuietZone, 0, false, kEanUpcMinimumX, "",
     "12 digits beginning 49, or 13 ending in their check digit", ""},
    {kJan8, kEan8QuietZone, 0, false, kEanUpcMinimumX, "", "7 digits beginning 49, or 8 ending in their check digit",
     ""},
    {kMatrix2of5, kTenModules, 1, false, 0.0, "", "digits only", ""},
    {kMsi, kTenModules, 0, false, 0.0, "", "digits only", ""},
    {kPlanet, kPostalClearZone, -2, false, 0.0, "", "digits only", ""},
    {kPostnet, kPostalClearZone, -2, false, 0.0, "", "digits only (a ZIP code: 5, 9 or 11 digits)", ""},
    {kSscc18, kTenModules, 0, true, 0.0, "", "the first 17 digits of an SSCC, or all 18 ending in its check digit",
     ""},
    {kUccEan128Ai01, kTenModules, 0, true, 0.0, "",
     "the first 13 digits of a GTIN-14, or all 14 ending in its check digit", ""},
    {kUpcA, kUpcAQuietZone, 0, false, kEanUpcMinimumX, "", "11 digits, or 12 ending in their check digit", ""},
    {kUpcE, kUpcEQuietZone, 0, false, kEanUpcMinimumX, "",
     "the 11-digit UPC-A number that UPC-E shortens, or the 6, 7 or 8 digits printed under a UPC-E symbol",
     ""},
    // Its refusals name the application identifier and what is wrong with its data.
    {kGs1_128, kTenModules, 0, false, 0.0, "", "", ""},
    {kItf14, kInsideBearerBox, 0, false, 0.0, "", "13 digits, or 14 ending in their check digit", ""},
};

constexpr bool ConventionsInNumberOrder() {
  for (std::size_t i = 0; i < std::size(kConventions); ++i) {
    if (static_cast<std::size_t>(kConventions[i].number) != i) return false;
  }
  return true;
}
static_assert(std::size(kConventions) == kSymbologyCount, "conventions for every symbology");
static_assert(ConventionsInNumberOrder(), "rows in the order of the symbologies' numbers");

// The row of a symbology number of the catalogue.
constexpr const SymbologyConventions& ConventionsOf(int symbology) { return kConventions[symbology]; }

}  // namespace varnel::tool
