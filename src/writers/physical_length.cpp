#include "writers/physical_length.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace varnel {
namespace {

constexpr double kMillimetresPerInch = 25.4;

// The fewest decimals, three at least, at which one unit of the last is under a tenth of a pixel,
// so that a fine resolution keeps its pixels apart too: 10^-decimals mm < 0.1 / dpi inch, that is
// 100 * dpi < 254 * 10^decimals. Nine at most, for the largest int.
int DecimalsFor(int dpi) {
  int decimals = 3;
  for (std::int64_t scale = 1000; 100 * std::int64_t{dpi} >= 254 * scale; scale *= 10) ++decimals;
  return decimals;
}

// `units` of the last decimal, as a decimal without trailing zeros (nor a point without digits).
std::string DecimalText(std::uint64_t units, int decimals) {
  const auto places = static_cast<std::size_t>(decimals);
  std::string digits = std::to_string(units);
  if (digits.size() <= places) digits = std::string(places + 1 - digits.size(), '0') + digits;
  const std::size_t point = digits.size() - places;
  const std::size_t last = digits.find_last_not_of('0');
  if (last == std::string::npos || last < point) return digits.substr(0, point);
  return digits.substr(0, point) + "." + digits.substr(point, last + 1 - point);
}

// Whether a reader that takes the text in double precision, or in single as some do (librsvg's
// parser does), and multiplies it out to pixels at `dpi` comes to more than `pixels`.
bool ReadsAsMore(const std::string& text, int pixels, int dpi) {
  double length = 0;
  std::from_chars(text.data(), text.data() + text.size(), length);
  const double single = static_cast<float>(length);
  return length * dpi / kMillimetresPerInch > pixels || single * dpi / kMillimetresPerInch > pixels;
}

}  // namespace

// Cut, never rounded up: a reader that sizes its canvas by rounding the length up to whole pixels,
// as librsvg does, would otherwise add a row or a column. And cut further, a unit and then twice as
// many at a time, while the length read in either precision still comes to a hair over the pixels,
// as 108 pixels at 96 dpi, 28.575 mm, does in single precision; at the lengths of any printable
// picture one unit does it.
std::string MillimetresText(int pixels, int dpi) {
  const int decimals = DecimalsFor(dpi);
  // pixels * 25.4 / dpi = pixels * 254 / (10 * dpi), divided out digit by digit, so that no step
  // needs more than 40 bits.
  const std::uint64_t numerator = static_cast<std::uint64_t>(std::max(pixels, 0)) * 254;
  const std::uint64_t denominator = static_cast<std::uint64_t>(std::max(dpi, 1)) * 10;
  std::uint64_t units = numerator / denominator, remainder = numerator % denominator;
  for (int place = 0; place < decimals; ++place) {
    remainder *= 10;
    units = units * 10 + remainder / denominator;
    remainder %= denominator;
  }
  std::string text = DecimalText(units, decimals);
  for (std::uint64_t step = 1; units > 0 && ReadsAsMore(text, pixels, dpi); step *= 2) {
    units -= std::min(step, units);
    text = DecimalText(units, decimals);
  }
  return text;
}

}  // namespace varnel
