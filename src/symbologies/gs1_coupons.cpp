// A coupon code is fields of digits one after another: fixed fields, and fields led by a length
// digit, each length digit allowing only some values. AI (8110) then holds optional fields, each led
// by a digit that names it, in rising order; AI (8112) ends after its serial number.
#include "symbologies/gs1_coupons.h"

#include <cstddef>

#include "symbologies/gs1_dates.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {
namespace {

constexpr std::string_view kFieldLengths = "0123456";      // a company prefix or funder: 6 to 12 digits
constexpr std::string_view kValueLengths = "12345";        // a save value or purchase requirement
constexpr std::string_view kSerialLengths = "0123456789";  // a serial number: 6 to 15 digits
constexpr std::string_view kRequirementCodes = "012349";
constexpr std::size_t kCompanyPrefixBase = 6;
constexpr std::size_t kOfferCode = 6;
constexpr std::size_t kFamilyCode = 3;
constexpr std::size_t kDate = 6;
// A second or third purchase's company prefix length digit 9 says that it has none.
constexpr char kNoCompanyPrefix = '9';

// "0, 1, 2, 3, 4 or 9".
void AppendChoices(ComposedMessage& fault, std::string_view choices) {
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (i > 0) fault << (i + 1 == choices.size() ? " or " : ", ");
    fault << choices[i];
  }
}

// A coupon is digits alone, though its AI's data may hold other characters.
bool RequireDigits(std::string_view digits, ComposedMessage& fault) {
  return RequireCharacters(digits, kDigits, fault, " is not a digit, as a coupon code holds.");
}

// Reads a coupon's fields from the front of its digits, refusing the first that is missing or wrong.
class CouponFields {
 public:
  CouponFields(std::string_view digits, ComposedMessage& fault) : rest_(digits), fault_(fault) {}

  bool AtEnd() const { return rest_.empty(); }

  // A field of `length` digits.
  bool Fixed(std::size_t length, std::string_view name, std::string_view& field) {
    if (rest_.size() < length) {
      fault_ << "the coupon ends within its " << name << '.';
      return false;
    }
    field = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return true;
  }

  // A digit that must be one of `choices`: the field `name`, or its length where `what` says so.
  bool Choice(std::string_view choices, std::string_view name, char& digit, std::string_view what = "") {
    std::string_view field;
    if (!Fixed(1, name, field)) return false;
    digit = field[0];
    if (choices.find(digit) != std::string_view::npos) return true;
    fault_ << "the coupon's " << name << what << " is " << digit << ", not ";
    AppendChoices(fault_, choices);
    fault_ << '.';
    return false;
  }

  bool LengthDigit(std::string_view choices, std::string_view name, char& length) {
    return Choice(choices, name, length, " length");
  }

  // A length digit of `choices`, then a field of that many digits and `base` more.
  bool Led(std::string_view choices, std::size_t base, std::string_view name, std::string_view& field) {
    char length = 0;
    return LengthDigit(choices, name, length) && Fixed(base + static_cast<std::size_t>(length - '0'), name, field);
  }

  // A purchase's requirement, its code and its family code.
  bool Purchase(std::string_view requirement, std::string_view code, std::string_view family) {
    std::string_view field;
    char digit = 0;
    return Led(kValueLengths, 0, requirement, field) && Choice(kRequirementCodes, code, digit) &&
           Fixed(kFamilyCode, family, field);
  }

  // A company prefix after a length digit, where 9 says there is none.
  bool OptionalCompanyPrefix(std::string_view name) {
    char length = 0;
    std::string_view field;
    if (!LengthDigit("01234569", name, length)) return false;
    return length == kNoCompanyPrefix ||
           Fixed(kCompanyPrefixBase + static_cast<std::size_t>(length - '0'), name, field);
  }

  bool Date(std::string_view name, std::string_view& date) {
    if (!Fixed(kDate, name, date)) return false;
    if (IsGs1ShortDate(date, false)) return true;
    fault_ << "the coupon's " << name << ' ' << date << " is not a date.";
    return false;
  }

 private:
  std::string_view rest_;
  ComposedMessage& fault_;
};

// The optional fields of AI (8110), each after the digit that names it; false when one is wrong.
bool PassesOptionalField(char field, CouponFields& fields, std::string_view& expiry, ComposedMessage& fault) {
  std::string_view value;
  char digit = 0;
  switch (field) {
    case '1':
      return fields.Choice("0123", "additional purchase rules code", digit) &&
             fields.Purchase("second purchase requirement", "second purchase requirement code",
                             "second purchase family code") &&
             fields.OptionalCompanyPrefix("second purchase company prefix");
    case '2':
      return fields.Purchase("third purchase requirement", "third purchase requirement code",
                             "third purchase family code") &&
             fields.OptionalCompanyPrefix("third purchase company prefix");
    case '3': return fields.Date("expiration date", expiry);
    case '4': {
      if (!fields.Date("start date", value)) return false;
      if (expiry.empty() || expiry >= value) return true;
      fault << "the coupon expires on " << expiry << ", before it starts on " << value << '.';
      return false;
    }
    case '5': return fields.Led(kSerialLengths, kCompanyPrefixBase, "serial number", value);
    case '6': return fields.Led("1234567", kCompanyPrefixBase, "retailer company prefix or GLN", value);
    case '9':
      return fields.Choice("01256", "save value code", digit) && fields.Choice("012", "save value item", digit) &&
             fields.Choice("0123456789", "store coupon flag", digit) &&
             fields.Choice("01", "don't multiply flag", digit);
    default: return false;
  }
}

}  // namespace

bool PassesCouponCode(std::string_view digits, ComposedMessage& fault) {
  if (!RequireDigits(digits, fault)) return false;
  CouponFields fields(digits, fault);
  std::string_view value;
  if (!fields.Led(kFieldLengths, kCompanyPrefixBase, "company prefix", value) ||
      !fields.Fixed(kOfferCode, "offer code", value) || !fields.Led(kValueLengths, 0, "save value", value) ||
      !fields.Purchase("purchase requirement", "purchase requirement code", "purchase family code")) {
    return false;
  }
  // The optional fields come each at most once, in the order of the digits that name them.
  constexpr std::string_view kOptionalFields = "1234569";
  std::string_view expiry;
  char last = '0';
  while (!fields.AtEnd()) {
    if (!fields.Fixed(1, "optional field", value)) return false;
    const char field = value[0];
    if (kOptionalFields.find(field) == std::string_view::npos || field <= last) {
      fault << "the coupon's optional field " << field
            << (field <= last ? " is out of order." : " is not one it may hold.");
      return false;
    }
    if (!PassesOptionalField(field, fields, expiry, fault)) return false;
    last = field;
  }
  return true;
}

bool PassesPositiveOfferCoupon(std::string_view digits, ComposedMessage& fault) {
  if (!RequireDigits(digits, fault)) return false;
  CouponFields fields(digits, fault);
  std::string_view value;
  char format = 0;
  if (!fields.Choice("01", "format code", format) || !fields.Led(kFieldLengths, kCompanyPrefixBase, "funder", value) ||
      !fields.Fixed(kOfferCode, "offer code", value) ||
      !fields.Led(kSerialLengths, kCompanyPrefixBase, "serial number", value)) {
    return false;
  }
  if (fields.AtEnd()) return true;
  fault << "the coupon goes on after its serial number.";
  return false;
}

}  // namespace varnel
