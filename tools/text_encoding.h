// Text as the command line and files give it, UTF-8, turned into the library's 8-bit text,
// Windows-1252, and back for messages.
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

struct Windows1252Text {
  std::string bytes;
  std::string problem;  // why the text has no Windows-1252 form; then bytes is empty
};

// Each character becomes the byte the library shows as that character (see base/windows_1252.h):
// letters and signs of the code page, and the five bytes it leaves unassigned as their own C1
// characters, so that text read back from a picture gives the bytes again. Invalid UTF-8, and a
// character with no byte, are refused, naming the character and where it is.
Windows1252Text ToWindows1252(std::string_view utf8);

// The text in single quotes, for messages.
std::string Quoted(std::string_view text);

// The library's text shown in UTF-8, for messages.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace varnel::tool
