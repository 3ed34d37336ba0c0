#include "print_sizes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/settings.h"
#include "symbologies/catalogue.h"
#include "symbology_conventions.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kLargestXDifference = 0.10;

std::string Millimetres(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g mm", value);
  return text;
}

// Without --font-height: the symbology's print size at the resolution, or the library's screen size
// where that is more.
int DefaultTextPixels(int symbology, int dpi) {
  const double points = TakesAddOnDigits(symbology) ? kEanUpcTextPoints : kTextPoints;
  return std::max(kLeastTextPixels, NearestPixels(Length{points, LengthUnit::kPoints}, dpi));
}

std::string Pixels(int count) { return std::to_string(count) + (count == 1 ? " pixel" : " pixels"); }

}  // namespace

PrintSizes ResolvePrintSizes(const BarcodeOptions& barcode) {
  const bool vertical = RunsVertically(barcode.orientation);
  PrintSizes sizes{};
  sizes.dpiAlong = vertical ? barcode.resolution.second : barcode.resolution.first;
  sizes.dpiAcross = vertical ? barcode.resolution.first : barcode.resolution.second;
  if (barcode.xDimension) {
    sizes.narrowPixels = NearestPixels(*barcode.xDimension, sizes.dpiAlong);
    sizes.narrowWidthCm = CentimetresForPixels(sizes.narrowPixels, sizes.dpiAlong);
  } else {
    sizes.narrowWidthCm = barcode.narrowWidthCm;
    sizes.narrowPixels = LibraryNarrowPixels(barcode.narrowWidthCm, sizes.dpiAlong);
  }
  if (barcode.barHeight) {
    sizes.barHeightCm = CentimetresForPixels(NearestPixels(*barcode.barHeight, sizes.dpiAcross), sizes.dpiAcross);
  }
  sizes.fontHeight = barcode.fontHeight ? NearestPixels(*barcode.fontHeight, sizes.dpiAcross)
                                        : DefaultTextPixels(barcode.symbology, sizes.dpiAcross);
  sizes.addOnGapCm =
      barcode.addOnGapCm.value_or(CentimetresForPixels(kAddOnGapModules * sizes.narrowPixels, sizes.dpiAlong));
  return sizes;
}

std::vector<std::string> PrintSizeWarnings(const BarcodeOptions& barcode, const PrintSizes& sizes) {
  std::vector<std::string> warnings;
  const std::string drawn = Pixels(sizes.narrowPixels) + " at " + std::to_string(sizes.dpiAlong) + " dpi";
  const double actualMm = sizes.narrowPixels * kMillimetresPerInch / sizes.dpiAlong;
  if (barcode.xDimension) {
    const double asked = InPixels(*barcode.xDimension, sizes.dpiAlong);
    const double difference = (sizes.narrowPixels - asked) / asked;
    if (std::abs(difference) > kLargestXDifference) {
      char percent[16];
      std::snprintf(percent, sizeof percent, "%.0f %%", std::abs(difference) * 100.0);
      warnings.push_back("the narrow width is " + drawn + " (" + Millimetres(actualMm) + "), " + percent +
                         (difference > 0 ? " wider" : " narrower") + " than --x-dim asks; a higher --dpi comes closer");
    }
  }
  const double minimumMm = ConventionsOf(barcode.symbology).minimumXMillimetres;
  if (actualMm < minimumMm) {
    warnings.push_back("the narrow width is " + drawn + " (" + Millimetres(actualMm) + "), below the " +
                       Millimetres(minimumMm) + " that " + std::string(ShortTitle(barcode.symbology)) +
                       " printing allows");
  }
  return warnings;
}

}  // namespace varnel::tool
