// Huffman codes as deflate stores them: the code of each symbol is given by its length alone
// (canonical codes), and no length exceeds what the alphabet's header can say. Nothing here
// allocates: a block's codes are made on the stack, once a block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace varnel::deflate {

// The most symbols of any of deflate's alphabets: the literal/length alphabet's 288, of which a
// block may use 286.
inline constexpr std::size_t kMostSymbols = 288;
// The longest code any alphabet allows.
inline constexpr int kLongestAnyCode = 15;

// Sets `lengths` (as many as there are frequencies, at most kMostSymbols) to code lengths near the
// least total length for symbols of these frequencies, none longer than `maxLength`; a symbol that
// never occurs gets 0. At least two symbols get a code, the least symbols standing in when fewer
// occur, so that every code is complete: decoders refuse an incomplete one in most places.
void CodeLengths(std::span<const std::uint32_t> frequencies, int maxLength, std::span<std::uint8_t> lengths);

// Each byte with its bits in reverse order.
inline constexpr std::array<std::uint8_t, 256> kReversedBytes = [] {
  std::array<std::uint8_t, 256> reversed{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    for (int bit = 0; bit < 8; ++bit) reversed[byte] |= static_cast<std::uint8_t>(((byte >> bit) & 1) << (7 - bit));
  }
  return reversed;
}();

// Sets `codes` to the canonical code of every symbol of these lengths, its bits reversed, since
// deflate writes a code's first bit into the lowest bit of the stream while it fills bytes from
// their low end. Constant-evaluated for the fixed codes.
constexpr void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<std::uint32_t, kLongestAnyCode + 1> countOfLength{}, nextCode{};
  for (const std::uint8_t length : lengths) ++countOfLength[length];
  countOfLength[0] = 0;
  for (int length = 1; length <= kLongestAnyCode; ++length) {
    nextCode[length] = (nextCode[length - 1] + countOfLength[length - 1]) << 1;
  }
  // Most symbols of a block's literal alphabet never occur, and their codes are never written.
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    const int length = lengths[s];
    if (length == 0) {
      codes[s] = 0;
      continue;
    }
    const std::uint32_t code = nextCode[length]++;
    const std::uint32_t reversed = std::uint32_t{kReversedBytes[code & 0xFF]} << 8 | kReversedBytes[code >> 8];
    codes[s] = static_cast<std::uint16_t>(reversed >> (16 - length));
  }
}

}  // namespace varnel::deflate
