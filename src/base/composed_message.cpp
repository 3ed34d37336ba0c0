#include "base/composed_message.h"

#include "base/text_routines.h"

namespace varnel {

ComposedMessage::ComposedMessage(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) { Clear(); }

ComposedMessage& ComposedMessage::operator<<(std::string_view text) {
  for (const char c : text) {
    if (length_ + 1 >= capacity_) break;
    buffer_[length_++] = c;
  }
  buffer_[length_] = '\0';
  return *this;
}

ComposedMessage& ComposedMessage::operator<<(char c) { return *this << std::string_view(&c, 1); }

ComposedMessage& ComposedMessage::operator<<(int count) {
  char digits[11];
  IntToDigits(digits, count);
  return *this << std::string_view(digits);
}

void ComposedMessage::Clear() {
  length_ = 0;
  buffer_[0] = '\0';
}

}  // namespace varnel
