// The code sets of a GS1-128 symbol: which of A, B and C draws each of its data characters, chosen
// so that the symbol has the fewest symbol characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "symbologies/code128.h"
#include "symbologies/gs1_128.h"

namespace varnel {

// A data character of the symbol: a byte of an AI or its data (0..127), or an FNC1 that separates
// element strings.
inline constexpr int kSeparatorFnc1 = -1;

// The symbol characters between the start (and the FNC1 after it) and the check character. Each
// data character costs at most a switch and its own character.
struct Gs1_128Plan {
  CodeSet start;
  std::array<std::uint8_t, 2 * kGs1_128MaxDataCharacters> values;
  std::size_t count;
};

// The shortest plan for at most kGs1_128MaxDataCharacters characters, each of which some set draws.
// A character costs one symbol character in a set that has it (two digits one in set C), and
// entering another set costs one more; FNC1 is drawn in any set. Among plans of one length the
// set in force is kept, and C is preferred to B to A.
Gs1_128Plan PlanCodeSets(std::span<const int> characters);

}  // namespace varnel
