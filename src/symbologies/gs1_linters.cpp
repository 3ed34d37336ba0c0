#include "symbologies/gs1_linters.h"

#include <array>
#include <initializer_list>

#include "base/text_routines.h"
#include "symbologies/ean_upc.h"
#include "symbologies/gs1_check_characters.h"
#include "symbologies/gs1_dates.h"
#include "symbologies/iso_codes.h"

namespace varnel {
namespace {

constexpr std::size_t kCheckPairLength = 2;

bool OneOf(std::string_view value, std::initializer_list<std::string_view> allowed) {
  for (const std::string_view one : allowed) {
    if (value == one) return true;
  }
  return false;
}

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

// Two digits of piece number then two of the total: neither zero, the piece not beyond the total.
bool IsPieceOfTotal(std::string_view value) {
  const std::size_t half = value.size() / 2;
  int piece = 0, total = 0;
  for (std::size_t i = 0; i < half; ++i) {
    piece = piece * 10 + DigitValue(value[i]);
    total = total * 10 + DigitValue(value[half + i]);
  }
  return value.size() % 2 == 0 && piece >= 1 && total >= 1 && piece <= total;
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
    case Gs1Linter::kPieceOfTotal:
      return Require(IsPieceOfTotal(value), fault, value, " is not a piece number within its total.");
    case Gs1Linter::kIso3166:
      return Require(IsIsoCountryNumeric(value), fault, value, " is not an ISO 3166 country code.");
    case Gs1Linter::kIso3166Or999:
      return Require(value == "999" || IsIsoCountryNumeric(value), fault, value,
                     " is not an ISO 3166 country code or 999.");
    case Gs1Linter::kIso3166Alpha2:
      return Require(IsIsoCountryAlpha2(value), fault, value, " is not an ISO 3166 alpha-2 country code.");
    case Gs1Linter::kIso4217:
      return Require(IsIsoCurrencyNumeric(value), fault, value, " is not an ISO 4217 currency code.");
    case Gs1Linter::kHyphen:
      return Require(value.find_first_not_of('-') == std::string_view::npos, fault, value, " is not a hyphen.");
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
  }
  return true;
}

}  // namespace varnel
