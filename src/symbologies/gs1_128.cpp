// GS1-128: start, FNC1, the element strings in the code sets that draw them in the fewest characters
// with an FNC1 after each whose length is not predefined (but the last), the modulo-103 check
// character and the stop. The text under it is the element strings with their AIs in parentheses,
// however they were bracketed.
#include <array>
#include <cstddef>

#include "base/composed_message.h"
#include "drawing/render_state.h"
#include "symbologies/code128.h"
#include "symbologies/encoders.h"
#include "symbologies/gs1_128_plan.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {
namespace {

// The data characters of the element strings, in order. Validation has refused anything beyond the
// symbol's limit and any byte outside GS1's sets; data that did not pass it draws what fits of the
// bytes a code set has.
struct DataCharacters {
  std::array<int, kGs1_128MaxDataCharacters> characters;
  std::size_t count;

  void Add(int character) {
    if (count < characters.size() && character < 128) characters[count++] = character;
  }
};

DataCharacters Characters(const ElementStrings& strings) {
  DataCharacters data{};
  for (std::size_t i = 0; i < strings.count; ++i) {
    for (const char c : strings.items[i].ai) data.Add(static_cast<unsigned char>(c));
    for (const char c : strings.items[i].data) data.Add(static_cast<unsigned char>(c));
    if (NeedsSeparator(strings, i)) data.Add(kSeparatorFnc1);
  }
  return data;
}

void PrintElementStrings(Context& context, const ElementStrings& strings) {
  ComposedMessage text(context.state.humanText, sizeof context.state.humanText);
  for (std::size_t i = 0; i < strings.count; ++i) text << '(' << strings.items[i].ai << ')' << strings.items[i].data;
}

}  // namespace

void EncodeGs1_128(Context& context) {
  ElementStrings strings;
  char unused[kRefusalTextCapacity];
  ComposedMessage fault(unused, sizeof unused);
  if (!ReadElementStrings(context.state.workMessage, strings, fault)) strings.count = 0;
  PrintElementStrings(context, strings);

  const DataCharacters data = Characters(strings);
  const Gs1_128Plan plan = PlanCodeSets(std::span<const int>(data.characters.data(), data.count));
  Code128Symbol symbol = DrawCode128Start(context, plan.start);
  DrawCode128Character(context, symbol, kCode128Fnc1);
  for (std::size_t k = 0; k < plan.count; ++k) DrawCode128Character(context, symbol, plan.values[k]);
  DrawCode128Check(context, symbol);
  DrawCode128Stop(context);
}

}  // namespace varnel
