// POSTNET and PLANET: five full- or half-height bars per digit between two full frame bars, with an
// optional check digit that brings the digit sum to a multiple of ten.
#include <cstdint>

#include "render/element_drawing.h"
#include "render/int_math.h"
#include "render/render_state.h"
#include "symbologies/check_digits.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "symbologies/tables.h"
#include "symbologies/text_routines.h"

namespace varnel {
namespace {

constexpr char kFrameBar[] = "1";
constexpr unsigned kPostalCheckModulus = 10;
// The symbol is measured to one narrow width before the closing frame bar: that bar, its space and
// the space before it lie outside the reported length.
constexpr int kNarrowWidthsBeyondEnd = 3;

void EncodePostal(const KeyedRow (&table)[10]) {
  DrawPostalBars(kFrameBar);
  unsigned digitSum = 0;
  for (const char* p = state.workMessage; *p != '\0'; ++p) {
    const int digit = DigitValue(*p);
    if (digit < 0) continue;
    digitSum += static_cast<unsigned>(digit);
    DrawPostalBars(table[digit].pattern);
  }
  if (settings.addCheckDigit != 0) {
    const int check = ModuloComplement(digitSum, kPostalCheckModulus);
    DrawPostalBars(table[check].pattern);
    // Printed through the working message, in the drawing pass only so that it is added once.
    if (state.measuring == 0 && settings.checkDigitInText != 0) AppendText(state.workMessage, table[check].key);
  }
  DrawPostalBars(kFrameBar);
  state.cursor = ClampToInt(std::int64_t{state.cursor} - std::int64_t{kNarrowWidthsBeyondEnd} * state.narrowWidth);
}

}  // namespace

void EncodePlanet() { EncodePostal(PlanetTable); }

void EncodePostnet() { EncodePostal(PostnetTable); }

}  // namespace varnel
