#include "writers/deflate_blocks.h"

#include <algorithm>
#include <array>

#include "writers/huffman_code.h"

namespace varnel::deflate {
namespace {

constexpr int kEndOfBlock = 256;
constexpr int kFirstLengthSymbol = 257;
constexpr std::size_t kLiteralLengthSymbols = 286;
constexpr std::size_t kDistanceSymbols = 30;
constexpr std::size_t kCodeLengthSymbols = 19;
constexpr int kLongestCodeLengthCode = 7;
constexpr std::uint32_t kFixedCodes = 1, kOwnCodes = 2;

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
constexpr std::array<LengthCode, kDistanceSymbols> kDistanceCodes{{
    {1, 0},    {2, 0},    {3, 0},    {4, 0},     {5, 1},     {7, 1},     {9, 2},     {13, 2},
    {17, 3},   {25, 3},   {33, 4},   {49, 4},    {65, 5},    {97, 5},    {129, 6},   {193, 6},
    {257, 7},  {385, 7},  {513, 8},  {769, 8},   {1025, 9},  {1537, 9},  {2049, 10}, {3073, 10},
    {4097, 11}, {6145, 11}, {8193, 12}, {12289, 12}, {16385, 13}, {24577, 13}}};

// The code whose base is the greatest not above `value`, for every value below `count` from `first`
// in steps of `step`: a lookup in place of a search for each token.
template <std::size_t Count, std::size_t N>
constexpr std::array<std::uint8_t, Count> CodeTable(const std::array<LengthCode, N>& codes, std::size_t first,
                                                    std::size_t step) {
  std::array<std::uint8_t, Count> table{};
  std::size_t code = 0;
  for (std::size_t i = 0; i < Count; ++i) {
    const std::size_t value = first + i * step;
    while (code + 1 < N && codes[code + 1].base <= value) ++code;
    table[i] = static_cast<std::uint8_t>(code);
  }
  return table;
}
constexpr auto kLengthCodeOf = CodeTable<kLongestMatch + 1>(kLengthCodes, 0, 1);
// Distances up to 256 one by one, those beyond by the 128 they fall in (no code's range starts
// inside a 128 there).
constexpr auto kNearDistanceCodeOf = CodeTable<257>(kDistanceCodes, 0, 1);
constexpr auto kFarDistanceCodeOf = CodeTable<kFarthestMatch / 128>(kDistanceCodes, 1, 128);
constexpr int DistanceCodeOf(std::size_t distance) {
  return distance <= 256 ? kNearDistanceCodeOf[distance] : kFarDistanceCodeOf[(distance - 1) / 128];
}

// The order a block's header gives the code-length code's lengths in.
constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                                                        11, 4, 12, 3, 13, 2, 14, 1, 15};
// Code-length symbols that repeat: the previous length 3-6 times, a zero 3-10 and 11-138 times.
constexpr std::uint8_t kRepeatPrevious = 16, kRepeatZero = 17, kRepeatZeroLong = 18;
constexpr std::array<std::uint8_t, kCodeLengthSymbols> kStepExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                                      0, 0, 0, 0, 0, 0, 2, 3, 7};

// The fixed codes: literals 0-143 in 8 bits, 144-255 in 9, symbols 256-279 in 7, the rest in 8;
// every distance in 5.
constexpr auto kFixedLiteralLengths = [] {
  std::array<std::uint8_t, kMostSymbols> lengths{};
  for (std::size_t s = 0; s < lengths.size(); ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  return lengths;
}();
constexpr auto kFixedDistanceLengths = [] {
  std::array<std::uint8_t, kDistanceSymbols> lengths{};
  lengths.fill(5);
  return lengths;
}();
template <std::size_t N>
constexpr std::array<std::uint16_t, N> CanonicalOf(const std::array<std::uint8_t, N>& lengths) {
  std::array<std::uint16_t, N> codes{};
  CanonicalCodes(lengths, codes);
  return codes;
}
constexpr auto kFixedLiteralCodes = CanonicalOf(kFixedLiteralLengths);
constexpr auto kFixedDistanceCodes = CanonicalOf(kFixedDistanceLengths);

// A code's lengths and codes, by symbol.
struct Code {
  const std::uint8_t* lengths;
  const std::uint16_t* codes;
  void Write(BitWriter& bits, std::size_t symbol) const { bits.Put(codes[symbol], lengths[symbol]); }
};

// How often each symbol occurs in the block.
struct Frequencies {
  std::array<std::uint32_t, kLiteralLengthSymbols> literals{};
  std::array<std::uint32_t, kDistanceSymbols> distances{};

  explicit Frequencies(std::span<const Token> tokens) {
    for (const Token& token : tokens) {
      if (token.distance == 0) {
        ++literals[token.literalOrLength];
      } else {
        ++literals[kFirstLengthSymbol + kLengthCodeOf[token.literalOrLength]];
        ++distances[DistanceCodeOf(token.distance)];
      }
    }
    ++literals[kEndOfBlock];
  }
};

// A step of the run-length code of code lengths: its symbol and its extra bits' value.
struct Step {
  std::uint8_t symbol;
  std::uint8_t extra;
};

// A block's own codes and the header that gives them.
struct OwnCodes {
  std::array<std::uint8_t, kLiteralLengthSymbols> literalLengths;
  std::array<std::uint8_t, kDistanceSymbols> distanceLengths;
  CodedSymbols literalSymbols, distanceSymbols;
  // The header gives the lengths up to the last used symbol of each alphabet, both alphabets' lengths
  // run-length coded together.
  std::size_t literalCount, distanceCount;
  std::array<std::uint8_t, kLiteralLengthSymbols + kDistanceSymbols> allLengths;
  std::array<Step, kLiteralLengthSymbols + kDistanceSymbols> steps;
  std::size_t stepCount = 0;
  std::array<std::uint8_t, kCodeLengthSymbols> stepLengths;
  CodedSymbols stepSymbols;
  std::size_t stepLengthCount;
  std::uint64_t headerBits;  // the header's own bits, the lengths' steps in their code included

  explicit OwnCodes(const Frequencies& frequencies) {
    literalSymbols = CodeLengths(frequencies.literals, kLongestAnyCode, literalLengths);
    distanceSymbols = CodeLengths(frequencies.distances, kLongestAnyCode, distanceLengths);
    literalCount = UsedCount(literalLengths, kFirstLengthSymbol);
    distanceCount = UsedCount(distanceLengths, 1);
    const auto end = std::copy_n(literalLengths.begin(), literalCount, allLengths.begin());
    std::copy_n(distanceLengths.begin(), distanceCount, end);
    RunLengthCode(std::span(allLengths).first(literalCount + distanceCount));

    std::array<std::uint32_t, kCodeLengthSymbols> stepFrequencies{};
    for (std::size_t i = 0; i < stepCount; ++i) ++stepFrequencies[steps[i].symbol];
    stepSymbols = CodeLengths(stepFrequencies, kLongestCodeLengthCode, stepLengths);
    stepLengthCount = kCodeLengthSymbols;
    while (stepLengthCount > 4 && stepLengths[kCodeLengthOrder[stepLengthCount - 1]] == 0) --stepLengthCount;
    headerBits = 5 + 5 + 4 + 3 * stepLengthCount;
    for (std::size_t s = 0; s < kCodeLengthSymbols; ++s)
      headerBits += std::uint64_t{stepFrequencies[s]} * (stepLengths[s] + kStepExtraBits[s]);
  }

  void WriteHeader(BitWriter& bits, std::span<std::uint16_t, kCodeLengthSymbols> stepCodes) const {
    bits.Put(static_cast<std::uint32_t>(literalCount - kFirstLengthSymbol), 5);
    bits.Put(static_cast<std::uint32_t>(distanceCount - 1), 5);
    bits.Put(static_cast<std::uint32_t>(stepLengthCount - 4), 4);
    for (std::size_t i = 0; i < stepLengthCount; ++i) bits.Put(stepLengths[kCodeLengthOrder[i]], 3);
    CanonicalCodes(stepLengths, stepSymbols, stepCodes);
    const Code stepCode{stepLengths.data(), stepCodes.data()};
    for (std::size_t i = 0; i < stepCount; ++i) {
      stepCode.Write(bits, steps[i].symbol);
      bits.Put(steps[i].extra, kStepExtraBits[steps[i].symbol]);
    }
  }

 private:
  template <std::size_t N>
  static std::size_t UsedCount(const std::array<std::uint8_t, N>& lengths, std::size_t least) {
    std::size_t count = N;
    while (count > least && lengths[count - 1] == 0) --count;
    return count;
  }

  void Add(std::uint8_t symbol, std::size_t extra) { steps[stepCount++] = Step{symbol, static_cast<std::uint8_t>(extra)}; }

  void RunLengthCode(std::span<const std::uint8_t> lengths) {
    for (std::size_t i = 0; i < lengths.size();) {
      const std::uint8_t length = lengths[i];
      std::size_t run = 1;
      while (i + run < lengths.size() && lengths[i + run] == length) ++run;
      i += run;
      if (length == 0) {
        for (; run >= 11; run -= std::min<std::size_t>(run, 138)) Add(kRepeatZeroLong, std::min<std::size_t>(run, 138) - 11);
        if (run >= 3) {
          Add(kRepeatZero, run - 3);
          run = 0;
        }
      } else {
        Add(length, 0);
        for (--run; run >= 3; run -= std::min<std::size_t>(run, 6)) Add(kRepeatPrevious, std::min<std::size_t>(run, 6) - 3);
      }
      for (; run > 0; --run) Add(length, 0);
    }
  }
};

// The bits of a block's symbols in the fixed codes and in codes of their own, counted in one pass
// over the symbols that have a code of their own, which all that occur have; the extra bits are the
// same under any code.
struct CodedBits {
  std::uint64_t fixed = 0;
  std::uint64_t own = 0;

  CodedBits(const Frequencies& frequencies, const OwnCodes& codes) {
    for (const std::size_t s : codes.literalSymbols.List()) {
      fixed += std::uint64_t{frequencies.literals[s]} * kFixedLiteralLengths[s];
      own += std::uint64_t{frequencies.literals[s]} * codes.literalLengths[s];
    }
    for (const std::size_t s : codes.distanceSymbols.List()) {
      fixed += std::uint64_t{frequencies.distances[s]} * kFixedDistanceLengths[s];
      own += std::uint64_t{frequencies.distances[s]} * codes.distanceLengths[s];
    }
  }
};

void WriteTokens(BitWriter& bits, std::span<const Token> tokens, const Code& literals, const Code& distances) {
  for (const Token& token : tokens) {
    if (token.distance == 0) {
      literals.Write(bits, token.literalOrLength);
      continue;
    }
    const int length = kLengthCodeOf[token.literalOrLength];
    literals.Write(bits, kFirstLengthSymbol + length);
    bits.Put(token.literalOrLength - kLengthCodes[length].base, kLengthCodes[length].extraBits);
    const int distance = DistanceCodeOf(token.distance);
    distances.Write(bits, distance);
    bits.Put(token.distance - kDistanceCodes[distance].base, kDistanceCodes[distance].extraBits);
  }
  literals.Write(bits, kEndOfBlock);
}

}  // namespace

void WriteBlock(BitWriter& bits, std::span<const Token> tokens, bool last) {
  const Frequencies frequencies(tokens);
  const OwnCodes own(frequencies);
  const CodedBits coded(frequencies, own);

  bits.Put(last ? 1 : 0, 1);
  if (coded.fixed <= own.headerBits + coded.own) {
    bits.Put(kFixedCodes, 2);
    WriteTokens(bits, tokens, Code{kFixedLiteralLengths.data(), kFixedLiteralCodes.data()},
                Code{kFixedDistanceLengths.data(), kFixedDistanceCodes.data()});
    return;
  }
  bits.Put(kOwnCodes, 2);
  std::array<std::uint16_t, kCodeLengthSymbols> stepCodes;
  own.WriteHeader(bits, stepCodes);
  std::array<std::uint16_t, kLiteralLengthSymbols> literalCodes;
  std::array<std::uint16_t, kDistanceSymbols> distanceCodes;
  CanonicalCodes(own.literalLengths, own.literalSymbols, literalCodes);
  CanonicalCodes(own.distanceLengths, own.distanceSymbols, distanceCodes);
  WriteTokens(bits, tokens, Code{own.literalLengths.data(), literalCodes.data()},
              Code{own.distanceLengths.data(), distanceCodes.data()});
}

}  // namespace varnel::deflate
