// One barcode as the command line describes it.
#pragma once

#include <optional>
#include <string>

#include "lengths.h"
#include "value_parsers.h"

namespace varnel::tool {

// Starts from the library's own defaults, except where a command-line tool should draw a symbol
// that scans as it is: Code 128, which takes any data, so a first try draws whatever was typed;
// a picture fitted to the symbol and its quiet zones; the check characters that scanners expect
// of Code 93, SSCC-18 and AI 01; an add-on gap that readers look for; and text at print sizes.
struct BarcodeOptions {
  int symbology = 2;
  // As typed: UTF-8 unless `raw`, and retail numbers as people have them (see retail_numbers.h).
  std::string data;
  bool raw = false;
  // Without a size, the symbol, its quiet zones and its text, and nothing more.
  std::optional<Pair> size;
  std::optional<int> quietZoneModules;  // instead of the symbology's own
  // The narrow width: the library's centimetres (--narrow), or a print size met in whole pixels
  // (--x-dim), whichever the command line gave last.
  double narrowWidthCm = 0.07;
  std::optional<Length> xDimension;
  std::optional<Length> barHeight;  // the library's 1.5 cm when unset
  double wideRatio = 2.0;
  int orientation = 0;
  int frame = 0;
  std::string fontFace = "Arial";
  // The symbology's print size at the resolution when unset (see print_sizes.h).
  std::optional<Length> fontHeight;
  bool showText = true;
  std::optional<bool> addCheckCharacter;  // the symbology's convention when unset
  bool checkCharacterInText = false;
  int codabarStart = 0;
  int codabarStop = 1;
  std::optional<int> upceSystem;  // from the number when it carries one, else 0
  // Two digits make a 2-digit add-on and any other non-empty text a 5-digit one, so that wrong
  // add-on digits are refused by the library like any other wrong data.
  std::string addOnDigits;
  std::optional<double> addOnGapCm;  // the standard's 9 narrow widths when unset
  Rgb barColor{0, 0, 0};
  Rgb backColor{255, 255, 255};
  bool transparentBackground = false;  // PNG and SVG only
  Pair resolution{96, 96};
};

}  // namespace varnel::tool
