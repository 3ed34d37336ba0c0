// Text as the command line and files give it, UTF-8, turned into the bytes that readers decode a
// symbology's data in, and the library's own text, Windows-1252, back into UTF-8 for messages.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnel::tool {

// One character at the start of UTF-8 text, and the bytes it takes.
struct DecodedCharacter {
  char32_t codePoint;
  std::size_t size;
};

// Nothing for a byte sequence that is not UTF-8: a stray continuation byte, a short sequence, an
// overlong form, a surrogate or a value past U+10FFFF.
std::optional<DecodedCharacter> DecodeUtf8(std::string_view text);

// What readers decode a symbol's bytes as.
enum class CharacterSet {
  kAscii,              // Code 39 full ASCII, which has no sequence for any other byte
  kIso8859_1,          // the other linear symbols: a byte a character, Latin-1
  kUnicodeThroughEci,  // symbols that switch character sets with an ECI, and so carry any character
};

constexpr bool Holds(CharacterSet set, char32_t c) {
  switch (set) {
    case CharacterSet::kAscii: return c < 0x80;
    case CharacterSet::kIso8859_1: return c <= 0xFF;
    case CharacterSet::kUnicodeThroughEci: return true;
  }
  return false;
}

struct EncodedText {
  std::string bytes;
  std::string problem;  // why the text has no form in the set; then bytes is empty
  char32_t outside = 0;  // the character the set does not hold, when that is the problem
};

// Readers decode the linear symbols' bytes as ISO-8859-1 or ASCII, and the library prints them as
// Windows-1252 (see base/windows_1252.h); those agree on every byte but 0x80..0x9F, where the code
// page has its letters and signs (€, ’, “, ”, –, ™) and ISO-8859-1 its C1 controls. Each character
// becomes its byte when the set holds it and the library prints that byte as the same character:
// so a C1 control is taken only where the code page leaves its byte unassigned. A set read through
// ECI takes the UTF-8 as it is. Invalid UTF-8, and any other character, are refused, naming the
// character and where it is.
EncodedText Encode(std::string_view utf8, CharacterSet set);

// The text in single quotes, for messages.
std::string Quoted(std::string_view text);

// The library's text shown in UTF-8, for messages.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace varnel::tool
