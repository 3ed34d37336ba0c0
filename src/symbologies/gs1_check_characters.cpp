#include "symbologies/gs1_check_characters.h"

#include <cstddef>

#include "symbologies/gs1_character_sets.h"

namespace varnel {
namespace {

// The characters the pair is written in, which no reader confuses with one another.
constexpr std::string_view kCheckCharacters = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int kPrimes[kMaxAlphanumericKeyData] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37,
                                                  41, 43, 47, 53, 59, 61, 67, 71, 73, 79, 83};
constexpr int kModulus = 1021;

}  // namespace

std::array<char, 2> AlphanumericCheckPair(std::string_view data) {
  int sum = 0;
  for (std::size_t fromRight = 0; fromRight < data.size() && fromRight < kMaxAlphanumericKeyData; ++fromRight) {
    const std::size_t value = kGs1Set82.find(data[data.size() - 1 - fromRight]);
    if (value != std::string_view::npos) sum = (sum + static_cast<int>(value) * kPrimes[fromRight]) % kModulus;
  }
  return {kCheckCharacters[static_cast<std::size_t>(sum >> 5)], kCheckCharacters[static_cast<std::size_t>(sum & 31)]};
}

}  // namespace varnel
