// A refusal's message put together from parts ("AI (17): 260231 is not a date.") in a buffer that
// outlives the call that writes it: the context's, so that its last error can point at it.
#pragma once

#include <cstddef>
#include <string_view>

namespace varnel {

class ComposedMessage {
 public:
  // Starts the buffer of `capacity` bytes (at least 1) empty.
  ComposedMessage(char* buffer, std::size_t capacity);

  // Each part is appended as far as the buffer holds; the buffer stays terminated.
  ComposedMessage& operator<<(std::string_view text);
  ComposedMessage& operator<<(char c);
  ComposedMessage& operator<<(int count);  // 0 or more, in decimal

  // Starts again from the empty text.
  void Clear();
  const char* Text() const { return buffer_; }

 private:
  char* buffer_;
  std::size_t capacity_;
  std::size_t length_ = 0;
};

}  // namespace varnel
