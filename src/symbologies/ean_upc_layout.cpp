// The drawing steps of the EAN/UPC family: digit patterns chosen by parity, guards, digit groups and
// the positions the text below the bars is spread over.
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"

namespace varnel {
namespace {

constexpr char kStartOrEndGuard[] = "bwb";
constexpr char kCentreGuard[] = "wbwbw";

int OneModuleOn(int position) { return SaturatingAdd(position, state.narrowWidth); }
int OneModuleBack(int position) { return SaturatingAdd(position, -state.narrowWidth); }

}  // namespace

void DrawGuard(const char* colours) {
  constexpr char kModules[] = "nnnnnn";
  DrawPattern(colours, kModules, GuardBarOffsets());
}

const DigitSet& SetFor(const ParitySets& sets, char letter) {
  return letter == sets.mark ? *sets.marked : *sets.unmarked;
}

void DrawDigit(const DigitSet& set, char digit, BarOffsets offsets) {
  const char key[2] = {digit, '\0'};
  const int row = LookupSymbolIndex(set.tableId, key);
  if (row < 0) return;
  DrawPattern(set.colours, set.rows[row].pattern, offsets);
}

void DrawDigitRun(const char* text, int first, int count, const ParitySets& sets) {
  const FixedPositions digits(text, first + count), letters(sets.letters, count);
  const BarOffsets offsets = DataBarOffsets();
  for (int i = 0; i < count; ++i) DrawDigit(SetFor(sets, letters[i]), digits[first + i], offsets);
}

void DrawStartGuard() {
  DrawGuard(kStartOrEndGuard);
  state.leftDigitsStart = state.cursor;
}

void FinishMainSymbol() {
  state.symbolEnd = state.cursor;
  if (settings.supplementKind == kSupplement2) EncodeAddOn2();
  if (settings.supplementKind == kSupplement5) EncodeAddOn5();
}

void DrawTwoHalfSymbol(const char* text, int first, int digitsPerHalf, const ParitySets& left,
                       const ParitySets& right) {
  DrawStartGuard();
  DrawDigitRun(text, first, digitsPerHalf, left);
  state.leftDigitsEnd = OneModuleOn(state.cursor);
  DrawGuard(kCentreGuard);
  state.rightDigitsStart = OneModuleBack(state.cursor);
  DrawDigitRun(text, first + digitsPerHalf, digitsPerHalf, right);
  state.rightDigitsEnd = state.cursor;
  DrawGuard(kStartOrEndGuard);
  FinishMainSymbol();
}

}  // namespace varnel
