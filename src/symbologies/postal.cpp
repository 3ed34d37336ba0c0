// POSTNET and PLANET: five full- or half-height bars per digit between two full frame bars, with an
// optional check digit that brings the digit sum to a multiple of ten.
#include <limits>

#include "drawing/element_drawing.h"
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/check_digits.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr char kFrameBar[] = "1";
constexpr unsigned kPostalCheckModulus = 10;

void EncodePostal(Context& context, const KeyedRow (&table)[10]) {
  DrawPostalBars(context, kFrameBar);
  unsigned digitSum = 0;
  for (const char* p = context.state.workMessage; *p != '\0'; ++p) {
    const int digit = DigitValue(*p);
    if (digit < 0) continue;
    digitSum += static_cast<unsigned>(digit);
    DrawPostalBars(context, table[digit].pattern);
  }
  if (context.settings.addCheckDigit != 0) {
    const int check = ModuloComplement(digitSum, kPostalCheckModulus);
    DrawPostalBars(context, table[check].pattern);
    // Printed through the working message, by the drawing walk only so that it is added once.
    if (context.state.walk.draws && context.settings.checkDigitInText != 0) AppendText(context.state.workMessage, table[check].key);
  }
  // The symbol is measured to one narrow width before the closing frame bar: that bar, its space and
  // the space before it lie outside the reported length. A cursor that saturated on the way (an
  // extreme narrow width) stays at the end of the range: the symbol is longer than any picture, and
  // stepping back from a saturated position would make it look short.
  const int closingBar = context.state.cursor;
  DrawPostalBars(context, kFrameBar);
  context.state.cursor = closingBar == std::numeric_limits<int>::max() ? closingBar : SaturatingSub(closingBar, context.state.narrowWidth);
}

}  // namespace

void EncodePlanet(Context& context) { EncodePostal(context, PlanetTable); }

void EncodePostnet(Context& context) { EncodePostal(context, PostnetTable); }

}  // namespace varnel
