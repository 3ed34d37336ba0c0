// GS1 element strings as a host writes them: each AI in brackets, then its data, as
// "(01)09501101530003(17)260101(10)ABC123", or the same with square brackets, which leave the
// parentheses of set 82 free for the data.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "base/composed_message.h"
#include "base/settings.h"
#include "symbologies/gs1_dictionary.h"

namespace varnel {

struct ElementString {
  std::string_view ai;
  std::string_view data;
  const Gs1Ai* definition;
};

// The shortest element string, "(90)x", takes five bytes, so a message holds at most this many.
inline constexpr std::size_t kMaxElementStrings = (kMessageCapacity - 1) / 5;

struct ElementStrings {
  std::array<ElementString, kMaxElementStrings> items;
  std::size_t count;
};

// Reads the element strings of a message into `strings`, which point into it. False, with what is
// wrong in `fault`, for a message that does not start with a bracket (naming the text before the
// first one), brackets that do not pair, an AI that is not two to four digits or that GS1 has not
// assigned, and an AI without data. The first character chooses the brackets: in a message of
// parentheses each '(' opens an AI, and a ')' anywhere but after one closes nothing; where a bracket
// in data breaks a message so, the refusal suggests the square brackets.
bool ReadElementStrings(std::string_view message, ElementStrings& strings, ComposedMessage& fault);

// Whether an FNC1 ends the element string at `index`: every one but the last, unless its AI's length
// is predefined, so that a reader knows where its data ends.
bool NeedsSeparator(const ElementStrings& strings, std::size_t index);

// Appends a character for a refusal to name, as every GS1 refusal does: 'A' for a printable one,
// "the control character 0x1D" as the tool names one, and "byte 0xE9" for one beyond ASCII.
void AppendCharacter(ComposedMessage& message, char c);

inline constexpr std::string_view kDigits = "0123456789";

// True when every character of the value is one of `allowed`; else false, with the first that is
// not named in `fault` before `clause`: "'+' is not a hyphen."
bool RequireCharacters(std::string_view value, std::string_view allowed, ComposedMessage& fault,
                       std::string_view clause);

}  // namespace varnel
