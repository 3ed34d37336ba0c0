// The character sets of GS1 data: digits, set 82, set 39 and the file-safe base64 alphabet.
#pragma once

#include <cstddef>
#include <string_view>

#include "symbologies/gs1_dictionary.h"

namespace varnel {

// Set 82 in the order of its values, which the alphanumeric check pair weighs: the invariant
// characters of ISO 646 but for the space, '#', '$', '@', the brackets, braces, backslash, caret,
// grave accent, bar and tilde.
inline constexpr std::string_view kGs1Set82 =
    "!\"%&'()*+,-./0123456789:;<=>?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";

// Where the first character of the value lies that its set does not hold, or npos. Base64's '='
// pads only the end of a value, once or twice, to a length divisible by four.
std::size_t FirstCharacterOutside(Gs1Charset charset, std::string_view value);

// How a refusal says a character is not of the set, after "is not ": "a digit", "in GS1
// character set 82", ...
std::string_view Gs1CharsetPhrase(Gs1Charset charset);

// The refusal's clause for a base64url '=' where no padding may be.
inline constexpr std::string_view kMisplacedPadding =
    "'=' may only pad base64url data to a multiple of 4 characters, at most twice.";

}  // namespace varnel
