// What the tool says on standard error. Its messages quote what it was given (file names, batch
// fields, data), and a control character there would be obeyed by the terminal rather than shown:
// an ESC could recolour the screen or retitle its window. Every message is escaped as it is
// printed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnel::tool {

// Whether the byte is a control character on its own: C0, DEL, or a C1 byte not in a UTF-8
// sequence.
bool IsControlByte(std::uint8_t byte);

// "0x1B": the byte's number, as refusals and escaped messages name a control character.
std::string ControlCharacterNumber(std::uint8_t byte);

// The text with each control character shown by its number: C0, DEL and a C1 byte in angle
// brackets, <0x1B>, and a C1 character written in UTF-8 as its code point, <U+009B>.
std::string Printable(std::string_view text);

// "varnel: MESSAGE" on standard error, escaped, on a line of its own.
void Say(std::string_view message);

}  // namespace varnel::tool
