// One barcode as the command line describes it, and how it becomes the library's settings.
#pragma once

#include <optional>
#include <string>

#include "value_parsers.h"
#include "varnel32.h"

namespace varnel::tool {

// Starts from the library's own defaults, except the symbology: Code 128 takes any data, so a
// first try on the command line draws something whatever was typed.
struct BarcodeOptions {
  int symbology = 2;
  std::string data;
  // Without a size, the library's 300 x 200 pixels, turned for orientations 90 and 270.
  std::optional<Pair> size;
  double narrowWidthCm = 0.07;
  double wideRatio = 2.0;
  int orientation = 0;
  int frame = 0;
  std::string fontFace = "Arial";
  int fontHeight = 24;
  bool showText = true;
  bool addCheckCharacter = false;
  bool checkCharacterInText = false;
  int codabarStart = 0;
  int codabarStop = 1;
  int upceSystem = 0;
  // Two digits make a 2-digit add-on and any other non-empty text a 5-digit one, so that wrong
  // add-on digits are refused by the library like any other wrong data.
  std::string addOnDigits;
  double addOnGapCm = 0.5;
  Rgb barColor{0, 0, 0};
  Rgb backColor{255, 255, 255};
  Pair resolution{96, 96};
};

// Every setting is set on the context, starting from its defaults, so nothing of an earlier barcode
// remains. The screen resolution is the process's: it is set too, and every barcode of a run has the
// same, so contexts on other threads find the value they would set themselves.
void ApplyToContext(VnContext* context, const BarcodeOptions& barcode);

// The picture size the barcode is drawn at.
Pair PictureSize(const BarcodeOptions& barcode);

}  // namespace varnel::tool
