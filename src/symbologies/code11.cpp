// Code 11: digits and the dash in five elements each, three bars and two spaces, every character
// followed by a narrow gap, framed by one start/stop character, with an optional modulo-11 check
// character.
#include <cstring>

#include "drawing/render_state.h"
#include "symbologies/discrete_characters.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kCode11Colours[] = "bwbwb";
constexpr char kStartStopWidths[] = "nnwwn";
constexpr unsigned kCode11CheckModulus = 11;
constexpr unsigned kCode11WeightCycle = 10;

int Code11Row(char c) { return LookupCharacterRow(kCode11TableId, c); }

void DrawCode11Row(Context& context, int row) { DrawCharacterAndGap(context, kCode11Colours, Code11Table[row].pattern); }

// Weights run 1, 2, ..., 10 from the last character and start again at 1. A byte Code 11 lacks is
// not drawn, so it takes no weight either.
int CheckValue(const char* data) {
  unsigned sum = 0;
  unsigned weight = 1;
  for (std::size_t i = std::strlen(data); i-- > 0;) {
    const int row = Code11Row(data[i]);
    if (row < 0) continue;
    sum += weight * static_cast<unsigned>(row);
    weight = weight == kCode11WeightCycle ? 1 : weight + 1;
  }
  return static_cast<int>(sum % kCode11CheckModulus);
}

// Walked over by every walk so that the measured length includes it; printed by the drawing walk.
void DrawCheckCharacter(Context& context) {
  if (context.settings.addCheckDigit == 0) return;
  const int row = CheckValue(context.state.workMessage);
  DrawCode11Row(context, row);
  if (context.state.walk.draws && context.settings.checkDigitInText != 0) {
    context.state.humanText[0] = '\0';
    AppendText(context.state.humanText, context.state.workMessage);
    AppendText(context.state.humanText, Code11Table[row].key);
  }
}

}  // namespace

void EncodeCode11(Context& context) {
  DrawCharacterAndGap(context, kCode11Colours, kStartStopWidths);
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const int row = Code11Row(*p);
    if (row >= 0) DrawCode11Row(context, row);
  }
  DrawCheckCharacter(context);
  DrawCharacterAndGap(context, kCode11Colours, kStartStopWidths);
}

}  // namespace varnel
