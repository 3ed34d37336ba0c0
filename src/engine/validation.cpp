#include "engine/validation.h"

#include <cstring>

#include "base/composed_message.h"
#include "base/settings.h"
#include "drawing/render_state.h"
#include "symbologies/catalogue.h"
#include "symbologies/code128.h"
#include "symbologies/gs1_128.h"
#include "symbologies/ean_upc.h"
#include "symbologies/tables.h"

namespace varnel {
namespace {

int Refuse(Context& context, const char* message) {
  context.state.errorMessage = message;
  return 0;
}

// Looks every character up as a one-character key, from the last to the first. Multi-character
// keys (the Code 93 shift keys) can never be matched by message text.
bool AllCharactersInTable(int tableId, const char* text) {
  for (std::size_t i = std::strlen(text); i-- > 0;) {
    const char key[2] = {text[i], '\0'};
    if (LookupSymbolIndex(tableId, key) < 0) return false;
  }
  return true;
}

int RequireDigits(Context& context, const char* text, int length, const char* message) {
  return IsDigitString(text, length) ? 1 : Refuse(context, message);
}

int RequireDigitsOnly(Context& context, const char* text) {
  return RequireDigits(context, text, static_cast<int>(std::strlen(text)), kOnlyDigitsAllowed);
}

int RequireJanDigits(Context& context, const char* text, int length, const char* lengthMessage) {
  if (!IsDigitString(text, length)) return Refuse(context, lengthMessage);
  if (text[0] != '4' || text[1] != '9') return Refuse(context, kLeading49Required);
  return 1;
}

int RequireEvenLength(Context& context, const char* text) {
  return std::strlen(text) % 2 == 0 ? 1 : Refuse(context, kEvenLengthRequired);
}

// Every pair must be one that code set C draws; a byte that is not would leave the bars and the
// printed text telling different stories.
int RequireDrawnPairs(Context& context, const char* pairs, bool fnc1Allowed) {
  return EveryPairDrawn(pairs, fnc1Allowed) ? 1 : Refuse(context, kOnlyDigitsAllowed);
}

// The refusal names what is wrong, so it is composed into the context's own buffer, which keeps it
// as the last error until the next validation.
int RequireGs1ElementStrings(Context& context, const char* data) {
  ComposedMessage fault(context.refusalText, sizeof context.refusalText);
  return ValidateGs1_128(data, fault) ? 1 : Refuse(context, context.refusalText);
}

// `digits` digits, or one more that must be their check digit; both refusals name the numbers.
int RequireDigitsAndCheckDigit(Context& context, const char* data, int digits) {
  ComposedMessage fault(context.refusalText, sizeof context.refusalText);
  const std::size_t length = std::strlen(data);
  if (!IsDigitString(data, 0) || (length != static_cast<std::size_t>(digits) && length != static_cast<std::size_t>(digits) + 1)) {
    fault << digits << " or " << digits + 1 << " digits are required.";
    return Refuse(context, context.refusalText);
  }
  if (length == static_cast<std::size_t>(digits)) return 1;
  const char expected = UpcEanCheckDigit(std::string_view(data, length - 1));
  if (data[length - 1] == expected) return 1;
  fault << "The check digit should be " << expected << '.';
  return Refuse(context, context.refusalText);
}

int ValidateSupplement(Context& context) {
  if (context.settings.supplementKind <= kNoSupplement || !TakesAddOnDigits(context.settings.symbology)) return 1;
  if (context.settings.supplementKind == kSupplement2)
    return RequireDigits(context, context.settings.supplementText, 2, kWrongSupplement2);
  if (context.settings.supplementKind == kSupplement5)
    return RequireDigits(context, context.settings.supplementText, 5, kWrongSupplement5);
  return 1;
}

// The message that refuses data of the wrong length for a rule of `digits` digits.
const char* DigitCountMessage(int digits) {
  switch (digits) {
    case 7: return k7DigitsRequired;
    case 10: return k10DigitsRequired;
    case 11: return k11DigitsRequired;
    default: return k12DigitsRequired;
  }
}

int ValidateData(Context& context) {
  const char* data = context.state.workMessage;
  const SymbologyRow* row = FindSymbology(context.settings.symbology);
  if (row == nullptr) return 1;
  switch (row->data) {
    case DataRule::kAnyBytes: return 1;
    case DataRule::kTableCharacters:
      // These table ids are the symbology numbers themselves.
      return AllCharactersInTable(row->number, data) ? 1 : Refuse(context, kWrongDataFormat);
    case DataRule::kDigits: return RequireDigitsOnly(context, data);
    case DataRule::kFixedDigits: return RequireDigits(context, data, row->digits, DigitCountMessage(row->digits));
    case DataRule::kJanDigits: return RequireJanDigits(context, data, row->digits, DigitCountMessage(row->digits));
    case DataRule::kUpcEDigits:
      if (!IsDigitString(data, 11)) return Refuse(context, k11DigitsRequired);
      if (data[0] != UpcENumberSystemDigit(context)) return Refuse(context, kNumberSystemRequired);
      return IsZeroSuppressible(data) ? 1 : Refuse(context, kZeroSuppressibleRequired);
    case DataRule::kEvenDigitPairs: return RequireEvenLength(context, data) && RequireDrawnPairs(context, data, false);
    case DataRule::kDigitPairsOrFnc1: return RequireDrawnPairs(context, PadToPairs(data).text, true);
    case DataRule::kGs1ElementStrings: return RequireGs1ElementStrings(context, data);
    case DataRule::kDigitsAndCheckDigit: return RequireDigitsAndCheckDigit(context, data, row->digits);
  }
  return 1;
}

}  // namespace

int IsDigitString(const char* text, int requiredLength) {
  const std::size_t length = std::strlen(text);
  if (requiredLength > 0 && length != static_cast<std::size_t>(requiredLength)) return 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
  }
  return 1;
}

int ValidateMessage(Context& context) { return ValidateSupplement(context) && ValidateData(context); }

}  // namespace varnel
