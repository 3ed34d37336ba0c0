#include "writers/row_deflate.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "writers/deflate_blocks.h"

namespace varnel {
namespace {

using deflate::kFarthestMatch;
using deflate::kLongestMatch;
using deflate::kShortestMatch;
using deflate::Token;

// A block's own code pays for its header within a few thousand symbols; its tokens are held until
// the block is written, so this also bounds the memory of the largest picture.
constexpr std::size_t kTokensPerBlock = 1 << 16;
// Matches shorter than this are put off by a byte when the next byte starts a longer one.
constexpr std::size_t kPutOffBelow = 32;

std::uint64_t Word(const std::uint8_t* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The number of equal bytes before the first that differs in two little-endian words.
std::size_t EqualBytes(std::uint64_t x, std::uint64_t y) { return static_cast<std::size_t>(std::countr_zero(x ^ y) / 8); }

// How many bytes from `a` equal those from `b`, at most `limit`; `b` may overlap `a`. Most tries
// differ within their first word, which is compared alone; past it, most of the bytes compared
// belong to long matches (the row above, a run), which go on sixteen bytes a test, the word where
// they differ looked for only then.
std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
  std::size_t n = 0;
  if (limit >= 8) {
    const std::uint64_t x = Word(a), y = Word(b);
    if (x != y) return EqualBytes(x, y);
    n = 8;
  }
  for (; n + 16 <= limit; n += 16) {
    const std::uint64_t differences = (Word(a + n) ^ Word(b + n)) | (Word(a + n + 8) ^ Word(b + n + 8));
    if (differences != 0) break;
  }
  for (; n + 8 <= limit; n += 8) {
    const std::uint64_t x = Word(a + n), y = Word(b + n);
    if (x != y) return n + EqualBytes(x, y);
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

struct Match {
  std::size_t length = 0;
  std::size_t distance = 0;
};

// The hash tables of a thread, kept from call to call so that a small picture does not pay for
// clearing them. Positions are stored from a base that moves on past each call's last position by
// a whole window, so whatever an earlier call left is out of every later position's reach; only
// when the base would pass 32 bits are the tables cleared and the base started again, a window
// from zero so that a cleared entry is out of reach too.
class HashTables {
 public:
  // The tables for `size` bytes with 2^`hashBits` hash entries, and the base of their positions.
  std::uint32_t Start(std::size_t size, int hashBits) {
    const std::size_t entries = std::size_t{1} << hashBits, window = std::min(size, kFarthestMatch);
    if (lastSeen_.size() < entries) lastSeen_.resize(entries, 0);
    if (seenBefore_.size() < window) seenBefore_.resize(window, 0);
    if (std::uint64_t{nextBase_} + size + kFarthestMatch > UINT32_MAX) {
      std::fill(lastSeen_.begin(), lastSeen_.end(), 0);
      std::fill(seenBefore_.begin(), seenBefore_.end(), 0);
      nextBase_ = kFirstBase;
    }
    const std::uint32_t base = nextBase_;
    // Past 4 GiB of data the stored positions wrap, and the next call starts with cleared tables.
    nextBase_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{base} + size + kFarthestMatch, UINT32_MAX));
    return base;
  }
  std::uint32_t* LastSeen() { return lastSeen_.data(); }
  std::uint32_t* SeenBefore() { return seenBefore_.data(); }

 private:
  static constexpr std::uint32_t kFirstBase = kFarthestMatch + 1;

  // For each hash, the last position it was seen at.
  std::vector<std::uint32_t> lastSeen_;
  // For each position in the window, the position its hash was seen at before it.
  std::vector<std::uint32_t> seenBefore_;
  std::uint32_t nextBase_ = kFirstBase;
};

// Where the bytes at a position were seen before. The byte before and the row above are tried
// first: in a barcode they are nearly always the match, and in a band of bars the longest one.
// Only when neither goes far are the bytes looked up by the hash of their first four, in a table
// of the last position each hash was seen at, for the repeats within rows of text and of bars.
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* data, std::size_t size, std::size_t rowLength, HashTables& tables)
      : data_(data), size_(size), above_(rowLength <= kFarthestMatch ? rowLength : 0),
        hashBits_(std::clamp(static_cast<int>(std::bit_width(size)), kLeastHashBits, kMostHashBits)),
        base_(tables.Start(size, hashBits_)), lastSeen_(tables.LastSeen()), seenBefore_(tables.SeenBefore()) {}

  Match LongestAt(std::size_t at) {
    const std::size_t limit = std::min(kLongestMatch, size_ - at);
    Match best;
    const auto consider = [&](std::size_t distance) {
      const std::size_t length = CommonLength(data_ + at, data_ + at - distance, limit);
      // Three bytes from far away cost more as a match than as literals.
      if (length == kShortestMatch && distance > kFarForThree) return;
      if (length > best.length) best = Match{length, distance};
    };
    // The nearer of two as long is the cheaper: its distance takes fewer extra bits.
    if (at >= 1) consider(1);
    if (best.length == limit) return best;  // a run of one byte, which nothing beats
    if (above_ != 0 && at >= above_) consider(above_);
    if (best.length >= kLongEnough || limit < kHashedBytes) return best;

    std::uint32_t first;
    std::memcpy(&first, data_ + at, kHashedBytes);
    const std::size_t hash = (first * kGoldenRatio) >> (32 - hashBits_);
    // Distances are taken modulo 2^32, as the positions wrap; any distance beyond this call's bytes
    // or the window is an earlier call's entry, or none, and ends the chain.
    const auto here = static_cast<std::uint32_t>(base_ + at);
    const std::size_t reach = std::min(at, kFarthestMatch);
    std::uint32_t seen = lastSeen_[hash];
    lastSeen_[hash] = here;
    seenBefore_[at % kFarthestMatch] = seen;
    for (int tries = 0; tries < kChainTries; ++tries) {
      const std::uint32_t distance = here - seen;
      if (distance == 0 || distance > reach) break;
      consider(distance);
      if (best.length == limit) break;
      const std::uint32_t earlier = seenBefore_[(at - distance) % kFarthestMatch];
      if (here - earlier <= distance) break;  // overwritten since: the chain goes no further back
      seen = earlier;
    }
    return best;
  }

 private:
  static constexpr std::size_t kLongEnough = 32;
  static constexpr std::size_t kHashedBytes = 4;
  static constexpr std::size_t kFarForThree = 4096;
  static constexpr int kChainTries = 16;
  static constexpr std::uint32_t kGoldenRatio = 2654435761u;
  // The table in use grows with the data up to 32,768 entries: a small picture's stays in cache.
  static constexpr int kLeastHashBits = 8, kMostHashBits = 15;

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t above_;  // the row above is within reach only in pictures up to 262,136 pixels wide
  int hashBits_;
  std::uint32_t base_;
  std::uint32_t* lastSeen_;
  std::uint32_t* seenBefore_;
};

// The tokens in blocks of at most kTokensPerBlock, each written when full, the last when finished.
class Blocks {
 public:
  Blocks(FileBytes& out, std::size_t dataSize) : bits_(out) { tokens_.reserve(std::min(dataSize, kTokensPerBlock)); }
  void Add(Token token) {
    if (tokens_.size() == kTokensPerBlock) {
      deflate::WriteBlock(bits_, tokens_, false);
      tokens_.clear();
    }
    tokens_.push_back(token);
  }
  void Finish() {
    deflate::WriteBlock(bits_, tokens_, true);
    bits_.FlushToByte();
  }

 private:
  deflate::BitWriter bits_;
  std::vector<Token> tokens_;
};

// Adler-32 (RFC 1950) kept as its two sums, so that a row can be added by its own sums, and a row
// with the rows after it that repeat it (as nearly every row of a barcode repeats the row above) all
// at once: comparing two rows costs far less than summing one.
class Adler32 {
 public:
  // The sums of a row alone, as zlib gives them when started from zero: the sum of its bytes, and
  // the sum of each byte times the number of bytes from it to the end of the row.
  struct RowSums {
    std::uint32_t bytes;
    std::uint32_t weighted;
    std::uint32_t length;  // modulo kModulus
  };
  static RowSums SumsOf(const std::uint8_t* row, std::size_t length) {
    uLong sums = 0;
    for (std::size_t at = 0; at < length;) {  // in the slices zlib's length type can say
      const auto slice = static_cast<uInt>(std::min<std::size_t>(length - at, UINT32_MAX));
      sums = adler32(sums, row + at, slice);
      at += slice;
    }
    return {static_cast<std::uint32_t>(sums & 0xFFFF), static_cast<std::uint32_t>(sums >> 16),
            static_cast<std::uint32_t>(length % kModulus)};
  }

  // The row added `times` times over. Each of its bytes adds itself to the first sum and the first
  // sum to the second, so the k-th copy (from 0) finds the first sum grown by k times the row's
  // bytes, and all of them add to the second sum
  //   times * weighted + length * (times * first + bytes * times * (times - 1) / 2).
  void Add(const RowSums& row, std::uint64_t times) {
    // The modulus is odd, so times * (times - 1) / 2 modulo it depends on times modulo it alone.
    const std::uint64_t copies = times % kModulus;
    const std::uint64_t pairs = copies == 0 ? 0 : copies * (copies - 1) / 2 % kModulus;
    const std::uint64_t firstSums = (copies * first_ + std::uint64_t{row.bytes} * pairs) % kModulus;
    second_ = static_cast<std::uint32_t>((second_ + copies * row.weighted + row.length * firstSums) % kModulus);
    first_ = static_cast<std::uint32_t>((first_ + copies * row.bytes) % kModulus);
  }
  std::uint32_t Value() const { return second_ << 16 | first_; }

 private:
  static constexpr std::uint32_t kModulus = 65521;
  std::uint32_t first_ = 1;
  std::uint32_t second_ = 0;
};

// Each row is summed once with the rows after it that repeat it.
std::uint32_t RowsAdler32(const std::uint8_t* data, std::size_t size, std::size_t rowLength) {
  Adler32 adler;
  for (std::size_t at = 0; at < size;) {
    const std::size_t length = std::min(rowLength, size - at);
    const Adler32::RowSums row = Adler32::SumsOf(data + at, length);
    std::uint64_t times = 1;
    for (at += length; at + rowLength <= size && std::memcmp(data + at, data + at - rowLength, rowLength) == 0; at += rowLength)
      ++times;
    adler.Add(row, times);
  }
  return adler.Value();
}

}  // namespace

void AppendZlibRows(FileBytes& out, std::span<const std::uint8_t> scanlines, std::size_t rowLength) {
  // Deflate with a 32 KiB window; the second byte makes the pair a multiple of 31, as the header
  // must be, and says the compressor was a fast one.
  out.push_back(0x78);
  out.push_back(0x5E);

  thread_local HashTables tables;
  const std::uint8_t* data = scanlines.data();
  const std::size_t size = scanlines.size();
  MatchFinder matches(data, size, rowLength, tables);
  Blocks blocks(out, size);
  for (std::size_t at = 0; at < size;) {
    Match match = matches.LongestAt(at);
    // A short match is put off while the next byte starts a longer one, the byte going as a
    // literal. Each position is looked up once, as a lookup records the position.
    while (match.length >= kShortestMatch && match.length < kPutOffBelow && at + 1 < size) {
      const Match next = matches.LongestAt(at + 1);
      if (next.length <= match.length) break;
      blocks.Add(Token{data[at], 0});
      ++at;
      match = next;
    }
    if (match.length >= kShortestMatch) {
      blocks.Add(Token{static_cast<std::uint16_t>(match.length), static_cast<std::uint16_t>(match.distance)});
      at += match.length;
    } else {
      blocks.Add(Token{data[at], 0});
      ++at;
    }
  }
  blocks.Finish();

  const std::uint32_t adler = RowsAdler32(data, size, rowLength);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
}

}  // namespace varnel
