#include "symbologies/gs1_element_checks.h"

#include <algorithm>
#include <array>
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

// The lengths an AI's data may have, as runs from the fewest to the most characters: its mandatory
// components, then each optional one that may end the data before it. Only the last component may
// vary in length, so the sum before it is one number.
struct AllowedLengths {
  struct Run {
    int fewest;
    int most;
  };
  std::array<Run, 8> runs{};
  std::size_t count = 0;

  // Adds a run, joining it to the last where the two touch.
  void Add(int fewest, int most) {
    if (count > 0 && fewest <= runs[count - 1].most + 1) {
      runs[count - 1].most = std::max(runs[count - 1].most, most);
    } else if (count < runs.size()) {
      runs[count++] = Run{fewest, most};
    }
  }
};

AllowedLengths LengthsOf(const Gs1Ai& definition) {
  AllowedLengths lengths;
  int before = 0, fewestOfLast = 0;
  for (const Gs1Component& component : definition.components) {
    if (component.optional) lengths.Add(before, before);
    fewestOfLast = before + component.minLength;
    before += component.maxLength;
  }
  lengths.Add(fewestOfLast, before);
  return lengths;
}

// "3, 6, 9, 12 or 15", "13 to 30", "6 or 7".
void AppendLengths(ComposedMessage& fault, const AllowedLengths& lengths) {
  for (std::size_t i = 0; i < lengths.count; ++i) {
    if (i > 0) fault << (i + 1 == lengths.count ? " or " : ", ");
    fault << lengths.runs[i].fewest;
    if (lengths.runs[i].most != lengths.runs[i].fewest) fault << " to " << lengths.runs[i].most;
  }
}

// The refusal of data of the wrong length, in the AI's own terms: its digits or characters, fixed,
// from the fewest to the most it takes, or each length it allows where it allows only some.
void RefuseLength(const Gs1Ai& definition, std::size_t length, ComposedMessage& fault) {
  const AllowedLengths lengths = LengthsOf(definition);
  const int fewest = lengths.runs[0].fewest;
  const int most = lengths.runs[lengths.count - 1].most;
  bool numeric = true;
  for (const Gs1Component& component : definition.components) {
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
    AppendLengths(fault, lengths);
    fault << unit << " are allowed, not " << given << '.';
  }
}

bool CheckCharacters(const Gs1Component& component, std::string_view value, ComposedMessage& fault) {
  const std::size_t outside = FirstCharacterOutside(component.charset, value);
  if (outside == std::string_view::npos) return true;
  if (component.charset == Gs1Charset::kSet64 && value[outside] == '=') {
    fault << kMisplacedPadding;
    return false;
  }
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
