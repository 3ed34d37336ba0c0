// The two-of-five symbologies: every digit in five elements of which exactly two are wide.
// Interleaved 2 of 5 pairs the digits, the first of a pair in the bars and the second in the spaces
// between them; Matrix 2 of 5 draws one digit per character, three bars and two spaces, each
// followed by a narrow gap.
#include <cstddef>
#include <cstring>

#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/discrete_characters.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "symbologies/two_of_five.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kInterleavedStartColours[] = "bwbw";
constexpr char kInterleavedStartWidths[] = "nnnn";
constexpr char kInterleavedStopColours[] = "bwb";
constexpr char kInterleavedStopWidths[] = "wnn";
constexpr char kPairColours[] = "bwbwbwbwbw";
constexpr int kElementsPerDigit = 5;

constexpr char kMatrixColours[] = "bwbwb";
constexpr char kMatrixStartStopWidths[] = "wnnnn";

int TwoOfFiveRow(char c) { return LookupCharacterRow(kTwoOfFiveTableId, c); }

// The digits Interleaved 2 of 5 draws: the message, a leading "0" when the count would otherwise be
// odd, and the optional check digit. Room for the pad, 999 digits, the check digit and the NUL.
struct WorkingDigits {
  char text[kMessageCapacity + 2];
};

WorkingDigits BuildWorkingDigits(Context& context, const char* message) {
  const bool addCheck = context.settings.addCheckDigit != 0;
  const std::size_t length = strnlen(message, kMessageCapacity - 1);
  WorkingDigits digits{};
  std::size_t count = 0;
  if ((length % 2 == 0) == addCheck) digits.text[count++] = '0';
  std::memcpy(digits.text + count, message, length);
  count += length;
  digits.text[count] = '\0';
  // The pad is a leading zero, so it changes nothing in the weighted sum.
  if (addCheck) digits.text[count++] = UpcEanCheckDigit(digits.text);
  digits.text[count] = '\0';
  return digits;
}

// One pair: the elements of the two digits alternate, bar from the first, space from the second.
void DrawDigitPair(Context& context, char first, char second, BarOffsets offsets) {
  const int barRow = TwoOfFiveRow(first);
  const int spaceRow = TwoOfFiveRow(second);
  if (barRow < 0 || spaceRow < 0) return;
  char widths[2 * kElementsPerDigit + 1];
  for (int j = 0; j < kElementsPerDigit; ++j) {
    widths[2 * j] = TwoOfFiveTable[barRow].pattern[j];
    widths[2 * j + 1] = TwoOfFiveTable[spaceRow].pattern[j];
  }
  widths[2 * kElementsPerDigit] = '\0';
  DrawPattern(context, kPairColours, widths, offsets);
}

}  // namespace

void DrawInterleavedSymbol(Context& context, const char* digits, BarOffsets offsets) {
  DrawPattern(context, kInterleavedStartColours, kInterleavedStartWidths, offsets);
  for (const char* p = digits; p[0] != '\0' && p[1] != '\0'; p += 2) DrawDigitPair(context, p[0], p[1], offsets);
  DrawPattern(context, kInterleavedStopColours, kInterleavedStopWidths, offsets);
}

void EncodeInterleaved2of5(Context& context) {
  const WorkingDigits digits = BuildWorkingDigits(context, context.state.workMessage);
  DrawInterleavedSymbol(context, digits.text, DataBarOffsets(context));

  // The printed digits are what was drawn, pad and check digit included, only when the check digit
  // is to be printed; they stop at the text buffer's end.
  context.state.humanText[0] = '\0';
  AppendText(context.state.humanText, context.settings.checkDigitInText != 0 ? digits.text : context.state.workMessage);
}

void EncodeMatrix2of5(Context& context) {
  DrawCharacterAndGap(context, kMatrixColours, kMatrixStartStopWidths);
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const int row = TwoOfFiveRow(*p);
    if (row >= 0) DrawCharacterAndGap(context, kMatrixColours, TwoOfFiveTable[row].pattern);
  }
  DrawCharacterAndGap(context, kMatrixColours, kMatrixStartStopWidths);
}

}  // namespace varnel
