// Small text routines over the engine's fixed-size, NUL-terminated 8-bit buffers.
#pragma once

#include <cstddef>

namespace varnel {

// 0..9 for a digit character, -1 for anything else.
constexpr int DigitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

// Copies the first `count` bytes of source and terminates them; destination holds count + 1 bytes.
void CopyChars(char* destination, const char* source, int count);
// The number whose decimal digits are the text's characters; callers pass digits only.
int DigitsToInt(const char* text);
// The decimal digits of 0 <= value <= 2147483647, most significant first; buffer holds 11 bytes.
void IntToDigits(char* buffer, int value);

// Appends text to a buffer of `capacity` bytes, stopping at its end: the buffer stays terminated
// and nothing is written beyond it.
void AppendText(char* buffer, std::size_t capacity, const char* text);
void AppendChar(char* buffer, std::size_t capacity, char c);

// Appends to one of the render's 1000-byte text buffers.
template <std::size_t N>
void AppendText(char (&buffer)[N], const char* text) { AppendText(buffer, N, text); }
template <std::size_t N>
void AppendChar(char (&buffer)[N], char c) { AppendChar(buffer, N, c); }

}  // namespace varnel
