#include "text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>

#include "base/windows_1252.h"

namespace varnel::tool {
namespace {

// The lead bytes of multi-byte sequences: their range, the sequence's length, the value bits they
// carry, and the smallest value that needs that length (a smaller one is an overlong form).
struct LeadByte {
  std::uint8_t low;
  std::uint8_t high;
  std::size_t size;
  std::uint8_t valueBits;
  char32_t smallest;
};
constexpr LeadByte kLeadBytes[] = {
    {0xC2, 0xDF, 2, 0x1F, 0x80},
    {0xE0, 0xEF, 3, 0x0F, 0x800},
    {0xF0, 0xF4, 4, 0x07, 0x10000},
};

}  // namespace

std::optional<DecodedCharacter> DecodeUtf8(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  if (byte(0) < 0x80) return DecodedCharacter{byte(0), 1};
  const LeadByte* lead = std::find_if(std::begin(kLeadBytes), std::end(kLeadBytes),
                                      [&](const LeadByte& l) { return byte(0) >= l.low && byte(0) <= l.high; });
  if (lead == std::end(kLeadBytes) || text.size() < lead->size) return std::nullopt;
  char32_t value = byte(0) & lead->valueBits;
  for (std::size_t i = 1; i < lead->size; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(i) & 0x3Fu);
  }
  if (value < lead->smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
  return DecodedCharacter{value, lead->size};
}

namespace {

constexpr char32_t kLastLatin1 = 0xFF;

constexpr std::string_view kSetNames[] = {"ASCII", "ISO-8859-1", "Unicode"};

// The character's byte, when the library prints that byte as the same character.
std::optional<char> PrintedAlike(char32_t c) {
  if (c > kLastLatin1 || Windows1252ToUtf16(static_cast<std::uint8_t>(c)) != c) return std::nullopt;
  return static_cast<char>(c);
}

std::string CodePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

// For messages: quoted, with its code point; a C1 control by its code point alone, as one such as
// U+009B starts a terminal's control sequence.
std::string Named(char32_t c, std::string_view character) {
  if (c >= 0x80 && c < 0xA0) return "the control character " + CodePointName(c);
  return Quoted(character) + " (" + CodePointName(c) + ")";
}

}  // namespace

EncodedText Encode(std::string_view utf8, CharacterSet set) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::optional<DecodedCharacter> decoded = DecodeUtf8(utf8.substr(at));
    if (!decoded) {
      return {{}, "the text is not UTF-8 at byte " + std::to_string(at + 1) + " (--raw passes bytes unchanged)"};
    }
    const char32_t c = decoded->codePoint;
    const std::string_view character = utf8.substr(at, decoded->size);
    at += decoded->size;
    if (set == CharacterSet::kUnicodeThroughEci) {
      bytes += character;
      continue;
    }
    if (!Holds(set, c)) {
      return {{}, Named(c, character) + " is not in " + std::string(kSetNames[static_cast<int>(set)]), c};
    }
    const std::optional<char> byte = PrintedAlike(c);
    if (!byte) {
      return {{}, Named(c, character) + " would be printed as " +
                      Quoted(Windows1252ToUtf8(std::string(1, static_cast<char>(c)))) + " under the bars"};
    }
    bytes += *byte;
  }
  return {std::move(bytes), {}};
}

std::string Quoted(std::string_view text) {
  // Built up by appending: GCC 12 warns, wrongly, of overlapping copies in "'" + std::string.
  std::string quoted(1, '\'');
  quoted += text;
  quoted += '\'';
  return quoted;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string utf8;
  for (const char byte : bytes) AppendWindows1252AsUtf8(utf8, static_cast<std::uint8_t>(byte));
  return utf8;
}

}  // namespace varnel::tool
