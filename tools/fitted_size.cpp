#include "fitted_size.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/settings.h"
#include "symbology_conventions.h"

namespace varnel::tool {
namespace {

// Text keeps this share of its cell clear of the picture's edge across the symbol: the cell ends
// where the deepest glyphs do, the parentheses of GS1 text among them.
constexpr int kTextMarginShare = 8;

// Room wanted on each side of the symbol, in its own frame, in pixels: along it before its first
// bar and after its end, across it above the bars' tops and below the band's bottom.
struct Margins {
  std::int64_t before = 0;
  std::int64_t after = 0;
  std::int64_t above = 0;
  std::int64_t below = 0;
};

std::int64_t InchesInPixels(double inches, int dpi) { return static_cast<std::int64_t>(std::ceil(inches * dpi)); }

Margins NeededMargins(const BarcodeOptions& barcode, const PrintSizes& sizes, MeasuredSymbol symbol) {
  const SymbologyConventions& conventions = ConventionsOf(barcode.symbology);
  const QuietZone& zone = conventions.quietZone;
  // Only the EAN/UPC family draws an add-on, and only they have a zone for after it.
  const bool addOn = !barcode.addOnDigits.empty() && zone.modulesAfterAddOn > 0;
  const std::int64_t narrow = sizes.narrowPixels;

  Margins m;
  if (barcode.quietZoneModules) {
    m.before = m.after = *barcode.quietZoneModules * narrow;
  } else {
    const std::int64_t clear = InchesInPixels(zone.inchesAlong, sizes.dpiAlong);
    m.before = zone.modulesBefore * narrow + clear;
    m.after = (addOn ? zone.modulesAfterAddOn : zone.modulesAfter) * narrow + clear;
  }
  m.after -= conventions.measuredEndModules * narrow;
  m.above = m.below = InchesInPixels(zone.inchesAcross, sizes.dpiAcross);

  // What the library draws beside the symbol, with a margin across for its text.
  const std::int64_t textMargin = barcode.showText ? std::max(1, sizes.fontHeight / kTextMarginShare) : 0;
  m.before = std::max<std::int64_t>(m.before, symbol.before);
  m.after = std::max<std::int64_t>(m.after, symbol.after);
  if (symbol.above > 0) m.above = std::max(m.above, symbol.above + textMargin);
  if (symbol.below > 0) m.below = std::max(m.below, symbol.below + textMargin);
  for (std::int64_t* side : {&m.before, &m.after, &m.above, &m.below}) *side += symbol.frame;
  return m;
}

// The least space beside a symbol that the library's centring splits into at least `firstSide`
// on the side it rounds down and `secondSide` on the other.
std::int64_t CentredSpace(std::int64_t firstSide, std::int64_t secondSide) {
  return std::max<std::int64_t>({0, 2 * firstSide, 2 * secondSide - 1});
}

int ClampedSize(std::int64_t size) {
  return static_cast<int>(std::clamp<std::int64_t>(size, 1, std::numeric_limits<int>::max()));
}

}  // namespace

Pair FittedPictureSize(const BarcodeOptions& barcode, const PrintSizes& sizes, MeasuredSymbol symbol) {
  const Margins m = NeededMargins(barcode, sizes, symbol);
  // Along the symbol the library rounds down before its start; across it, above the bars when
  // upright or turned 90 degrees, below them when it is turned over.
  const bool turnedOver = barcode.orientation == kTurned180 || barcode.orientation == kTurned270;
  const std::int64_t along = symbol.length + CentredSpace(m.before, m.after);
  const std::int64_t across =
      symbol.thickness + (turnedOver ? CentredSpace(m.below, m.above) : CentredSpace(m.above, m.below));
  if (RunsVertically(barcode.orientation)) return {ClampedSize(across), ClampedSize(along)};
  return {ClampedSize(along), ClampedSize(across)};
}

}  // namespace varnel::tool
