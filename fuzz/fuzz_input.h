// The fuzz targets' reading of their input: a plain sequence of small fields read from the front,
// so that a seed can be written by hand (see seeds.py) and the fuzzer's mutations stay local. Each
// value starts with a byte that picks its kind: the extremes a host can pass are one byte away, and
// raw bit patterns stay reachable. Reading past the end gives zeros.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace varnel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return at_ >= size_; }

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // One of `count` choices.
  int Choice(int count) { return Byte() % count; }

  // Kind 0: a small signed value; 1: a boundary of the int, 16-bit and byte ranges; else raw bits.
  int Int() {
    static constexpr int kBoundaries[] = {
        0,      1,      -1,     2,      255,    256,     32767,  32768,   -32768,
        -32769, 65535,  65536,  999,    1000,   INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1,
        INT32_MAX / 2, INT32_MIN / 2, 1 << 20, -(1 << 20)};
    switch (Choice(3)) {
      case 0: return static_cast<std::int8_t>(Byte());
      case 1: return kBoundaries[Byte() % std::size(kBoundaries)];
      default: return static_cast<int>(Raw<std::uint32_t>());
    }
  }

  // Kind 0: not-a-number, infinities, zeros, and values at the edges of the float and double
  // ranges; 1: hundredths from -1.28 to 1.27, everyday centimetres and ratios; else raw bits.
  double Double() {
    static constexpr double kSpecials[] = {
        std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),  -std::numeric_limits<double>::infinity(),
        0.0, -0.0, 1e30, -1e30, 1e9, 1e300, std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<float>::max(), 0x1.ffffffp+127, 0x1.fffffefffffffp+127, 1e-30, 2.0, 0.07};
    switch (Choice(3)) {
      case 0: return kSpecials[Byte() % std::size(kSpecials)];
      case 1: return static_cast<std::int8_t>(Byte()) / 100.0;
      default: return Raw<double>();
    }
  }

  // A text argument, or nothing for a NULL pointer. Kind 0: NULL; 1: up to 255 bytes from the
  // input; else a long text of 997 to 1004 bytes (around the 999-byte field) cycling a pattern of
  // up to 256 bytes from the input. A NUL inside ends the text as the host's C string would.
  std::optional<std::string> Text() {
    switch (Choice(3)) {
      case 0: return std::nullopt;
      case 1: return Bytes(Byte());
      default: {
        const std::size_t length = 997 + Byte() % 8;
        std::string pattern = Bytes(1 + std::size_t{Byte()});
        if (pattern.empty()) pattern = "0";
        std::string text(length, '\0');
        for (std::size_t i = 0; i < length; ++i) text[i] = pattern[i % pattern.size()];
        return text;
      }
    }
  }

 private:
  template <typename T>
  T Raw() {
    std::uint8_t bytes[sizeof(T)] = {};
    for (std::uint8_t& b : bytes) b = Byte();
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }

  std::string Bytes(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count && !Empty(); ++i) bytes.push_back(static_cast<char>(Byte()));
    return bytes;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The pointer a host would pass for the text.
inline const char* PointerTo(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace varnel::fuzz
