// GS1's application identifiers as its Barcode Syntax Dictionary describes them: for each AI (or run
// of AIs) the components of its data, whether an FNC1 must end it, and the AIs it needs or excludes.
// The table itself is written at build time from third_party/gs1 (cmake/gs1_ai_table.py), so these
// are the shapes it fills.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace varnel {

// The characters a component may hold.
enum class Gs1Charset : std::uint8_t {
  kNumeric,  // N: digits
  kSet82,    // X: GS1's character set 82, the invariant part of ISO 646 less a few
  kSet39,    // Y: set 39, for component and part identifiers
  kSet64,    // Z: the file-safe base64 alphabet
};

// A content check the dictionary names on a component. A check of a newer dictionary that the
// library does not know yet is kUnchecked: it passes until it is written.
enum class Gs1Linter : std::uint8_t {
  kUnchecked,
  kCsum,            // the GS1 modulo-10 check digit ends it
  kCsumAlpha,       // the two check characters of an alphanumeric key end it
  kYymmd0,          // a date, whose day may be 00
  kYymmdd,          // a date
  kYyyymmdd,        // a date with its century
  kHh,              // an hour
  kHhmi,            // hours and minutes
  kMi,              // minutes
  kSs,              // seconds
  kNonZero,         // a number other than zero
  kZero,            // the digit 0
  kYesNo,           // 0 or 1
  kPieceOfTotal,    // a piece number and the total, the piece not beyond it
  kIso3166,         // an ISO 3166 numeric country code
  kIso3166Or999,    // the same, or 999
  kIso3166Alpha2,   // an ISO 3166 two-letter country code
  kIso4217,         // an ISO 4217 numeric currency code
  kHyphen,          // the character '-'
  kPercentEncoded,  // every '%' begins a byte of two hexadecimal digits
  kHasNonDigit,     // at least one character that is not a digit
  kWinding,         // a winding direction: 0, 1 or 9
  kIso5218,         // a sex code of ISO/IEC 5218: 0, 1, 2 or 9
  kGcpAtFirst,      // begins with a GS1 Company Prefix
  kGcpAtSecond,     // a GS1 Company Prefix begins at the second character
  kCouponCode,      // a North American coupon code, AI (8110)
  kCouponOffer,     // a positive offer file coupon code, AI (8112)
  kIban,            // an International Bank Account Number
  kImporterIndex,   // an importer index: a digit, a letter, '-' or '_'
  kLatitude,        // a latitude as ten digits
  kLongitude,       // a longitude as ten digits
  kMediaType,       // an AIDC media type code
  kNoZeroPrefix,    // a number that does not begin with 0
  kPackageType,     // a code of GS1's package type list
  kPositionOfEnd,   // a position in a sequence, as 1/2
};

struct Gs1LinterName {
  std::string_view name;
  Gs1Linter linter;
};

// The dictionary's names of the checks the library makes.
inline constexpr Gs1LinterName kGs1LinterNames[] = {
    {"csum", Gs1Linter::kCsum},
    {"csumalpha", Gs1Linter::kCsumAlpha},
    {"yymmd0", Gs1Linter::kYymmd0},
    {"yymmdd", Gs1Linter::kYymmdd},
    {"yyyymmdd", Gs1Linter::kYyyymmdd},
    {"hh", Gs1Linter::kHh},
    {"hhmi", Gs1Linter::kHhmi},
    {"mi", Gs1Linter::kMi},
    {"ss", Gs1Linter::kSs},
    {"nonzero", Gs1Linter::kNonZero},
    {"zero", Gs1Linter::kZero},
    {"yesno", Gs1Linter::kYesNo},
    {"pieceoftotal", Gs1Linter::kPieceOfTotal},
    {"iso3166", Gs1Linter::kIso3166},
    {"iso3166999", Gs1Linter::kIso3166Or999},
    {"iso3166alpha2", Gs1Linter::kIso3166Alpha2},
    {"iso4217", Gs1Linter::kIso4217},
    {"hyphen", Gs1Linter::kHyphen},
    {"pcenc", Gs1Linter::kPercentEncoded},
    {"hasnondigit", Gs1Linter::kHasNonDigit},
    {"winding", Gs1Linter::kWinding},
    {"iso5218", Gs1Linter::kIso5218},
    {"gcppos1", Gs1Linter::kGcpAtFirst},
    {"gcppos2", Gs1Linter::kGcpAtSecond},
    {"couponcode", Gs1Linter::kCouponCode},
    {"couponposoffer", Gs1Linter::kCouponOffer},
    {"iban", Gs1Linter::kIban},
    {"importeridx", Gs1Linter::kImporterIndex},
    {"latitude", Gs1Linter::kLatitude},
    {"longitude", Gs1Linter::kLongitude},
    {"mediatype", Gs1Linter::kMediaType},
    {"nozeroprefix", Gs1Linter::kNoZeroPrefix},
    {"packagetype", Gs1Linter::kPackageType},
    {"posinseqslash", Gs1Linter::kPositionOfEnd},
};

// The check a dictionary name stands for; a name the library does not know is unchecked, so that a
// new release's new checks pass until they are written.
consteval Gs1Linter Gs1LinterNamed(std::string_view name) {
  for (const Gs1LinterName& known : kGs1LinterNames) {
    if (known.name == name) return known.linter;
  }
  return Gs1Linter::kUnchecked;
}

// One component of an AI's data: its characters and length, whether it may be left out (only at
// the end of the data, and then with those after it), and its checks.
struct Gs1Component {
  Gs1Charset charset;
  std::uint8_t minLength;
  std::uint8_t maxLength;
  bool optional;
  std::span<const Gs1Linter> linters;
};

inline constexpr std::string_view kWithSerial = ":serial";

// An AI, or a run of AIs of one length from first to last that share their definition.
struct Gs1Ai {
  std::string_view first;
  std::string_view last;
  // The dictionary's "*": a length fixed in advance, so no FNC1 separates it from what follows.
  bool predefinedLength;
  std::span<const Gs1Component> components;
  // Each req= of the dictionary, a space between two: every one must be met. A req= lists
  // alternatives between commas, each one AI or several joined by '+' that must all be present;
  // 'n' in a pattern stands for any digit, and kWithSerial after an AI asks for its optional
  // components too (a key with its serial), which the dictionary's own syntax cannot say.
  std::string_view required;
  // The ex= lists joined by commas: AIs, or patterns, that may not appear with this one.
  std::string_view excluded;
};

// The definition of an AI given as its digits, or nullptr for one the dictionary does not assign.
const Gs1Ai* FindGs1Ai(std::string_view ai);

}  // namespace varnel
