#include "symbologies/gs1_element_checks.h"

#include <cstddef>
#include <string_view>

#include "symbologies/gs1_character_sets.h"
#include "symbologies/gs1_linters.h"

namespace varnel {
namespace {

// Hands each component its value, each fixed component taking its length from the front of the
// data and the last, variable one the rest; optional components may be left out at the end, but
// one that has begun must be whole. Stops at a value `each` refuses. False when the data does not
// split so, or a value was refused.
template <typename EachValue>
bool ForEachComponentValue(const Gs1Ai& definition, std::string_view data, EachValue each) {
  for (const Gs1Component& component : definition.components) {
    if (data.empty() && component.optional) break;
    const std::size_t length = component.minLength == component.maxLength ? component.maxLength : data.size();
    if (data.size() < length || length < component.minLength || length > component.maxLength) return false;
    if (!each(component, data.substr(0, length))) return false;
    data.remove_prefix(length);
  }
  return data.empty();
}

// The refusal of data of the wrong length, in the AI's own terms: its digits or characters, fixed
// or from the fewest to the most it takes.
void RefuseLength(const Gs1Ai& definition, std::size_t length, ComposedMessage& fault) {
  int fewest = 0, most = 0;
  bool numeric = true;
  for (const Gs1Component& component : definition.components) {
    if (!component.optional) fewest += component.minLength;
    most += component.maxLength;
    numeric = numeric && component.charset == Gs1Charset::kNumeric;
  }
  const std::string_view unit = numeric ? " digits" : " characters";
  const int given = static_cast<int>(length);
  if (fewest == most) {
    fault << most << unit << " are required, not " << given << '.';
  } else if (given > most) {
    fault << "at most " << most << unit << " are allowed, not " << given << '.';
  } else if (given < fewest) {
    fault << "at least " << fewest << unit << " are required, not " << given << '.';
  } else {
    fault << "its components do not take " << given << unit << '.';
  }
}

bool CheckCharacters(const Gs1Component& component, std::string_view value, ComposedMessage& fault) {
  const std::size_t outside = FirstCharacterOutside(component.charset, value);
  if (outside == std::string_view::npos) return true;
  AppendCharacter(fault, value[outside]);
  fault << " is not " << Gs1CharsetPhrase(component.charset) << '.';
  return false;
}

}  // namespace

bool CheckElementData(const ElementString& element, ComposedMessage& fault) {
  const Gs1Ai& definition = *element.definition;
  fault << "AI (" << element.ai << "): ";
  // The length first, for the whole of the data, then each component's characters and checks.
  if (!ForEachComponentValue(definition, element.data, [](const Gs1Component&, std::string_view) { return true; })) {
    RefuseLength(definition, element.data.size(), fault);
    return false;
  }
  const bool passes = ForEachComponentValue(definition, element.data, [&](const Gs1Component& component, std::string_view value) {
    if (!CheckCharacters(component, value, fault)) return false;
    for (const Gs1Linter linter : component.linters) {
      if (!PassesGs1Linter(linter, value, fault)) return false;
    }
    return true;
  });
  if (passes) fault.Clear();
  return passes;
}

}  // namespace varnel
