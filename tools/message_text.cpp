#include "message_text.h"

#include <cstdio>
#include <optional>

#include "text_encoding.h"

namespace varnel::tool {
namespace {

constexpr char32_t kFirstC1 = 0x80, kLastC1 = 0x9F;

}  // namespace

bool IsControlByte(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F || (byte >= kFirstC1 && byte <= kLastC1); }

std::string ControlCharacterNumber(std::uint8_t byte) {
  char number[8];
  std::snprintf(number, sizeof number, "0x%02X", byte);
  return number;
}

std::string Printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<std::uint8_t>(text[at]);
    const std::optional<DecodedCharacter> character = byte < 0x80 ? std::nullopt : DecodeUtf8(text.substr(at));
    if (character && character->codePoint >= kFirstC1 && character->codePoint <= kLastC1) {
      char name[12];
      std::snprintf(name, sizeof name, "<U+%04X>", static_cast<unsigned>(character->codePoint));
      shown += name;
    } else if (character) {
      shown += text.substr(at, character->size);
    } else if (IsControlByte(byte)) {
      shown += '<';
      shown += ControlCharacterNumber(byte);
      shown += '>';
    } else {
      shown += text[at];
    }
    at += character ? character->size : 1;
  }
  return shown;
}

void Say(std::string_view message) { std::fprintf(stderr, "varnel: %s\n", Printable(message).c_str()); }

}  // namespace varnel::tool
