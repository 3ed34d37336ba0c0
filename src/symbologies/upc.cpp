// UPC-A, and UPC-E: the same 11-digit number with its zeros suppressed into six digits, whose
// parities carry the number system and the check digit.
#include <array>
#include <cstddef>

#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"
#include "symbologies/upc_e_zeros.h"
#include "symbologies/encoders.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr int kUpcDataDigits = 11;
constexpr int kUpcADigitsPerHalf = 6;
constexpr int kUpcEDigits = 6;
constexpr int kCheckDigitIndex = kUpcDataDigits;
constexpr char kUpcEEndGuard[] = "wbwbwb";

using SixDigits = std::array<char, kUpcEDigits + 1>;

bool IsOneOf(char c, char low, char high) { return c >= low && c <= high; }

// The six UPC-E digits of the UPC-A number d1..d11. Which digits are kept depends on where the
// manufacturer number ends in zeros; the digits a rule drops are taken to be zeros without looking
// (validation has refused numbers where they are not, see IsZeroSuppressible). The number system d1
// is never among them. Data that fits no rule (only possible with non-digits) gives six blanks,
// which draw nothing.
SixDigits SuppressZeros(const char* number) {
  const auto d = [number](int position) { return CharAt(number, position - 1); };
  const char d4 = d(4), d5 = d(5), d6 = d(6);
  if (IsOneOf(d4, '0', '2') && d5 == '0' && d6 == '0') return {d(2), d(3), d(9), d(10), d(11), d4, '\0'};
  if (IsOneOf(d4, '3', '9') && d5 == '0' && d6 == '0') return {d(2), d(3), d4, d(10), d(11), '3', '\0'};
  if (IsOneOf(d5, '1', '9') && d6 == '0') return {d(2), d(3), d4, d5, d(11), '4', '\0'};
  if (d6 != '0') return {d(2), d(3), d4, d5, d6, d(11), '\0'};
  return {' ', ' ', ' ', ' ', ' ', ' ', '\0'};
}

// Number system 0 or 1, as VnUPCESystem allows.
int UpcENumberSystem(Context& context) { return UpcENumberSystemDigit(context) - '0'; }

// The parity letters of the six digits, from the number system and the check digit; a check
// character that is not a digit chooses no row, and the digits are then all drawn odd.
const char* UpcEParity(Context& context, char checkDigit) {
  const int check = DigitValue(checkDigit);
  return check < 0 ? "" : UpceParityTable[10 * UpcENumberSystem(context) + check];
}

// The printed text: number system, the six digits, the check digit.
void BuildUpcEText(Context& context, const SixDigits& six, char checkDigit) {
  const char numberSystem[] = {UpcENumberSystemDigit(context), '\0'};
  CopyChars(context.state.humanText, numberSystem, 1);
  AppendText(context.state.humanText, six.data());
  AppendChar(context.state.humanText, checkDigit);
}

}  // namespace

char UpcENumberSystemDigit(Context& context) { return context.settings.upceSystem == 1 ? '1' : '0'; }

bool IsZeroSuppressible(const char* number) {
  const std::array<char, 10> expanded = ExpandUpcEZeros(SuppressZeros(number).data());
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    if (CharAt(number, static_cast<int>(i) + 1) != expanded[i]) return false;
  }
  return true;
}

void EncodeUpcA(Context& context) {
  AppendCheckDigit(context, kUpcDataDigits);
  DrawTwoHalfSymbol(context, context.state.workMessage, 0, kUpcADigitsPerHalf, SingleSet(kUpcLeft), SingleSet(kUpcRight));
}

void EncodeUpcE(Context& context) {
  AppendCheckDigit(context, kUpcDataDigits);
  const SixDigits six = SuppressZeros(context.state.workMessage);
  const char checkDigit = CharAt(context.state.workMessage, kCheckDigitIndex);
  BuildUpcEText(context, six, checkDigit);

  DrawStartGuard(context);
  DrawDigitRun(context, six.data(), 0, kUpcEDigits, ParitySets{UpcEParity(context, checkDigit), 'E', &kUpcEven, &kUpcOdd});
  // The six digits are printed over the whole digit area, which has no centre guard; their cells
  // reach one module into the end guard.
  context.state.rightDigitsEnd = SaturatingAdd(context.state.cursor, context.state.narrowWidth);
  DrawGuard(context, kUpcEEndGuard);
  FinishMainSymbol(context);
}

}  // namespace varnel
