// MSI: every digit as its four bits, most significant first, each bit a bar and a space (a narrow
// bar then a wide space for 0, a wide bar then a narrow space for 1), with an optional modulo-10
// check digit of the Luhn kind.
#include <cstring>

#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/check_digits.h"
#include "symbologies/discrete_characters.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kDigitColours[] = "bwbwbwbw";
// The start bar is two narrow bars side by side, so it stays twice the narrow width whatever the
// wide/narrow ratio; the stop's space is likewise two narrow spaces.
constexpr char kStartColours[] = "bbw";
constexpr char kStartWidths[] = "nnn";
constexpr char kStopColours[] = "bwwb";
constexpr char kStopWidths[] = "nnnn";

// Counting from the right, the digits at odd positions form a number that is doubled and whose
// digits are added; the digits at even positions are added as they are. Doubling digit by digit
// and adding the digits of each double gives the same total for a message of any length.
int MsiCheckDigit(const char* digits) {
  unsigned total = 0;
  bool doubled = true;  // the last digit is at position 1
  for (std::size_t i = std::strlen(digits); i-- > 0;) {
    const int value = DigitValue(digits[i]);
    if (value < 0) continue;
    const auto digit = static_cast<unsigned>(value);
    total += doubled ? (digit <= 4 ? 2 * digit : 2 * digit - 9) : digit;
    doubled = !doubled;
  }
  return ModuloComplement(total, 10);
}

void DrawMsiRow(Context& context, int row) { DrawPattern(context, kDigitColours, MsiTable[row].pattern, DataBarOffsets(context)); }

}  // namespace

void EncodeMsi(Context& context) {
  DrawPattern(context, kStartColours, kStartWidths, DataBarOffsets(context));
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const int row = LookupCharacterRow(kMsiTableId, *p);
    if (row >= 0) DrawMsiRow(context, row);
  }
  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, context.state.workMessage);
  if (context.settings.addCheckDigit != 0) {
    const int check = MsiCheckDigit(context.state.workMessage);
    DrawMsiRow(context, check);
    if (context.state.walk.draws && context.settings.checkDigitInText != 0) AppendText(context.state.humanText, MsiTable[check].key);
  }
  DrawPattern(context, kStopColours, kStopWidths, DataBarOffsets(context));
}

}  // namespace varnel
