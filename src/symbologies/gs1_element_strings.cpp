#include "symbologies/gs1_element_strings.h"

#include <algorithm>

#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr std::size_t kShortestAi = 2;
constexpr std::size_t kLongestAi = 4;

bool IsAi(std::string_view text) {
  if (text.size() < kShortestAi || text.size() > kLongestAi) return false;
  for (const char c : text) {
    if (DigitValue(c) < 0) return false;
  }
  return true;
}

bool IsPrintable(std::string_view text) {
  for (const char c : text) {
    if (c < ' ' || c > '~') return false;
  }
  return true;
}

void RefuseAi(std::string_view text, ComposedMessage& fault) {
  if (IsPrintable(text)) {
    fault << '(' << text << ") is not an AI: an AI is 2 to 4 digits in brackets.";
  } else {
    fault << "An AI is 2 to 4 digits in brackets.";
  }
}

// In a message of parentheses a bracket in data of set 82, which has them, breaks it into pieces
// that are no element strings; the square brackets leave the data its parentheses.
void SuggestSquareBrackets(char open, std::string_view ai, ComposedMessage& fault) {
  const Gs1Ai* definition = ai.empty() ? nullptr : FindGs1Ai(ai);
  if (open != '(' || definition == nullptr || definition->components.back().charset != Gs1Charset::kSet82) return;
  fault << " If the data of (" << ai << ") holds brackets, write each AI in square brackets, as [" << ai << "].";
}

// The text before the first bracket, which is no element string, where it can be shown.
constexpr std::size_t kLongestShownText = 20;

void RefuseLeadingText(std::string_view message, ComposedMessage& fault) {
  const std::size_t bracket = message.find_first_of("([");
  const std::string_view leading = message.substr(0, bracket);
  if (bracket != std::string_view::npos && IsPrintable(leading) && leading.size() <= kLongestShownText) {
    fault << '\'' << leading << "' before the first AI is no element string: each AI goes in brackets before its data, "
          << "as (01)09501101530003.";
  } else {
    fault << "Element strings are needed, each an AI in brackets before its data: (01)09501101530003.";
  }
}

}  // namespace

bool ReadElementStrings(std::string_view message, ElementStrings& strings, ComposedMessage& fault) {
  strings.count = 0;
  if (message.empty() || (message[0] != '(' && message[0] != '[')) {
    RefuseLeadingText(message, fault);
    return false;
  }
  const char open = message[0];
  const char close = open == '(' ? ')' : ']';
  // The AI whose data a stray bracket would belong to.
  const auto previousAi = [&] { return strings.count > 0 ? strings.items[strings.count - 1].ai : std::string_view(); };
  for (std::size_t at = 0; at < message.size();) {
    const std::size_t closing = message.find(close, at + 1);
    if (closing == std::string_view::npos || message.find(open, at + 1) < closing) {
      fault << "Unbalanced brackets: a '" << open << "' is not closed.";
      SuggestSquareBrackets(open, previousAi(), fault);
      return false;
    }
    const std::string_view ai = message.substr(at + 1, closing - at - 1);
    if (!IsAi(ai)) {
      RefuseAi(ai, fault);
      SuggestSquareBrackets(open, previousAi(), fault);
      return false;
    }
    const Gs1Ai* definition = FindGs1Ai(ai);
    if (definition == nullptr) {
      fault << "AI (" << ai << ") is not one GS1 has assigned.";
      return false;
    }
    const std::size_t next = std::min(message.find(open, closing + 1), message.size());
    const std::string_view data = message.substr(closing + 1, next - closing - 1);
    if (data.find(close) != std::string_view::npos) {
      fault << "Unbalanced brackets: a '" << close << "' closes nothing.";
      SuggestSquareBrackets(open, ai, fault);
      return false;
    }
    if (data.empty()) {
      fault << "AI (" << ai << "): its data is missing.";
      return false;
    }
    // Every message the engine holds fits; a longer text handed to this reader is refused here.
    if (strings.count == strings.items.size()) {
      fault << "Too many element strings.";
      return false;
    }
    strings.items[strings.count++] = ElementString{ai, data, definition};
    at = next;
  }
  return true;
}

bool NeedsSeparator(const ElementStrings& strings, std::size_t index) {
  return index + 1 < strings.count && !strings.items[index].definition->predefinedLength;
}

void AppendCharacter(ComposedMessage& message, char c) {
  if (c >= ' ' && c <= '~') {
    message << '\'' << c << '\'';
    return;
  }
  constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  constexpr unsigned char kDelete = 0x7F;
  message << (byte < ' ' || byte == kDelete ? "the control character 0x" : "byte 0x") << kHex[byte >> 4]
          << kHex[byte & 15];
}

bool RequireCharacters(std::string_view value, std::string_view allowed, ComposedMessage& fault,
                       std::string_view clause) {
  const std::size_t other = value.find_first_not_of(allowed);
  if (other == std::string_view::npos) return true;
  AppendCharacter(fault, value[other]);
  fault << clause;
  return false;
}

}  // namespace varnel
