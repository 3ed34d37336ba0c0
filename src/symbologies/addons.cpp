// The 2- and 5-digit add-ons after an EAN/UPC symbol. Their bars start one font height below the
// main bars, leaving room for the add-on's digits above them; their values are carried only by the
// even/odd parity of the digits, since an add-on has no check digit of its own.
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "base/units.h"
#include "symbologies/ean_upc.h"

namespace varnel {
namespace {

// Parity letters of the 2-digit add-on, by its value modulo 4.
constexpr const char* kAddOn2Parity[4] = {"OO", "OE", "EO", "EE"};

constexpr int kAddOn5Digits = 5;

// The gap is a physical distance, so it is converted at the resolution along the symbol; the cursor
// is added before truncating, and an extreme gap saturates instead of overflowing.
void SkipGap(Context& context) {
  context.state.cursor = TruncToInt(context.state.cursor + context.state.dpiAlong * double{context.settings.supplementGapCm} * kInchesPerCm);
}

// Gap, guard, then `count` characters of supplementText with a separator between each two, each
// even or odd as its parity letter says. Characters beyond the text draw nothing, and so does a
// character that is not a digit; only JAN symbols let such text through validation.
void DrawAddOn(Context& context, const char* parity, int count) {
  SkipGap(context);
  context.state.supplementStart = context.state.cursor;
  const BarOffsets offsets = AddOnBarOffsets(context);
  DrawPattern(context, "bwb", "112", offsets);
  const ParitySets sets{parity, 'E', &kUpcEven, &kUpcOdd};
  const FixedPositions digits(context.settings.supplementText, count), letters(parity, count);
  for (int i = 0; i < count; ++i) {
    if (i > 0) DrawPattern(context, "wb", "11", offsets);
    DrawDigit(context, SetFor(sets, letters[i]), digits[i], offsets);
  }
  context.state.supplementEnd = context.state.cursor;
}

// A character that is not a digit (or is missing) counts as 0.
int DigitOrZero(char c) { return DigitValue(c) < 0 ? 0 : DigitValue(c); }

}  // namespace

void EncodeAddOn2(Context& context) {
  const int value = 10 * DigitOrZero(CharAt(context.settings.supplementText, 0)) + DigitOrZero(CharAt(context.settings.supplementText, 1));
  DrawAddOn(context, kAddOn2Parity[value % 4], 2);
}

void EncodeAddOn5(Context& context) {
  // The check digit of the five digits drawn: weight 3 on the first, third and fifth, 9 on the second
  // and fourth, units digit of the sum.
  const FixedPositions digits(context.settings.supplementText, kAddOn5Digits);
  int sum = 0;
  for (int i = 0; i < kAddOn5Digits; ++i) sum += (i % 2 == 0 ? 3 : 9) * DigitOrZero(digits[i]);
  DrawAddOn(context, AddOn5ParityTable[sum % 10], kAddOn5Digits);
}

}  // namespace varnel
