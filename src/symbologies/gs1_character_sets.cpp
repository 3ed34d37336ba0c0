#include "symbologies/gs1_character_sets.h"

namespace varnel {
namespace {

constexpr std::string_view kSet39 = "#-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kBase64 = "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
constexpr char kPadding = '=';
constexpr std::size_t kMostPadding = 2;
constexpr std::size_t kBase64Quantum = 4;

bool Holds(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

bool InSet(Gs1Charset charset, char c) {
  switch (charset) {
    case Gs1Charset::kNumeric: return c >= '0' && c <= '9';
    case Gs1Charset::kSet82: return Holds(kGs1Set82, c);
    case Gs1Charset::kSet39: return Holds(kSet39, c);
    case Gs1Charset::kSet64: return Holds(kBase64, c);
  }
  return false;
}

// Where the padding of base64 data begins: '=' fills its last group of four characters, so only a
// value of whole groups is padded, and never by more than two, as a group holds at least one byte.
std::size_t PaddingStart(std::string_view value) {
  const std::size_t data = value.find_last_not_of(kPadding) + 1;
  const std::size_t padding = value.size() - data;
  return padding <= kMostPadding && value.size() % kBase64Quantum == 0 ? data : value.size();
}

}  // namespace

std::size_t FirstCharacterOutside(Gs1Charset charset, std::string_view value) {
  const std::size_t end = charset == Gs1Charset::kSet64 ? PaddingStart(value) : value.size();
  for (std::size_t i = 0; i < end; ++i) {
    if (!InSet(charset, value[i])) return i;
  }
  return std::string_view::npos;
}

std::string_view Gs1CharsetPhrase(Gs1Charset charset) {
  switch (charset) {
    case Gs1Charset::kNumeric: return "a digit";
    case Gs1Charset::kSet82: return "in GS1 character set 82";
    case Gs1Charset::kSet39: return "in GS1 character set 39";
    case Gs1Charset::kSet64: return "in the base64url alphabet";
  }
  return "";
}

}  // namespace varnel
