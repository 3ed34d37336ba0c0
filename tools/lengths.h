// Lengths as people write them for print, "0.33mm" or "12pt", and how the library's centimetres
// become whole pixels.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

namespace varnel::tool {

enum class LengthUnit { kPixels, kPoints, kMillimetres, kCentimetres, kInches };

struct Length {
  double value = 0.0;
  LengthUnit unit = LengthUnit::kPixels;
};

// A finite number above 0 directly followed by one of the `allowed` units ("px", "pt", "mm", "cm",
// "in"); nothing else, so a bare number or "0.33 mm" is not a length.
std::optional<Length> ParseLength(std::string_view text, std::initializer_list<LengthUnit> allowed);

// The narrow width for print: a length in millimetres, centimetres, inches or pixels. A bare number
// is refused: it would be whole pixels, and who writes 0.33 means millimetres.
std::optional<Length> ParsePrintLength(std::string_view text);

// A bar height: a bare whole number above 0 is pixels, as for the font height; a length in
// millimetres, centimetres, inches or pixels is met in whole pixels at the resolution.
std::optional<Length> ParseBarHeight(std::string_view text);

// A font height: a bare whole number above 0 is pixels, as the library takes it; a length in
// points, millimetres, centimetres, inches or pixels is met in whole pixels at the resolution.
std::optional<Length> ParseFontHeight(std::string_view text);

// The length in pixels at `dpi` pixels per inch, unrounded.
double InPixels(Length length, int dpi);

// The whole number of pixels nearest to the length, at least 1: a print size is met as closely as
// the printer's grid allows.
int NearestPixels(Length length, int dpi);

// The centimetres that the library turns into exactly `pixels` at `dpi`. It stores centimetres as a
// float and truncates dpi * cm / 2.54, so asking for the middle of that pixel's range, half a pixel
// from either edge, lands on it whatever the float's rounding.
double CentimetresForPixels(int pixels, int dpi);

// The narrow width in pixels that the library makes of `cm` at `dpi`: truncated, and at least 1.
int LibraryNarrowPixels(double cm, int dpi);

}  // namespace varnel::tool
