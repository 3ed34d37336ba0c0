// Code 128 and the GS1 symbols on its characters: code-set planning over any bytes, FNC1 and FNC4,
// GS1-128's element strings and shortest code sets, and the check character.
#include <cstddef>
#include <cstdint>

#include "encoder_harness.h"
#include "symbologies/encoders.h"

namespace {

using varnel::fuzz::FamilyMember;

constexpr FamilyMember kFamily[] = {
    {varnel::kCode128, varnel::EncodeCode128},
    {varnel::kUccEan128, varnel::EncodeUccEan128},
    {varnel::kSscc18, varnel::EncodeSscc18},
    {varnel::kUccEan128Ai01, varnel::EncodeUccEan128Ai01},
    {varnel::kGs1_128, varnel::EncodeGs1_128},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varnel::fuzz::RunEncoderFamily(kFamily, data, size);
  return 0;
}
