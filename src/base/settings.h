// Everything a host can choose about the next barcode: one record a context, zero at creation,
// written by the setter exports and read by every render.
#pragma once

#include <cstdint>

#include "base/gdi_types.h"

namespace varnel {

inline constexpr int kMessageCapacity = 1000;        // 999 characters and the NUL
inline constexpr int kSupplementTextCapacity = 12;   // 11 digits and the NUL
inline constexpr int kFaceNameCapacity = 32;         // 31 characters and the NUL
inline constexpr int kRefusalTextCapacity = 256;     // a validation message composed from parts
inline constexpr int kSymbologyCount = 23;
// VnBasicInfo has always taken 0..20 and left the setting as it was for any other number; the
// symbologies numbered from here on are chosen with VnSetSymbology alone.
inline constexpr int kClassicSymbologyCount = 21;

enum Symbology : std::int16_t {
  kCodabar = 0,
  kCode11 = 1,
  kCode128 = 2,
  kCode39 = 3,
  kCode39Ascii = 4,
  kCode93 = 5,
  kUccEan128 = 6,
  kEan13 = 7,
  kEan8 = 8,
  kInterleaved2of5 = 9,
  kIsbn = 10,
  kJan13 = 11,
  kJan8 = 12,
  kMatrix2of5 = 13,
  kMsi = 14,
  kPlanet = 15,
  kPostnet = 16,
  kSscc18 = 17,
  kUccEan128Ai01 = 18,
  kUpcA = 19,
  kUpcE = 20,
  kGs1_128 = 21,
  kItf14 = 22,
};

enum Orientation : std::int16_t { kUpright = 0, kTurned90 = 1, kTurned180 = 2, kTurned270 = 3 };
enum FrameStyle : std::int16_t { kNoFrame = 0, kDashedFrame = 1, kSolidFrame = 2 };
enum SupplementKind : std::int16_t { kNoSupplement = 0, kSupplement2 = 1, kSupplement5 = 2 };

struct SymbolSettings {
  std::int16_t symbology;
  char message[kMessageCapacity];
  std::int32_t width;
  std::int32_t height;
  float narrowWidthCm;
  float wideRatio;
  float barHeightCm;
  std::int16_t orientation;
  std::int16_t frameStyle;
  std::int32_t showText;
  std::int32_t addCheckDigit;
  std::int32_t checkDigitInText;
  char codabarStart;
  char codabarStop;
  std::int16_t upceSystem;
  std::int16_t supplementKind;
  char supplementText[kSupplementTextCapacity];
  float supplementGapCm;
  FontDescription font;
  COLORREF barColor;
  COLORREF backColor;
  // Beyond the classic record: whether the PNG and the SVG leave the background transparent.
  std::int32_t transparentBackground;
};


// Orientations 1 and 3 run the symbol along the picture's height.
inline bool RunsVertically(int orientation) { return orientation == kTurned90 || orientation == kTurned270; }

}  // namespace varnel
