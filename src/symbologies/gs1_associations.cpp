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

// One AI of a req= alternative: its pattern, and whether it must carry its serial.
struct Requisite {
  std::string_view pattern;
  bool withSerial;
};

Requisite ReadRequisite(std::string_view text) {
  const bool withSerial = text.ends_with(kWithSerial);
  if (withSerial) text.remove_suffix(kWithSerial.size());
  return {text, withSerial};
}

// An AI written in a list, 'n' standing for any digit.
bool Matches(std::string_view pattern, std::string_view ai) {
  if (pattern.size() != ai.size()) return false;
  for (std::size_t i = 0; i < ai.size(); ++i) {
    if (pattern[i] != ai[i] && pattern[i] != 'n') return false;
  }
  return true;
}

// Whether the data goes on past the AI's mandatory components, which are all of fixed length when
// optional ones follow them: a key's serial, where the serial is an optional component.
bool CarriesOptionalComponents(const ElementString& element) {
  std::size_t mandatory = 0;
  for (const Gs1Component& component : element.definition->components) {
    if (!component.optional) mandatory += component.maxLength;
  }
  return element.data.size() > mandatory;
}

bool Present(const ElementStrings& strings, const Requisite& requisite) {
  for (std::size_t i = 0; i < strings.count; ++i) {
    const ElementString& element = strings.items[i];
    if (Matches(requisite.pattern, element.ai) && (!requisite.withSerial || CarriesOptionalComponents(element))) {
      return true;
    }
  }
  return false;
}

// One req= list: met when every AI of one of its alternatives is present.
bool Met(const ElementStrings& strings, std::string_view alternatives) {
  bool met = false;
  ForEachPart(alternatives, ',', [&](std::string_view alternative) {
    bool all = true;
    ForEachPart(alternative, '+', [&](std::string_view text) { all = all && Present(strings, ReadRequisite(text)); });
    met = met || all;
  });
  return met;
}

// "(01)", "(253) with its serial", or a pattern's range: "one of (3100) to (3199)".
void AppendRequisite(ComposedMessage& fault, const Requisite& requisite) {
  if (requisite.pattern.find('n') == std::string_view::npos) {
    fault << '(' << requisite.pattern << ')';
  } else {
    fault << "one of (";
    for (const char c : requisite.pattern) fault << (c == 'n' ? '0' : c);
    fault << ") to (";
    for (const char c : requisite.pattern) fault << (c == 'n' ? '9' : c);
    fault << ')';
  }
  if (requisite.withSerial) fault << " with its serial";
}

// "(01), (03) or (8006)", an alternative of several AIs as "(01) with (21)".
void AppendAlternatives(ComposedMessage& fault, std::string_view alternatives) {
  const std::size_t last = alternatives.rfind(',');
  std::size_t at = 0;
  ForEachPart(alternatives, ',', [&](std::string_view alternative) {
    if (at > 0) fault << (at == last + 1 ? " or " : ", ");
    bool first = true;
    ForEachPart(alternative, '+', [&](std::string_view text) {
      if (!first) fault << " with ";
      AppendRequisite(fault, ReadRequisite(text));
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

// An AI may be repeated with the same value, which says nothing new, but not with another: a reader
// could not tell which one holds.
bool CheckRepeats(const ElementStrings& strings, ComposedMessage& fault) {
  for (std::size_t i = 0; i < strings.count; ++i) {
    for (std::size_t j = i + 1; j < strings.count; ++j) {
      const ElementString& first = strings.items[i];
      const ElementString& again = strings.items[j];
      if (first.ai != again.ai || first.data == again.data) continue;
      fault << "AI (" << first.ai << ") appears more than once, with different values.";
      return false;
    }
  }
  return true;
}

}  // namespace

bool CheckAssociations(const ElementStrings& strings, ComposedMessage& fault) {
  if (!CheckRepeats(strings, fault)) return false;
  for (std::size_t i = 0; i < strings.count; ++i) {
    if (!CheckRequired(strings, strings.items[i], fault) || !CheckExcluded(strings, strings.items[i], fault)) return false;
  }
  return true;
}

}  // namespace varnel
