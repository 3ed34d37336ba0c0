#include "writers/huffman_code.h"

#include <algorithm>
#include <numeric>

namespace varnel::deflate {
namespace {

constexpr int kLongestAnyCode = 32;

// Depths of the leaves of a Huffman tree over weights in increasing order, built with two queues:
// the leaves, and the inner nodes, which are made in increasing order of weight too.
std::vector<int> LeafDepths(const std::vector<std::uint64_t>& sortedWeights) {
  const std::size_t leaves = sortedWeights.size();
  std::vector<std::uint64_t> weight(sortedWeights);
  weight.resize(2 * leaves - 1);
  std::vector<std::size_t> parent(2 * leaves - 1);
  std::size_t nextLeaf = 0, nextInner = leaves;
  const auto takeLightest = [&](std::size_t made) {
    if (nextLeaf < leaves && (nextInner >= made || weight[nextLeaf] <= weight[nextInner])) return nextLeaf++;
    return nextInner++;
  };
  for (std::size_t made = leaves; made < 2 * leaves - 1; ++made) {
    const std::size_t a = takeLightest(made), b = takeLightest(made);
    weight[made] = weight[a] + weight[b];
    parent[a] = parent[b] = made;
  }
  std::vector<int> depth(2 * leaves - 1, 0);
  for (std::size_t node = 2 * leaves - 1; node-- > 1;) depth[node - 1] = depth[parent[node - 1]] + 1;
  depth.resize(leaves);
  return depth;
}

}  // namespace

std::vector<std::uint8_t> CodeLengths(std::span<const std::uint32_t> frequencies, int maxLength) {
  std::vector<std::size_t> symbols;
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) symbols.push_back(s);
  }
  for (std::size_t s = 0; symbols.size() < 2 && s < frequencies.size(); ++s) {
    if (frequencies[s] == 0) symbols.push_back(s);
  }
  // Rarest first; a stand-in counts as occurring once.
  const auto weightOf = [&](std::size_t s) { return std::max<std::uint64_t>(frequencies[s], 1); };
  std::stable_sort(symbols.begin(), symbols.end(),
                   [&](std::size_t a, std::size_t b) { return weightOf(a) < weightOf(b); });
  std::vector<std::uint64_t> weights(symbols.size());
  std::transform(symbols.begin(), symbols.end(), weights.begin(), weightOf);

  // How many codes of each length the tree gives, those too long counted at the longest allowed.
  std::vector<std::size_t> countOfLength(kLongestAnyCode + 1, 0);
  for (const int depth : LeafDepths(weights)) ++countOfLength[std::min(depth, maxLength)];
  // Shortening codes overfills the code space (the Kraft sum exceeds one): each step takes one
  // code of the longest length away and splits a shorter code into two one bit longer, until the
  // sum is exactly one again.
  const auto kraftUnits = [&] {
    std::uint64_t units = 0;
    for (int length = 1; length <= maxLength; ++length) units += std::uint64_t{countOfLength[length]} << (maxLength - length);
    return units;
  };
  for (std::uint64_t units = kraftUnits(); units > (std::uint64_t{1} << maxLength); --units) {
    --countOfLength[maxLength];
    for (int length = maxLength - 1; length >= 1; --length) {
      if (countOfLength[length] != 0) {
        --countOfLength[length];
        countOfLength[length + 1] += 2;
        break;
      }
    }
  }

  // The commonest symbols take the shortest codes.
  std::vector<std::uint8_t> lengths(frequencies.size(), 0);
  auto symbol = symbols.rbegin();
  for (int length = 1; length <= maxLength; ++length) {
    for (std::size_t i = 0; i < countOfLength[length]; ++i) lengths[*symbol++] = static_cast<std::uint8_t>(length);
  }
  return lengths;
}

std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths) {
  std::vector<std::uint32_t> nextCode(kLongestAnyCode + 2, 0);
  std::vector<std::uint32_t> countOfLength(kLongestAnyCode + 1, 0);
  for (const std::uint8_t length : lengths) ++countOfLength[length];
  countOfLength[0] = 0;
  for (int length = 1; length <= kLongestAnyCode; ++length) {
    nextCode[length] = (nextCode[length - 1] + countOfLength[length - 1]) << 1;
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    const int length = lengths[s];
    if (length == 0) continue;
    std::uint32_t code = nextCode[length]++, reversed = 0;
    for (int bit = 0; bit < length; ++bit, code >>= 1) reversed = (reversed << 1) | (code & 1);
    codes[s] = static_cast<std::uint16_t>(reversed);
  }
  return codes;
}

}  // namespace varnel::deflate
