#include "symbologies/gs1_associations.h"

#include <cstddef>
#include <string_view>

namespace varnel {
namespace {

// Calls `each` with every part of a list between separators.
template <typename EachPart>
void ForEachPart(std::string_view list, char separator, EachPart each) {
  while (!list.empty()) {
    const std::size_t end = list.find(separator);
    each(list.substr(0, end));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
}

// An AI written in a list, 'n' standing for any digit.
bool Matches(std::string_view pattern, std::string_view ai) {
  if (pattern.size() != ai.size()) return false;
  for (std::size_t i = 0; i < ai.size(); ++i) {
    if (pattern[i] != ai[i] && pattern[i] != 'n') return false;
  }
  return true;
}

bool Present(const ElementStrings& strings, std::string_view pattern) {
  for (std::size_t i = 0; i < strings.count; ++i) {
    if (Matches(pattern, strings.items[i].ai)) return true;
  }
  return false;
}

// One req= list: met when every AI of one of its alternatives is present.
bool Met(const ElementStrings& strings, std::string_view alternatives) {
  bool met = false;
  ForEachPart(alternatives, ',', [&](std::string_view alternative) {
    bool all = true;
    ForEachPart(alternative, '+', [&](std::string_view pattern) { all = all && Present(strings, pattern); });
    met = met || all;
  });
  return met;
}

// "(01), (03) or (8006)", an alternative of several AIs as "(01)+(21)".
void AppendAlternatives(ComposedMessage& fault, std::string_view alternatives) {
  const std::size_t last = alternatives.rfind(',');
  std::size_t at = 0;
  ForEachPart(alternatives, ',', [&](std::string_view alternative) {
    if (at > 0) fault << (at == last + 1 ? " or " : ", ");
    bool first = true;
    ForEachPart(alternative, '+', [&](std::string_view pattern) {
      fault << (first ? "(" : "+(") << pattern << ')';
      first = false;
    });
    at += alternative.size() + 1;
  });
}

bool CheckRequired(const ElementStrings& strings, const ElementString& element, ComposedMessage& fault) {
  bool passes = true;
  ForEachPart(element.definition->required, ' ', [&](std::string_view alternatives) {
    if (!passes || Met(strings, alternatives)) return;
    fault << "AI (" << element.ai << ") requires ";
    AppendAlternatives(fault, alternatives);
    fault << '.';
    passes = false;
  });
  return passes;
}

bool CheckExcluded(const ElementStrings& strings, const ElementString& element, ComposedMessage& fault) {
  bool passes = true;
  ForEachPart(element.definition->excluded, ',', [&](std::string_view pattern) {
    for (std::size_t i = 0; i < strings.count && passes; ++i) {
      const std::string_view other = strings.items[i].ai;
      if (other == element.ai || !Matches(pattern, other)) continue;
      fault << "AIs (" << element.ai << ") and (" << other << ") may not be used together.";
      passes = false;
    }
  });
  return passes;
}

}  // namespace

bool CheckAssociations(const ElementStrings& strings, ComposedMessage& fault) {
  for (std::size_t i = 0; i < strings.count; ++i) {
    if (!CheckRequired(strings, strings.items[i], fault) || !CheckExcluded(strings, strings.items[i], fault)) return false;
  }
  return true;
}

}  // namespace varnel
