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

}  // namespace

bool ReadElementStrings(std::string_view message, ElementStrings& strings, ComposedMessage& fault) {
  strings.count = 0;
  if (message.empty() || (message[0] != '(' && message[0] != '[')) {
    fault << "Element strings are needed, each an AI in brackets before its data: (01)09501101530003.";
    return false;
  }
  const char open = message[0];
  const char close = open == '(' ? ')' : ']';
  for (std::size_t at = 0; at < message.size();) {
    const std::size_t closing = message.find(close, at + 1);
    if (closing == std::string_view::npos || message.find(open, at + 1) < closing) {
      fault << "Unbalanced brackets: a '" << open << "' is not closed.";
      return false;
    }
    const std::string_view ai = message.substr(at + 1, closing - at - 1);
    if (!IsAi(ai)) {
      RefuseAi(ai, fault);
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
  message << "byte 0x" << kHex[byte >> 4] << kHex[byte & 15];
}

}  // namespace varnel
