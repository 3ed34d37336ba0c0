// The check characters of GS1's keys: the modulo-10 digit of the numeric ones (GTIN, SSCC, GLN), in
// ean_upc.h, and the pair that ends an alphanumeric key such as the Global Model Number.
#pragma once

#include <array>
#include <string_view>

namespace varnel {

// The longest data the pair can check: one prime weight for each character.
inline constexpr std::size_t kMaxAlphanumericKeyData = 23;

// The two check characters of GS1 characters (set 82) of at most kMaxAlphanumericKeyData: each
// character's place in set 82 times a prime weight, 2 on the last and rising to the left, summed
// modulo 1021; the sum's high and low five bits pick the two characters from a set of 32 that
// leaves out 0, 1, I and O.
std::array<char, 2> AlphanumericCheckPair(std::string_view data);

}  // namespace varnel
