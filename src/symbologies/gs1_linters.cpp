#include "symbologies/gs1_linters.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "base/text_routines.h"
#include "symbologies/code_lists.h"
#include "symbologies/ean_upc.h"
#include "symbologies/gs1_coupons.h"
#include "symbologies/gs1_check_characters.h"
#include "symbologies/gs1_dates.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {
namespace {

constexpr std::size_t kCheckPairLength = 2;

bool OneOf(std::string_view value, std::initializer_list<std::string_view> allowed) {
  for (const std::string_view one : allowed) {
    if (value == one) return true;
  }
  return false;
}

constexpr std::string_view kImporterIndices = "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
constexpr long long kMostLatitude = 1800000000;   // 90 degrees north
constexpr long long kMostLongitude = 3599999999;  // just short of 180 degrees east, which is 0

// A check that the value passes or, with its clause, fails.
bool Require(bool passes, ComposedMessage& fault, std::string_view value, std::string_view clause) {
  if (!passes) fault << value << clause;
  return passes;
}

bool PassesCheckDigit(std::string_view value, ComposedMessage& fault) {
  const char expected = UpcEanCheckDigit(value.substr(0, value.size() - 1));
  if (value.back() == expected) return true;
  fault << "check digit should be " << expected << '.';
  return false;
}

bool PassesCheckPair(std::string_view value, ComposedMessage& fault) {
  if (value.size() <= kCheckPairLength) {
    fault << value << " has no room for its two check characters.";
    return false;
  }
  const std::array<char, 2> expected = AlphanumericCheckPair(value.substr(0, value.size() - kCheckPairLength));
  if (value.substr(value.size() - kCheckPairLength) == std::string_view(expected.data(), expected.size())) return true;
  fault << "check characters should be " << std::string_view(expected.data(), expected.size()) << '.';
  return false;
}

// A piece number then a total of as many digits: neither zero, the piece not beyond the total.
bool PassesPieceOfTotal(std::string_view value, ComposedMessage& fault) {
  const std::size_t half = value.size() / 2;
  const std::string_view piece = value.substr(0, half);
  const std::string_view total = value.substr(half);
  if (NumberOf(total) == 0) {
    fault << "the total of pieces in " << value << " is zero.";
  } else if (NumberOf(piece) == 0) {
    fault << "the piece number in " << value << " is zero.";
  } else if (NumberOf(piece) > NumberOf(total)) {
    fault << "piece " << piece << " is beyond the total of " << total << '.';
  } else {
    return true;
  }
  return false;
}

// The GS1 Company Prefix that begins at `offset`: at least its first four characters are digits.
bool PassesCompanyPrefix(std::string_view value, std::size_t offset, ComposedMessage& fault) {
  constexpr std::size_t kShortestCompanyPrefix = 4;
  const std::string_view prefix = value.substr(std::min(offset, value.size()), kShortestCompanyPrefix);
  if (prefix.size() < kShortestCompanyPrefix) {
    fault << value << " is too short to hold a GS1 Company Prefix.";
    return false;
  }
  return RequireCharacters(prefix, kDigits, fault, " is not a digit, where a GS1 Company Prefix begins.");
}

// An International Bank Account Number: the two capitals of an ISO 3166 country, two check digits,
// then digits and capitals, up to 34 in all. Moved behind the rest, with each capital as the two
// digits 10 to 35, the whole is 1 modulo 97.
bool PassesIban(std::string_view value, ComposedMessage& fault) {
  constexpr std::size_t kShortestIban = 5;
  constexpr int kModulus = 97;
  const auto isCapital = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (value.size() < kShortestIban) {
    fault << value << " is too short for an IBAN.";
    return false;
  }
  if (!IsIsoCountryAlpha2(value.substr(0, 2))) {
    fault << value.substr(0, 2) << " is not the country an IBAN begins with.";
    return false;
  }
  for (std::size_t i = 2; i < value.size(); ++i) {
    if (DigitValue(value[i]) >= 0 || (i >= 4 && isCapital(value[i]))) continue;
    AppendCharacter(fault, value[i]);
    fault << (i < 4 ? " is not a digit, as an IBAN's check digits are."
                    : " is not a digit or capital, as an IBAN holds.");
    return false;
  }
  // The remainder with the check digits as 00, so that they are what brings it to 1.
  int remainder = 0;
  const auto add = [&](char c) {
    const int number = isCapital(c) ? c - 'A' + 10 : DigitValue(c);
    remainder = (remainder * (number >= 10 ? 100 : 10) + number) % kModulus;
  };
  for (const char c : value.substr(4)) add(c);
  for (const char c : value.substr(0, 2)) add(c);
  add('0');
  add('0');
  const int expected = kModulus + 1 - remainder;
  if (NumberOf(value.substr(2, 2)) == expected) return true;
  fault << "IBAN check digits should be " << (expected < 10 ? "0" : "") << expected << '.';
  return false;
}

// The position in a sequence and its end, as "1/2": neither zero, the position not beyond the end.
bool IsPositionOfEnd(std::string_view value) {
  const std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return false;
  const std::string_view position = value.substr(0, slash);
  const std::string_view end = value.substr(slash + 1);
  return !position.empty() && !end.empty() && AllDigits(position) && AllDigits(end) && NumberOf(position) > 0 &&
         NumberOf(position) <= NumberOf(end);
}

// A number of ten digits at most `most`: the degrees of a WGS84 coordinate, moved to start at 0,
// in ten-millionths.
bool IsCoordinate(std::string_view value, long long most) {
  long long number = 0;
  for (const char c : value) number = number * 10 + DigitValue(c);
  return number <= most;
}

bool IsPercentEncoded(std::string_view value) {
  const auto isHex = [](char c) { return DigitValue(c) >= 0 || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); };
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '%') continue;
    if (i + 2 >= value.size() || !isHex(value[i + 1]) || !isHex(value[i + 2])) return false;
    i += 2;
  }
  return true;
}

}  // namespace

bool PassesGs1Linter(Gs1Linter linter, std::string_view value, ComposedMessage& fault) {
  switch (linter) {
    case Gs1Linter::kUnchecked: return true;
    case Gs1Linter::kCsum: return PassesCheckDigit(value, fault);
    case Gs1Linter::kCsumAlpha: return PassesCheckPair(value, fault);
    case Gs1Linter::kYymmd0: return Require(IsGs1ShortDate(value, true), fault, value, " is not a date.");
    case Gs1Linter::kYymmdd: return Require(IsGs1ShortDate(value, false), fault, value, " is not a date.");
    case Gs1Linter::kYyyymmdd: return Require(IsGs1LongDate(value), fault, value, " is not a date.");
    case Gs1Linter::kHh: return Require(IsGs1Hour(value), fault, value, " is not an hour.");
    case Gs1Linter::kHhmi: return Require(IsGs1TimeOfDay(value), fault, value, " is not a time of day.");
    case Gs1Linter::kMi: return Require(IsGs1Minute(value), fault, value, " is not a minute.");
    case Gs1Linter::kSs: return Require(IsGs1Minute(value), fault, value, " is not a second.");
    case Gs1Linter::kNonZero:
      return Require(value.find_first_not_of('0') != std::string_view::npos, fault, value, " must not be zero.");
    case Gs1Linter::kZero: return Require(value == "0", fault, value, " must be 0.");
    case Gs1Linter::kYesNo: return Require(OneOf(value, {"0", "1"}), fault, value, " is not 0 (no) or 1 (yes).");
    case Gs1Linter::kPieceOfTotal: return PassesPieceOfTotal(value, fault);
    case Gs1Linter::kIso3166:
      return Require(IsIsoCountryNumeric(value), fault, value, " is not an ISO 3166 country code.");
    case Gs1Linter::kIso3166Or999:
      return Require(value == "999" || IsIsoCountryNumeric(value), fault, value,
                     " is not an ISO 3166 country code or 999.");
    case Gs1Linter::kIso3166Alpha2:
      return Require(IsIsoCountryAlpha2(value), fault, value, " is not an ISO 3166 alpha-2 country code.");
    case Gs1Linter::kIso4217:
      return Require(IsIsoCurrencyNumeric(value), fault, value, " is not an ISO 4217 currency code.");
    case Gs1Linter::kHyphen: return RequireCharacters(value, "-", fault, " is not a hyphen.");
    case Gs1Linter::kPercentEncoded:
      return Require(IsPercentEncoded(value), fault, "", "a '%' is not followed by two hexadecimal digits.");
    case Gs1Linter::kHasNonDigit:
      return Require(value.find_first_not_of("0123456789") != std::string_view::npos, fault, value,
                     " needs a character that is not a digit.");
    case Gs1Linter::kWinding:
      return Require(OneOf(value, {"0", "1", "9"}), fault, value, " is not a winding direction (0, 1 or 9).");
    case Gs1Linter::kIso5218:
      return Require(OneOf(value, {"0", "1", "2", "9"}), fault, value,
                     " is not an ISO/IEC 5218 sex code (0, 1, 2 or 9).");
    case Gs1Linter::kGcpAtFirst: return PassesCompanyPrefix(value, 0, fault);
    case Gs1Linter::kGcpAtSecond: return PassesCompanyPrefix(value, 1, fault);
    case Gs1Linter::kCouponCode: return PassesCouponCode(value, fault);
    case Gs1Linter::kCouponOffer: return PassesPositiveOfferCoupon(value, fault);
    case Gs1Linter::kIban: return PassesIban(value, fault);
    case Gs1Linter::kImporterIndex:
      return RequireCharacters(value, kImporterIndices, fault,
                               " is not an importer index (a digit, a letter, '-' or '_').");
    case Gs1Linter::kLatitude:
      return Require(IsCoordinate(value, kMostLatitude), fault, value, " is not a latitude: at most 1800000000.");
    case Gs1Linter::kLongitude:
      return Require(IsCoordinate(value, kMostLongitude), fault, value, " is not a longitude: at most 3599999999.");
    case Gs1Linter::kMediaType:
      return Require((value >= "01" && value <= "10") || value >= "80", fault, value,
                     " is not an AIDC media type (01 to 10, or 80 to 99).");
    case Gs1Linter::kNoZeroPrefix:
      return Require(value.size() == 1 || value[0] != '0', fault, value, " must not begin with 0.");
    case Gs1Linter::kPackageType:
      return Require(IsGs1PackageType(value), fault, value, " is not a GS1 package type code.");
    case Gs1Linter::kPositionOfEnd:
      return Require(IsPositionOfEnd(value), fault, value, " is not a position within a sequence, as 1/2.");
  }
  return true;
}

}  // namespace varnel
