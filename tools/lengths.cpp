#include "lengths.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/units.h"
#include "value_parsers.h"

namespace varnel::tool {
namespace {

constexpr double kCentimetresPerInch = 2.54;

struct UnitName {
  LengthUnit unit;
  std::string_view suffix;
  double inches;  // the unit's size
};

constexpr UnitName kUnits[] = {
    {LengthUnit::kPixels, "px", 0.0},  // no size of its own: the resolution gives it
    {LengthUnit::kPoints, "pt", 1.0 / 72.0},
    {LengthUnit::kMillimetres, "mm", 0.1 / kCentimetresPerInch},
    {LengthUnit::kCentimetres, "cm", 1.0 / kCentimetresPerInch},
    {LengthUnit::kInches, "in", 1.0},
};

const UnitName& NameOf(LengthUnit unit) {
  return *std::find_if(std::begin(kUnits), std::end(kUnits),
                       [unit](const UnitName& name) { return name.unit == unit; });
}

}  // namespace

std::optional<Length> ParseLength(std::string_view text, std::initializer_list<LengthUnit> allowed) {
  for (const LengthUnit unit : allowed) {
    const std::string_view suffix = NameOf(unit).suffix;
    if (!text.ends_with(suffix)) continue;
    const std::string_view number = text.substr(0, text.size() - suffix.size());
    double value = 0.0;
    const char* const end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc{} || stop != end || !std::isfinite(value) || value <= 0.0) {
      return std::nullopt;
    }
    return Length{value, unit};
  }
  return std::nullopt;
}

namespace {

// A bare whole number above 0 is pixels, as the library takes sizes; else a length in `allowed`.
std::optional<Length> ParseLengthOrPixels(std::string_view text, std::initializer_list<LengthUnit> allowed) {
  if (const std::optional<int> pixels = ParseInt(text)) {
    if (*pixels <= 0) return std::nullopt;
    return Length{static_cast<double>(*pixels), LengthUnit::kPixels};
  }
  return ParseLength(text, allowed);
}

}  // namespace

std::optional<Length> ParsePrintLength(std::string_view text) {
  return ParseLength(text, {LengthUnit::kMillimetres, LengthUnit::kCentimetres, LengthUnit::kInches, LengthUnit::kPixels});
}

std::optional<Length> ParseBarHeight(std::string_view text) {
  return ParseLengthOrPixels(text, {LengthUnit::kMillimetres, LengthUnit::kCentimetres, LengthUnit::kInches,
                                    LengthUnit::kPixels});
}

std::optional<Length> ParseFontHeight(std::string_view text) {
  return ParseLengthOrPixels(text, {LengthUnit::kPoints, LengthUnit::kMillimetres, LengthUnit::kCentimetres,
                                    LengthUnit::kInches, LengthUnit::kPixels});
}

double InPixels(Length length, int dpi) {
  if (length.unit == LengthUnit::kPixels) return length.value;
  return length.value * NameOf(length.unit).inches * dpi;
}

int NearestPixels(Length length, int dpi) {
  const double pixels = std::round(InPixels(length, dpi));
  // Clamped before the conversion, which would be undefined beyond int's range.
  return static_cast<int>(std::clamp(pixels, 1.0, 1.0e9));
}

double CentimetresForPixels(int pixels, int dpi) { return (pixels + 0.5) * kCentimetresPerInch / dpi; }

int LibraryNarrowPixels(double cm, int dpi) {
  // The library's own arithmetic, step for step: the float it stores, its inches per centimetre.
  const double pixels = std::trunc(dpi * static_cast<double>(static_cast<float>(cm)) * kInchesPerCm);
  return static_cast<int>(std::clamp(pixels, 1.0, 1.0e9));
}

}  // namespace varnel::tool
