#include "retail_numbers.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "symbologies/catalogue.h"
#include "symbologies/upc_e_zeros.h"
#include "symbology_conventions.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

constexpr std::string_view kBooklandPrefix = "978";
constexpr std::size_t kIsbnDigits = 10;
constexpr std::size_t kEan13Digits = 13;
constexpr std::size_t kUpcEDigits = 6;
constexpr std::size_t kSsccDigits = 18;
constexpr std::size_t kGtin14Digits = 14;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The EAN/UPC check digit: weight 3 on the last digit and every second one before it, 1 on the
// others; the digit that brings the sum to a multiple of ten.
char EanCheckDigit(std::string_view digits) {
  int sum = 0;
  int weight = 3;
  for (auto c = digits.rbegin(); c != digits.rend(); ++c, weight = 4 - weight) sum += weight * (*c - '0');
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// The ISBN-10 check character: weights 10 down to 2 on the nine digits, the value that brings the sum
// to a multiple of eleven, X standing for 10.
char IsbnCheckCharacter(std::string_view nineDigits) {
  int sum = 0;
  for (std::size_t i = 0; i < nineDigits.size(); ++i) sum += static_cast<int>(10 - i) * (nineDigits[i] - '0');
  const int check = (11 - sum % 11) % 11;
  return check == 10 ? 'X' : static_cast<char>('0' + check);
}

RetailData Refused(std::string why) { return {{}, std::nullopt, std::move(why)}; }

RetailData WrongCheckDigit(std::string_view number, char expected) {
  return Refused(std::string(number) + ": check digit should be " + expected + ", not " + number.back());
}

// The number without its last digit, once that digit is found to be the check digit of the rest.
RetailData WithoutCheckDigit(std::string_view number, std::optional<int> upceSystem) {
  const std::string_view body = number.substr(0, number.size() - 1);
  const char expected = EanCheckDigit(body);
  if (number.back() != expected) return WrongCheckDigit(number, expected);
  return {std::string(body), upceSystem, {}};
}

// An ISBN that only its EAN-13 symbol can show.
RetailData BooklandOnly(std::string_view isbn, std::string_view why, std::string_view ean13) {
  return Refused("ISBN " + std::string(isbn) + " " + std::string(why) + ": draw it with -s ean13 " +
                 std::string(ean13));
}

constexpr std::string_view kCheckIsX = "has the check character X, but the ISBN caption takes digits only";

// An ISBN's 978 number with its EAN check digit, for suggesting -s ean13.
std::string BooklandNumber(std::string_view nineDigits) {
  std::string number = std::string(kBooklandPrefix) + std::string(nineDigits);
  return number + EanCheckDigit(number);
}

RetailData IsbnData(const std::string& data) {
  if (data.size() == kEan13Digits && AllDigits(data)) {
    const RetailData ean = WithoutCheckDigit(data, std::nullopt);
    if (!ean.refusal.empty()) return ean;
    if (!data.starts_with(kBooklandPrefix)) {
      return BooklandOnly(data, "has no 10-digit form, which the ISBN caption prints", data);
    }
    const std::string_view nine = std::string_view(data).substr(kBooklandPrefix.size(), kIsbnDigits - 1);
    const char check = IsbnCheckCharacter(nine);
    if (check == 'X') return BooklandOnly(data, kCheckIsX, data);
    return {std::string(nine) + check, std::nullopt, {}};
  }
  if (data.size() == kIsbnDigits && AllDigits(data.substr(0, kIsbnDigits - 1))) {
    const std::string_view nine = std::string_view(data).substr(0, kIsbnDigits - 1);
    const char check = IsbnCheckCharacter(nine);
    const char given = data.back() == 'x' ? 'X' : data.back();
    if (given == check && check == 'X') {
      return BooklandOnly(data, kCheckIsX, BooklandNumber(nine));
    }
    if (given != check && (given == 'X' || AllDigits(std::string_view(&given, 1)))) return WrongCheckDigit(data, check);
  }
  return {data, std::nullopt, {}};
}

std::optional<int> NumberSystemOf(char digit) {
  if (digit == '0' || digit == '1') return digit - '0';
  return std::nullopt;
}

RetailData UpcEData(const std::string& data, std::optional<int> upceSystem) {
  if (!AllDigits(data)) return {data, upceSystem, {}};
  const std::size_t length = data.size();
  // 11 digits are the UPC-A number the library takes; 7 and 8 lead with the number system.
  if (length == 11) return {data, upceSystem ? upceSystem : NumberSystemOf(data[0]), {}};
  if (length < kUpcEDigits || length > kUpcEDigits + 2) return {data, upceSystem, {}};
  const bool numberSystemGiven = length > kUpcEDigits;
  if (numberSystemGiven && !NumberSystemOf(data[0])) {
    return Refused(data + ": a UPC-E number starts with its number system, 0 or 1");
  }
  const char system = numberSystemGiven ? data[0] : static_cast<char>('0' + upceSystem.value_or(0));
  const std::array<char, 10> expanded = ExpandUpcEZeros(data.c_str() + (numberSystemGiven ? 1 : 0));
  const std::string upcA = system + std::string(expanded.begin(), expanded.end());
  if (length == kUpcEDigits + 2) {
    const char expected = EanCheckDigit(upcA);
    if (data.back() != expected) return WrongCheckDigit(data, expected);
  }
  return {upcA, upceSystem ? upceSystem : NumberSystemOf(system), {}};
}

// SSCC-18 and AI 01 carry a GS1 key, an SSCC or a GTIN-14, whose last digit is its check digit. The
// library draws whatever digit pairs it is given, so the key is held to its length here, and its
// check digit added or checked, as a scanner's host checks it.
RetailData Gs1KeyData(int symbology, const std::string& data, std::size_t digits, std::optional<int> upceSystem) {
  if (AllDigits(data) && data.size() == digits - 1) return {data + EanCheckDigit(data), upceSystem, {}};
  if (AllDigits(data) && data.size() == digits) {
    const char expected = EanCheckDigit(std::string_view(data).substr(0, digits - 1));
    if (data.back() != expected) return WrongCheckDigit(data, expected);
    return {data, upceSystem, {}};
  }
  return Refused(std::string(ShortTitle(symbology)) + " takes " + std::string(ConventionsOf(symbology).accepts) +
                 "; other GS1 data is drawn with -s gs1-128");
}

}  // namespace

RetailData ToLibraryData(int symbology, const std::string& data, std::optional<int> upceSystem) {
  if (symbology == kIsbn) return IsbnData(data);
  if (symbology == kSscc18) return Gs1KeyData(symbology, data, kSsccDigits, upceSystem);
  if (symbology == kUccEan128Ai01) return Gs1KeyData(symbology, data, kGtin14Digits, upceSystem);
  const SymbologyRow* row = varnel::FindSymbology(symbology);
  if (row == nullptr) return {data, upceSystem, {}};
  switch (row->data) {
    case DataRule::kFixedDigits:
    case DataRule::kJanDigits:
      if (data.size() == static_cast<std::size_t>(row->digits) + 1 && AllDigits(data)) {
        return WithoutCheckDigit(data, upceSystem);
      }
      return {data, upceSystem, {}};
    case DataRule::kUpcEDigits: return UpcEData(data, upceSystem);
    default: return {data, upceSystem, {}};
  }
}

}  // namespace varnel::tool
