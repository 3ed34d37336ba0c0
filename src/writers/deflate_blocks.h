// Deflate's blocks (RFC 1951) from a compressor's tokens: each block is written with the fixed codes
// or with codes of its own, whichever makes it the shorter: a small picture's few symbols are often
// cheaper in the fixed codes than the header that would give codes of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/file_bytes.h"

namespace varnel::deflate {

// The format's limits on matches.
inline constexpr std::size_t kShortestMatch = 3;
inline constexpr std::size_t kLongestMatch = 258;
inline constexpr std::size_t kFarthestMatch = 32768;

// A literal byte (distance 0) or a match of `literalOrLength` bytes `distance` back.
struct Token {
  std::uint16_t literalOrLength;
  std::uint16_t distance;
};

class BitWriter {
 public:
  explicit BitWriter(FileBytes& out) : out_(out) {}
  // Up to 32 bits at a time, first bit lowest.
  void Put(std::uint32_t bits, int count) {
    pending_ |= std::uint64_t{bits} << pendingCount_;
    pendingCount_ += count;
    while (pendingCount_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(pending_));
      pending_ >>= 8;
      pendingCount_ -= 8;
    }
  }
  void FlushToByte() {
    if (pendingCount_ > 0) Put(0, 8 - pendingCount_);
  }

 private:
  FileBytes& out_;
  std::uint64_t pending_ = 0;
  int pendingCount_ = 0;
};

// Writes the tokens as one block, the stream's last when `last`.
void WriteBlock(BitWriter& bits, std::span<const Token> tokens, bool last);

}  // namespace varnel::deflate
