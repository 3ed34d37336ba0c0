#include "writers/huffman_code.h"

#include <algorithm>

namespace varnel::deflate {
namespace {

constexpr std::size_t kMostNodes = 2 * kMostSymbols - 1;

// Sets `depth` to the depths of the leaves of a Huffman tree over `leaves` weights in increasing
// order, built with two queues: the leaves, and the inner nodes, which are made in increasing order
// of weight too.
void LeafDepths(std::array<std::uint64_t, kMostNodes>& weight, std::size_t leaves, std::array<int, kMostNodes>& depth) {
  std::array<std::uint16_t, kMostNodes> parent;
  std::size_t nextLeaf = 0, nextInner = leaves;
  const auto takeLightest = [&](std::size_t made) {
    if (nextLeaf < leaves && (nextInner >= made || weight[nextLeaf] <= weight[nextInner])) return nextLeaf++;
    return nextInner++;
  };
  const std::size_t nodes = 2 * leaves - 1;
  for (std::size_t made = leaves; made < nodes; ++made) {
    const std::size_t a = takeLightest(made), b = takeLightest(made);
    weight[made] = weight[a] + weight[b];
    parent[a] = parent[b] = static_cast<std::uint16_t>(made);
  }
  depth[nodes - 1] = 0;
  for (std::size_t node = nodes - 1; node-- > 0;) depth[node] = depth[parent[node]] + 1;
}

}  // namespace

CodedSymbols CodeLengths(std::span<const std::uint32_t> frequencies, int maxLength, std::span<std::uint8_t> lengths) {
  CodedSymbols coded;
  std::array<std::uint16_t, kMostSymbols>& symbols = coded.symbols;
  std::size_t used = 0;
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) symbols[used++] = static_cast<std::uint16_t>(s);
  }
  const bool standIns = used < 2;
  for (std::size_t s = 0; used < 2 && s < frequencies.size(); ++s) {
    if (frequencies[s] == 0) symbols[used++] = static_cast<std::uint16_t>(s);
  }
  if (standIns) std::sort(symbols.begin(), symbols.begin() + static_cast<std::ptrdiff_t>(used));
  coded.count = used;
  // Rarest first, ties in symbol order; a stand-in counts as occurring once. Each symbol is sorted
  // as one number, its weight above its symbol.
  std::array<std::uint64_t, kMostSymbols> keys;
  for (std::size_t i = 0; i < used; ++i) {
    keys[i] = std::max<std::uint64_t>(frequencies[symbols[i]], 1) << 16 | symbols[i];
  }
  std::sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(used));
  std::array<std::uint16_t, kMostSymbols> byWeight;
  std::array<std::uint64_t, kMostNodes> weights;
  for (std::size_t i = 0; i < used; ++i) {
    byWeight[i] = static_cast<std::uint16_t>(keys[i] & 0xFFFF);
    weights[i] = keys[i] >> 16;
  }
  std::array<int, kMostNodes> depth;
  LeafDepths(weights, used, depth);

  // How many codes of each length the tree gives, those too long counted at the longest allowed.
  std::array<std::size_t, kLongestAnyCode + 1> countOfLength{};
  for (std::size_t leaf = 0; leaf < used; ++leaf) ++countOfLength[std::min(depth[leaf], maxLength)];
  // Shortening codes overfills the code space (the Kraft sum exceeds one): each step takes one
  // code of the longest length away and splits a shorter code into two one bit longer, until the
  // sum is exactly one again.
  std::uint64_t units = 0;
  for (int length = 1; length <= maxLength; ++length) units += std::uint64_t{countOfLength[length]} << (maxLength - length);
  for (; units > (std::uint64_t{1} << maxLength); --units) {
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
  std::fill(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(frequencies.size()), 0);
  std::size_t next = used;
  for (int length = 1; length <= maxLength; ++length) {
    for (std::size_t i = 0; i < countOfLength[length]; ++i) lengths[byWeight[--next]] = static_cast<std::uint8_t>(length);
  }
  return coded;
}

}  // namespace varnel::deflate
