#include "value_parsers.h"

#include <array>
#include <charconv>
#include <cmath>

namespace varnel::tool {
namespace {

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
  Number value{};
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

std::optional<int> HexByte(std::string_view digits) {
  int value = 0;
  const char* const end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
  // from_chars takes no '+', but people write "+5" for a gap or a size now and then.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  return ParseWhole<int>(text);
}

std::optional<double> ParsePositive(std::string_view text) {
  const std::optional<double> value = ParseWhole<double>(text);
  if (!value || !std::isfinite(*value) || *value <= 0.0) return std::nullopt;
  return value;
}

std::optional<Rgb> ParseColor(std::string_view text) {
  if (text.size() != 7 || text.front() != '#') return std::nullopt;
  const std::optional<int> red = HexByte(text.substr(1, 2));
  const std::optional<int> green = HexByte(text.substr(3, 2));
  const std::optional<int> blue = HexByte(text.substr(5, 2));
  if (!red || !green || !blue) return std::nullopt;
  return Rgb{*red, *green, *blue};
}

std::optional<Pair> ParsePositivePair(std::string_view text, bool single) {
  const std::size_t cross = text.find_first_of("xX");
  if (cross == std::string_view::npos && !single) return std::nullopt;
  const std::optional<int> first = ParseInt(text.substr(0, cross));
  const std::optional<int> second =
      cross == std::string_view::npos ? first : ParseInt(text.substr(cross + 1));
  if (!first || !second || *first <= 0 || *second <= 0) return std::nullopt;
  return Pair{*first, *second};
}

std::optional<int> ParseOrientation(std::string_view text) {
  constexpr std::array<std::string_view, 4> kDegrees = {"0", "90", "180", "270"};
  for (std::size_t i = 0; i < kDegrees.size(); ++i) {
    if (text == kDegrees[i]) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> ParseFrame(std::string_view text) {
  constexpr std::array<std::string_view, 3> kFrames = {"none", "dashed", "solid"};
  for (std::size_t i = 0; i < kFrames.size(); ++i) {
    if (text == kFrames[i]) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> ParseCodabarCharacter(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  const char c = text.front();
  if (c >= 'A' && c <= 'D') return c - 'A';
  if (c >= 'a' && c <= 'd') return c - 'a';
  return std::nullopt;
}

}  // namespace varnel::tool
