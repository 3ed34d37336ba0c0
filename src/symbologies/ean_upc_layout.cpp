// The drawing steps of the EAN/UPC family: digit patterns chosen by parity, guards, digit groups and
// the positions the text below the bars is spread over.
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"

namespace varnel {
namespace {

constexpr char kStartOrEndGuard[] = "bwb";
constexpr char kCentreGuard[] = "wbwbw";

int OneModuleOn(Context& context, int position) { return SaturatingAdd(position, context.state.narrowWidth); }
int OneModuleBack(Context& context, int position) { return SaturatingAdd(position, -context.state.narrowWidth); }

}  // namespace

void DrawGuard(Context& context, const char* colours) {
  constexpr char kModules[] = "nnnnnn";
  DrawPattern(context, colours, kModules, GuardBarOffsets(context));
}

const DigitSet& SetFor(const ParitySets& sets, char letter) {
  return letter == sets.mark ? *sets.marked : *sets.unmarked;
}

void DrawDigit(Context& context, const DigitSet& set, char digit, BarOffsets offsets) {
  const char key[2] = {digit, '\0'};
  const int row = LookupSymbolIndex(set.tableId, key);
  if (row < 0) return;
  DrawPattern(context, set.colours, set.rows[row].pattern, offsets);
}

void DrawDigitRun(Context& context, const char* text, int first, int count, const ParitySets& sets) {
  const FixedPositions digits(text, first + count), letters(sets.letters, count);
  const BarOffsets offsets = DataBarOffsets(context);
  for (int i = 0; i < count; ++i) DrawDigit(context, SetFor(sets, letters[i]), digits[first + i], offsets);
}

void DrawStartGuard(Context& context) {
  DrawGuard(context, kStartOrEndGuard);
  context.state.leftDigitsStart = context.state.cursor;
}

void FinishMainSymbol(Context& context) {
  context.state.symbolEnd = context.state.cursor;
  if (context.settings.supplementKind == kSupplement2) EncodeAddOn2(context);
  if (context.settings.supplementKind == kSupplement5) EncodeAddOn5(context);
}

void DrawTwoHalfSymbol(Context& context, const char* text, int first, int digitsPerHalf, const ParitySets& left,
                       const ParitySets& right) {
  DrawStartGuard(context);
  DrawDigitRun(context, text, first, digitsPerHalf, left);
  context.state.leftDigitsEnd = OneModuleOn(context, context.state.cursor);
  DrawGuard(context, kCentreGuard);
  context.state.rightDigitsStart = OneModuleBack(context, context.state.cursor);
  DrawDigitRun(context, text, first + digitsPerHalf, digitsPerHalf, right);
  context.state.rightDigitsEnd = context.state.cursor;
  DrawGuard(context, kStartOrEndGuard);
  FinishMainSymbol(context);
}

}  // namespace varnel
