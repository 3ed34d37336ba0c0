// Codabar: seven elements per character, four bars and three spaces, each character but the stop
// followed by a narrow gap. The caller chooses the start and stop letters, which count in the
// optional modulo-16 check character but are never printed.
#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/check_digits.h"
#include "symbologies/discrete_characters.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kCodabarColours[] = "bwbwbwb";
constexpr unsigned kCodabarCheckModulus = 16;

int CodabarRow(char c) { return LookupCharacterRow(kCodabarTableId, c); }

// A byte Codabar lacks has no row: it is neither drawn nor counted. The same holds for a start or
// stop letter that was never set (zero before the defaults).
unsigned CheckValue(int row) { return row < 0 ? 0 : static_cast<unsigned>(row); }

void DrawCharacter(Context& context, int row) {
  if (row >= 0) DrawCharacterAndGap(context, kCodabarColours, CodabarTable[row].pattern);
}

// Walked over by every walk so that the measured length includes it; printed by extending the
// working message in the drawing walk only, so it is added once.
void DrawCheckCharacter(Context& context, unsigned checkSum) {
  if (context.settings.addCheckDigit == 0) return;
  const int row = ModuloComplement(checkSum, kCodabarCheckModulus);
  DrawCharacterAndGap(context, kCodabarColours, CodabarTable[row].pattern);
  if (context.state.walk.draws && context.settings.checkDigitInText != 0) AppendText(context.state.workMessage, CodabarTable[row].key);
}

}  // namespace

void EncodeCodabar(Context& context) {
  const int startRow = CodabarRow(context.settings.codabarStart);
  const int stopRow = CodabarRow(context.settings.codabarStop);
  unsigned checkSum = CheckValue(startRow) + CheckValue(stopRow);
  DrawCharacter(context, startRow);
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const int row = CodabarRow(*p);
    checkSum += CheckValue(row);
    DrawCharacter(context, row);
  }
  DrawCheckCharacter(context, checkSum);
  // The stop closes the symbol: no gap after it.
  if (stopRow >= 0) DrawPattern(context, kCodabarColours, CodabarTable[stopRow].pattern, DataBarOffsets(context));
}

}  // namespace varnel
