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

// The bits gather in a 64-bit word and go out 32 at a time, the first bit lowest: a block's codes
// are a few bits each, and appending them a byte at a time was a good part of writing the block.
// The bytes are complete only after FlushToByte.
class BitWriter {
 public:
  explicit BitWriter(FileBytes& out) : out_(out) {}
  // Up to 32 bits at a time.
  void Put(std::uint32_t bits, int count) {
    pending_ |= std::uint64_t{bits} << pendingCount_;
    pendingCount_ += count;
    if (pendingCount_ >= 32) {
      Emit(4);
      pending_ >>= 32;
      pendingCount_ -= 32;
    }
  }
  // The bits put so far out to the end of their last byte, filled up with zero bits.
  void FlushToByte() {
    Emit(static_cast<std::size_t>(pendingCount_ + 7) / 8);
    pending_ = 0;
    pendingCount_ = 0;
  }

 private:
  // The lowest `bytes` bytes of the pending word, lowest first.
  void Emit(std::size_t bytes) {
    const std::size_t at = out_.size();
    out_.resize(at + bytes);
    for (std::size_t i = 0; i < bytes; ++i) out_[at + i] = static_cast<std::uint8_t>(pending_ >> (8 * i));
  }

  FileBytes& out_;
  std::uint64_t pending_ = 0;  // below pendingCount_, the bits not yet out
  int pendingCount_ = 0;       // under 32 between calls
};

// Writes the tokens as one block, the stream's last when `last`.
void WriteBlock(BitWriter& bits, std::span<const Token> tokens, bool last);

}  // namespace varnel::deflate
