// A dynamic programme over (position, code set in force): the fewest symbol characters that draw the
// rest of the data from each state, worked out from the end. Each step draws the next data
// character in the set in force or, for one more character, enters another set first; so every way
// of drawing the data is a path through these states, and the cheapest is found exactly.
//
// Code 128 also has a shift, which draws one character of the other of sets A and B without entering
// it. GS1 data holds no control characters, so set B draws everything set A does at the same cost:
// neither a shift nor set A ever shortens a GS1-128 symbol, and only a data character out of GS1's
// sets could make the plan choose A.
#include "symbologies/gs1_128_plan.h"

#include <climits>

#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr int kSetCount = 3;
constexpr CodeSet kPreference[] = {kSetC, kSetB, kSetA};
constexpr int kUnreachable = INT_MAX / 2;

bool IsDigitCharacter(int character) { return character >= '0' && character <= '9'; }

// How many data characters from `at` one symbol character of the set draws: an FNC1 in any set, two
// digits in C, a byte that A or B holds in that set; 0 when the set cannot draw what is there.
std::size_t Drawn(std::span<const int> characters, std::size_t at, CodeSet set) {
  const int character = characters[at];
  if (character == kSeparatorFnc1) return 1;
  if (set == kSetC) return at + 1 < characters.size() && IsDigitCharacter(character) && IsDigitCharacter(characters[at + 1]) ? 2 : 0;
  if (set == kSetA) return character >= 0 && character < 96 ? 1 : 0;
  return character >= 32 && character < 128 ? 1 : 0;
}

int ValueOf(std::span<const int> characters, std::size_t at, CodeSet set) {
  const int character = characters[at];
  if (character == kSeparatorFnc1) return kCode128Fnc1;
  if (set == kSetC) return 10 * DigitValue(static_cast<char>(character)) + DigitValue(static_cast<char>(characters[at + 1]));
  return Code128TextValue(static_cast<unsigned char>(character), set);
}

// The best step from a state: the set that draws the next character (another than the one in force
// costs a switch first) and how many characters it draws.
struct Step {
  CodeSet set;
  std::size_t drawn;
};

struct Table {
  int cost[kGs1_128MaxDataCharacters + 1][kSetCount];
  Step step[kGs1_128MaxDataCharacters][kSetCount];
};

void FillTable(std::span<const int> characters, Table& table) {
  const std::size_t n = characters.size();
  for (const CodeSet set : kPreference) table.cost[n][set] = 0;
  for (std::size_t at = n; at-- > 0;) {
    for (const CodeSet current : kPreference) {
      int best = kUnreachable;
      // The set in force first, so that a switch is made only where it pays.
      const CodeSet candidates[] = {current, kPreference[0], kPreference[1], kPreference[2]};
      for (const CodeSet set : candidates) {
        const std::size_t drawn = Drawn(characters, at, set);
        if (drawn == 0) continue;
        const int cost = (set != current ? 1 : 0) + 1 + table.cost[at + drawn][set];
        if (cost < best) {
          best = cost;
          table.step[at][current] = Step{set, drawn};
        }
      }
      table.cost[at][current] = best;
    }
  }
}

}  // namespace

Gs1_128Plan PlanCodeSets(std::span<const int> characters) {
  if (characters.size() > kGs1_128MaxDataCharacters) characters = characters.first(kGs1_128MaxDataCharacters);
  Table table;
  FillTable(characters, table);
  Gs1_128Plan plan{};
  plan.start = kPreference[0];
  for (const CodeSet set : kPreference) {
    if (table.cost[0][set] < table.cost[0][plan.start]) plan.start = set;
  }
  CodeSet current = plan.start;
  for (std::size_t at = 0; at < characters.size() && table.cost[at][current] < kUnreachable;) {
    const Step step = table.step[at][current];
    if (step.set != current) plan.values[plan.count++] = static_cast<std::uint8_t>(kCode128SwitchValues[step.set]);
    current = step.set;
    plan.values[plan.count++] = static_cast<std::uint8_t>(ValueOf(characters, at, current));
    at += step.drawn;
  }
  return plan;
}

}  // namespace varnel
