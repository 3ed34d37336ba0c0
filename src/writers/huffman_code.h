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

// The symbols a code gives codes to, in increasing order. A block of a barcode uses a few dozen of
// an alphabet's hundreds of symbols, and what is worked out from the code's lengths is worked out for
// these alone.
struct CodedSymbols {
  std::array<std::uint16_t, kMostSymbols> symbols;
  std::size_t count = 0;

  std::span<const std::uint16_t> List() const { return {symbols.data(), count}; }
};

// Sets `lengths` (as many as there are frequencies, at most kMostSymbols) to code lengths near the
// least total length for symbols of these frequencies, none longer than `maxLength`; a symbol that
// never occurs gets 0. At least two symbols get a code, the least symbols standing in when fewer
// occur, so that every code is complete: decoders refuse an incomplete one in most places. Returns
// the symbols given a code.
CodedSymbols CodeLengths(std::span<const std::uint32_t> frequencies, int maxLength, std::span<std::uint8_t> lengths);

// Each byte with its bits in reverse order.
inline constexpr std::array<std::uint8_t, 256> kReversedBytes = [] {
  std::array<std::uint8_t, 256> reversed{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    for (int bit = 0; bit < 8; ++bit) reversed[byte] |= static_cast<std::uint8_t>(((byte >> bit) & 1) << (7 - bit));
  }
  return reversed;
}();

// Sets `codes` to the canonical code of the symbols `count` calls of `symbolAt` name, in increasing
// order, at these lengths; every symbol with a length must be among them. The bits of each code are
// reversed, since deflate writes a code's first bit into the lowest bit of the stream while it fills
// bytes from their low end.
template <typename SymbolAt>
constexpr void AssignCanonicalCodes(std::span<const std::uint8_t> lengths, std::size_t count, SymbolAt symbolAt,
                                    std::span<std::uint16_t> codes) {
  std::array<std::uint32_t, kLongestAnyCode + 1> countOfLength{}, nextCode{};
  for (std::size_t i = 0; i < count; ++i) ++countOfLength[lengths[symbolAt(i)]];
  countOfLength[0] = 0;
  for (int length = 1; length <= kLongestAnyCode; ++length) {
    nextCode[length] = (nextCode[length - 1] + countOfLength[length - 1]) << 1;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t s = symbolAt(i);
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

// The canonical code of every symbol of these lengths. Constant-evaluated for the fixed codes.
constexpr void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  AssignCanonicalCodes(lengths, lengths.size(), [](std::size_t i) { return i; }, codes);
}

// The canonical codes of the coded symbols alone: the codes of the others are never written.
inline void CanonicalCodes(std::span<const std::uint8_t> lengths, const CodedSymbols& coded, std::span<std::uint16_t> codes) {
  AssignCanonicalCodes(lengths, coded.count, [&](std::size_t i) { return std::size_t{coded.symbols[i]}; }, codes);
}

}  // namespace varnel::deflate
