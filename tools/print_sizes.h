// The sizes of one barcode in pixels, and in the centimetres the library is told, at the resolution
// along the symbol and across it; and what a printer should hear about them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "barcode_options.h"

namespace varnel::tool {

struct PrintSizes {
  int dpiAlong;   // turning lengths along the symbol into pixels
  int dpiAcross;  // and across it: the picture's other axis for orientations 90 and 270
  double narrowWidthCm;
  int narrowPixels;  // what the library makes of narrowWidthCm
  std::optional<double> barHeightCm;
  int fontHeight;     // the text's cell in pixels
  double addOnGapCm;  // what the library is told, met in whole pixels when it is the default
};

PrintSizes ResolvePrintSizes(const BarcodeOptions& barcode);

// One message each when the narrow width that --x-dim gets in whole pixels is more than 10 % from
// what it asked for, or when the narrow width is below what the symbology's printing rules allow.
std::vector<std::string> PrintSizeWarnings(const BarcodeOptions& barcode, const PrintSizes& sizes);

}  // namespace varnel::tool
