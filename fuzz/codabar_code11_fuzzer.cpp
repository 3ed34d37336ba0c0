// Codabar and Code 11: start and stop letters, check characters and their printing.
#include <cstddef>
#include <cstdint>

#include "encoder_harness.h"
#include "symbologies/encoders.h"

namespace {

using varnel::fuzz::FamilyMember;

constexpr FamilyMember kFamily[] = {
    {varnel::kCodabar, varnel::EncodeCodabar},
    {varnel::kCode11, varnel::EncodeCode11},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varnel::fuzz::RunEncoderFamily(kFamily, data, size);
  return 0;
}
