// The picture that holds a symbol, its quiet zones and its text, and nothing more.
#pragma once

#include "barcode_options.h"
#include "print_sizes.h"
#include "value_parsers.h"

namespace varnel::tool {

// What VnMeasure gives, the symbol's length along it and its band's thickness across it, and what
// VnMeasureReach gives, how far the drawing reaches past them and the frame's width, in pixels.
struct MeasuredSymbol {
  int length;
  int thickness;
  int before;
  int after;
  int above;
  int below;
  int frame;
};

// The smallest picture, width by height, in which the library's centring leaves the symbol its
// quiet zones (the symbology's, or --quiet-zone's) along it, the postal codes' clear zone across
// it too, room for all the library draws beside it (the digits of EAN and UPC, the ISBN caption,
// text below the band, guard bars) with a margin across for the text, and the frame outside it all.
Pair FittedPictureSize(const BarcodeOptions& barcode, const PrintSizes& sizes, MeasuredSymbol symbol);

}  // namespace varnel::tool
