#include "base/text_routines.h"

#include <cstring>

namespace varnel {

void CopyChars(char* destination, const char* source, int count) {
  if (count < 0) count = 0;
  std::memcpy(destination, source, static_cast<std::size_t>(count));
  destination[count] = '\0';
}

int DigitsToInt(const char* text) {
  // Unsigned arithmetic wraps instead of overflowing when a caller passes more than nine digits.
  unsigned value = 0;
  for (; *text != '\0'; ++text) value = value * 10u + static_cast<unsigned>(*text - '0');
  return static_cast<int>(value);
}

void IntToDigits(char* buffer, int value) {
  char reversed[11];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int i = 0; i < count; ++i) buffer[i] = reversed[count - 1 - i];
  buffer[count] = '\0';
}

void AppendText(char* buffer, std::size_t capacity, const char* text) {
  std::size_t length = strnlen(buffer, capacity - 1);
  while (*text != '\0' && length + 1 < capacity) buffer[length++] = *text++;
  buffer[length] = '\0';
}

void AppendChar(char* buffer, std::size_t capacity, char c) {
  const char text[2] = {c, '\0'};
  AppendText(buffer, capacity, text);
}

}  // namespace varnel
