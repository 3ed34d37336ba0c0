// Reading option values. Each parser takes the whole text or nothing: "12px" is not a number.
#pragma once

#include <optional>
#include <string_view>

namespace varnel::tool {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
};

struct Pair {
  int first = 0;
  int second = 0;
};

std::optional<int> ParseInt(std::string_view text);
// A finite number above 0 ("0.05", "2.5").
std::optional<double> ParsePositive(std::string_view text);
// "#RRGGBB" in hexadecimal, either case.
std::optional<Rgb> ParseColor(std::string_view text);
// "WIDTHxHEIGHT" of two numbers above 0, e.g. "480x200"; a single number N stands for NxN when
// `single` is allowed (resolutions are usually the same both ways).
std::optional<Pair> ParsePositivePair(std::string_view text, bool single);
// Degrees counter-clockwise, 0, 90, 180 or 270, as the library's orientation 0..3.
std::optional<int> ParseOrientation(std::string_view text);
// "none", "dashed" or "solid" as the library's frame style 0..2.
std::optional<int> ParseFrame(std::string_view text);
// A Codabar start or stop character, "A".."D" in either case, as 0..3.
std::optional<int> ParseCodabarCharacter(std::string_view text);

}  // namespace varnel::tool
