// The picture that holds a symbol, its quiet zones and its text, and nothing more.
#pragma once

#include "barcode_options.h"
#include "print_sizes.h"
#include "value_parsers.h"

namespace varnel::tool {

// What VnMeasure gives: the symbol's length along it and its band's thickness across it, in pixels.
struct MeasuredSymbol {
  int length;
  int thickness;
};

// The smallest picture, width by height, in which the library's centring leaves the symbol its
// quiet zones (the symbology's, or --quiet-zone's) along it, the postal codes' clear zone across
// it too, room for the digits that EAN and UPC print beside the bars and the ISBN caption above
// them, for text cells below the band and for guard bars that reach past it, and inside the frame.
Pair FittedPictureSize(const BarcodeOptions& barcode, const PrintSizes& sizes, MeasuredSymbol symbol);

}  // namespace varnel::tool
