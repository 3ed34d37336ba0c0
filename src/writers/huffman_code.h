// Huffman codes as deflate stores them: the code of each symbol is given by its length alone
// (canonical codes), and no length exceeds what the alphabet's header can say.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace varnel::deflate {

// Code lengths near the least total length for symbols of these frequencies, none longer than
// `maxLength`; a symbol that never occurs gets 0. At least two symbols get a code, the least
// symbols standing in when fewer occur, so that every code is complete: decoders refuse an
// incomplete one in most places.
std::vector<std::uint8_t> CodeLengths(std::span<const std::uint32_t> frequencies, int maxLength);

// The canonical code of every symbol, its bits reversed, since deflate writes a code's first bit
// into the lowest bit of the stream while it fills bytes from their low end.
std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths);

}  // namespace varnel::deflate
