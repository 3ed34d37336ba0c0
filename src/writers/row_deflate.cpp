#include "writers/row_deflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "writers/huffman_code.h"

namespace varnel {
namespace {

// The format's limits and alphabets.
constexpr std::size_t kShortestMatch = 3;
constexpr std::size_t kLongestMatch = 258;
constexpr std::size_t kFarthestMatch = 32768;
constexpr int kEndOfBlock = 256;
constexpr int kLiteralLengthSymbols = 286;
constexpr int kDistanceSymbols = 30;
constexpr int kCodeLengthSymbols = 19;
constexpr int kLongestCode = 15;
constexpr int kLongestCodeLengthCode = 7;
// A block's own code pays for its header within a few thousand symbols; its tokens are held until
// the block is written, so this also bounds the memory of the largest picture.
constexpr std::size_t kTokensPerBlock = 1 << 16;
// Matches shorter than this are put off by a byte when the next byte starts a longer one.
constexpr std::size_t kPutOffBelow = 32;

struct LengthCode {
  std::uint16_t base;
  std::uint8_t extraBits;
};
// Lengths 3..258 as symbols 257..285 and their extra bits.
constexpr std::array<LengthCode, 29> kLengthCodes{{
    {3, 0},  {4, 0},  {5, 0},  {6, 0},  {7, 0},   {8, 0},   {9, 0},   {10, 0},  {11, 1},  {13, 1},
    {15, 1}, {17, 1}, {19, 2}, {23, 2}, {27, 2},  {31, 2},  {35, 3},  {43, 3},  {51, 3},  {59, 3},
    {67, 4}, {83, 4}, {99, 4}, {115, 4}, {131, 5}, {163, 5}, {195, 5}, {227, 5}, {258, 0}}};
// Distances 1..32768 as symbols 0..29 and their extra bits.
constexpr std::array<LengthCode, 30> kDistanceCodes{{
    {1, 0},    {2, 0},    {3, 0},    {4, 0},     {5, 1},     {7, 1},     {9, 2},     {13, 2},
    {17, 3},   {25, 3},   {33, 4},   {49, 4},    {65, 5},    {97, 5},    {129, 6},   {193, 6},
    {257, 7},  {385, 7},  {513, 8},  {769, 8},   {1025, 9},  {1537, 9},  {2049, 10}, {3073, 10},
    {4097, 11}, {6145, 11}, {8193, 12}, {12289, 12}, {16385, 13}, {24577, 13}}};
// The order a block's header gives the code-length code's lengths in.
constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                                                        11, 4, 12, 3, 13, 2, 14, 1, 15};
// Code-length symbols that repeat: the previous length 3-6 times, a zero 3-10 and 11-138 times.
constexpr int kRepeatPrevious = 16, kRepeatZero = 17, kRepeatZeroLong = 18;

// The code whose base is the greatest not above `value`.
template <std::size_t N>
int CodeOf(const std::array<LengthCode, N>& codes, std::size_t value) {
  const auto above = std::upper_bound(codes.begin(), codes.end(), value,
                                      [](std::size_t v, const LengthCode& code) { return v < code.base; });
  return static_cast<int>(above - codes.begin()) - 1;
}

// A literal byte (distance 0) or a match of `length` bytes `distance` back.
struct Token {
  std::uint16_t literalOrLength;
  std::uint16_t distance;
};

// How many bytes from `a` equal those from `b`, at most `limit`; `b` may overlap `a`.
std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
  std::size_t n = 0;
  for (; n + 8 <= limit; n += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<std::size_t>(std::countr_zero(x ^ y) / 8);  // little-endian
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

struct Match {
  std::size_t length = 0;
  std::size_t distance = 0;
};

// Where the bytes at a position were seen before. The byte before and the row above are tried
// first: in a barcode they are nearly always the match, and in a band of bars the longest one.
// Only when neither goes far are the bytes looked up by the hash of their first four, in a table
// of the last position each hash was seen at, for the repeats within rows of text and of bars.
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* data, std::size_t size, std::size_t rowLength)
      : data_(data), size_(size), above_(rowLength <= kFarthestMatch ? rowLength : 0),
        hashBits_(std::clamp(static_cast<int>(std::bit_width(size)), kLeastHashBits, kMostHashBits)),
        lastSeen_(std::size_t{1} << hashBits_, 0), seenBefore_(std::min(size, kFarthestMatch), 0) {}

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
    if (above_ != 0 && at >= above_) consider(above_);
    if (best.length >= kLongEnough || limit < kHashedBytes) return best;

    std::uint32_t first;
    std::memcpy(&first, data_ + at, kHashedBytes);
    const std::size_t hash = (first * kGoldenRatio) >> (32 - hashBits_);
    // Positions are kept one past themselves, so that 0 ends a chain.
    std::size_t seen = lastSeen_[hash];
    lastSeen_[hash] = static_cast<std::uint32_t>(at + 1);
    seenBefore_[at % kFarthestMatch] = static_cast<std::uint32_t>(seen);
    for (int tries = 0; seen != 0 && at + 1 - seen <= kFarthestMatch && tries < kChainTries; ++tries) {
      consider(at + 1 - seen);
      if (best.length == limit) break;
      const std::size_t earlier = seenBefore_[(seen - 1) % kFarthestMatch];
      if (earlier >= seen) break;  // overwritten since: the chain goes no further back
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
  // The table grows with the data up to 32,768 entries, so a small picture clears a small one.
  static constexpr int kLeastHashBits = 8, kMostHashBits = 15;

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t above_;  // the row above is within reach only in pictures up to 262,136 pixels wide
  int hashBits_;
  std::vector<std::uint32_t> lastSeen_;
  // For each position in the window, the position its hash was seen at before it.
  std::vector<std::uint32_t> seenBefore_;
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

struct Code {
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
  explicit Code(std::vector<std::uint8_t> l) : lengths(std::move(l)), codes(deflate::CanonicalCodes(lengths)) {}
  void Write(BitWriter& bits, int symbol) const { bits.Put(codes[symbol], lengths[symbol]); }
};

// The lengths of both codes, run-length coded in the code-length alphabet: a symbol and its extra
// bits' value for each step.
std::vector<std::pair<int, int>> RunLengthCoded(const std::vector<std::uint8_t>& lengths) {
  std::vector<std::pair<int, int>> steps;
  for (std::size_t i = 0; i < lengths.size();) {
    const std::uint8_t length = lengths[i];
    std::size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == length) ++run;
    i += run;
    if (length == 0) {
      for (; run >= 11; run -= std::min<std::size_t>(run, 138)) steps.emplace_back(kRepeatZeroLong, std::min<std::size_t>(run, 138) - 11);
      if (run >= 3) {
        steps.emplace_back(kRepeatZero, run - 3);
        run = 0;
      }
    } else {
      steps.emplace_back(length, 0);
      for (--run; run >= 3; run -= std::min<std::size_t>(run, 6)) steps.emplace_back(kRepeatPrevious, std::min<std::size_t>(run, 6) - 3);
    }
    for (; run > 0; --run) steps.emplace_back(length, 0);
  }
  return steps;
}

constexpr int ExtraBitsOfStep(int symbol) {
  return symbol == kRepeatPrevious ? 2 : symbol == kRepeatZero ? 3 : symbol == kRepeatZeroLong ? 7 : 0;
}

// One block with codes of its own (BTYPE 2).
void WriteBlock(BitWriter& bits, const std::vector<Token>& tokens, bool last) {
  std::vector<std::uint32_t> literalFrequencies(kLiteralLengthSymbols, 0), distanceFrequencies(kDistanceSymbols, 0);
  for (const Token& token : tokens) {
    if (token.distance == 0) {
      ++literalFrequencies[token.literalOrLength];
    } else {
      ++literalFrequencies[257 + CodeOf(kLengthCodes, token.literalOrLength)];
      ++distanceFrequencies[CodeOf(kDistanceCodes, token.distance)];
    }
  }
  ++literalFrequencies[kEndOfBlock];
  const Code literals(deflate::CodeLengths(literalFrequencies, kLongestCode));
  const Code distances(deflate::CodeLengths(distanceFrequencies, kLongestCode));

  // The header gives the lengths up to the last used symbol of each alphabet.
  const auto usedCount = [](const std::vector<std::uint8_t>& lengths, std::size_t least) {
    std::size_t count = lengths.size();
    while (count > least && lengths[count - 1] == 0) --count;
    return count;
  };
  const std::size_t literalCount = usedCount(literals.lengths, 257), distanceCount = usedCount(distances.lengths, 1);
  std::vector<std::uint8_t> allLengths(literals.lengths.begin(), literals.lengths.begin() + literalCount);
  allLengths.insert(allLengths.end(), distances.lengths.begin(), distances.lengths.begin() + distanceCount);
  const auto steps = RunLengthCoded(allLengths);
  std::vector<std::uint32_t> stepFrequencies(kCodeLengthSymbols, 0);
  for (const auto& step : steps) ++stepFrequencies[step.first];
  const Code stepCode(deflate::CodeLengths(stepFrequencies, kLongestCodeLengthCode));
  std::size_t stepLengthCount = kCodeLengthSymbols;
  while (stepLengthCount > 4 && stepCode.lengths[kCodeLengthOrder[stepLengthCount - 1]] == 0) --stepLengthCount;

  bits.Put(last ? 1 : 0, 1);
  bits.Put(2, 2);
  bits.Put(static_cast<std::uint32_t>(literalCount - 257), 5);
  bits.Put(static_cast<std::uint32_t>(distanceCount - 1), 5);
  bits.Put(static_cast<std::uint32_t>(stepLengthCount - 4), 4);
  for (std::size_t i = 0; i < stepLengthCount; ++i) bits.Put(stepCode.lengths[kCodeLengthOrder[i]], 3);
  for (const auto& [symbol, extra] : steps) {
    stepCode.Write(bits, symbol);
    bits.Put(static_cast<std::uint32_t>(extra), ExtraBitsOfStep(symbol));
  }

  for (const Token& token : tokens) {
    if (token.distance == 0) {
      literals.Write(bits, token.literalOrLength);
      continue;
    }
    const int length = CodeOf(kLengthCodes, token.literalOrLength);
    literals.Write(bits, 257 + length);
    bits.Put(token.literalOrLength - kLengthCodes[length].base, kLengthCodes[length].extraBits);
    const int distance = CodeOf(kDistanceCodes, token.distance);
    distances.Write(bits, distance);
    bits.Put(token.distance - kDistanceCodes[distance].base, kDistanceCodes[distance].extraBits);
  }
  literals.Write(bits, kEndOfBlock);
}

// The tokens in blocks of at most kTokensPerBlock, each written when full, the last when finished.
class Blocks {
 public:
  Blocks(FileBytes& out, std::size_t dataSize) : bits_(out) { tokens_.reserve(std::min(dataSize, kTokensPerBlock)); }
  void Add(Token token) {
    if (tokens_.size() == kTokensPerBlock) {
      WriteBlock(bits_, tokens_, false);
      tokens_.clear();
    }
    tokens_.push_back(token);
  }
  void Finish() {
    WriteBlock(bits_, tokens_, true);
    bits_.FlushToByte();
  }

 private:
  BitWriter bits_;
  std::vector<Token> tokens_;
};

}  // namespace

void AppendZlibRows(FileBytes& out, std::span<const std::uint8_t> scanlines, std::size_t rowLength) {
  // Deflate with a 32 KiB window; the second byte makes the pair a multiple of 31, as the header
  // must be, and says the compressor was a fast one.
  out.push_back(0x78);
  out.push_back(0x5E);

  const std::uint8_t* data = scanlines.data();
  const std::size_t size = scanlines.size();
  MatchFinder matches(data, size, rowLength);
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

  // zlib's checksum takes any length: it is fed in the slices its length type can say.
  uLong adler = adler32(0, nullptr, 0);
  for (std::size_t at = 0; at < size;) {
    const auto slice = static_cast<uInt>(std::min<std::size_t>(size - at, UINT32_MAX));
    adler = adler32(adler, data + at, slice);
    at += slice;
  }
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
}

}  // namespace varnel
