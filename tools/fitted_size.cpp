#include "fitted_size.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/settings.h"
#include "symbologies/catalogue.h"
#include "symbology_conventions.h"

namespace varnel::tool {
namespace {

// The library draws the text of EAN and UPC symbols in cells one font height tall: the first digit
// in a cell before the symbol, UPC's last digit in a cell starting this far after it, and the text
// of other symbologies one pixel lower than theirs.
constexpr int kTrailingDigitGap = 3;
constexpr int kUnderSymbolDrop = 1;
// The text band it counts into the symbol's thickness is the font height less this.
constexpr int kTextBandShortfall = 4;

// Room wanted on each side of the symbol, in its own frame, in pixels: along it before its first
// bar and after its end, across it above the bars' tops and below the band's bottom.
struct Margins {
  std::int64_t before = 0;
  std::int64_t after = 0;
  std::int64_t above = 0;
  std::int64_t below = 0;
};

std::int64_t InchesInPixels(double inches, int dpi) { return static_cast<std::int64_t>(std::ceil(inches * dpi)); }

bool PrintsLeadingDigit(TextLayout layout) {
  return layout == TextLayout::kEan13Digits || layout == TextLayout::kEan13DigitsCaptioned ||
         layout == TextLayout::kUpcADigits || layout == TextLayout::kUpcEDigits;
}

bool PrintsTrailingDigit(TextLayout layout) {
  return layout == TextLayout::kUpcADigits || layout == TextLayout::kUpcEDigits;
}

// The EAN/UPC family, whose guard bars and add-on bars reach half a font height below the bars.
bool HasGuardBars(TextLayout layout) {
  return layout != TextLayout::kUnderSymbol && layout != TextLayout::kFlushUnderSymbol;
}

int FrameInset(int frame) {
  constexpr int kInsets[] = {0, 2, 1};  // none; dashed, whose top dashes lie a row in; solid
  return kInsets[frame];
}

Margins NeededMargins(const BarcodeOptions& barcode, const PrintSizes& sizes, MeasuredSymbol symbol) {
  const SymbologyConventions& conventions = ConventionsOf(barcode.symbology);
  const QuietZone& zone = conventions.quietZone;
  const TextLayout layout = kSymbologies[barcode.symbology].text;
  // Only the EAN/UPC family draws an add-on, and only they have a zone for after it.
  const bool addOn = !barcode.addOnDigits.empty() && zone.modulesAfterAddOn > 0;
  const std::int64_t narrow = sizes.narrowPixels;
  const std::int64_t lf = sizes.fontHeight;
  const std::int64_t thickness = symbol.thickness;

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

  const std::int64_t barHeight = thickness - (barcode.showText ? lf - kTextBandShortfall : 0);
  if (barcode.showText) {
    if (PrintsLeadingDigit(layout)) m.before = std::max(m.before, lf);
    if (PrintsTrailingDigit(layout) && !addOn) m.after = std::max(m.after, kTrailingDigitGap + lf);
    if (layout == TextLayout::kEan13DigitsCaptioned) m.above = std::max(m.above, lf);
    const std::int64_t cellBottom = barHeight + lf + (layout == TextLayout::kUnderSymbol ? kUnderSymbolDrop : 0);
    m.below = std::max(m.below, cellBottom - thickness);
    // The add-on's digits stand in a cell from the band's top down.
    if (addOn && TakesAddOnDigits(barcode.symbology)) m.below = std::max(m.below, lf - thickness);
  }
  if (HasGuardBars(layout)) m.below = std::max(m.below, barHeight + lf / 2 - thickness);

  // A symbol in a box of bearer bars draws no frame: the box takes its place.
  const int inset = kSymbologies[barcode.symbology].bearerBox ? 0 : FrameInset(barcode.frame);
  for (std::int64_t* side : {&m.before, &m.after, &m.above, &m.below}) *side += inset;
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
