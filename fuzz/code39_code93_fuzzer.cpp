// Code 39, its full-ASCII form and Code 93: table lookups of any byte, shift pairs and check characters.
#include <cstddef>
#include <cstdint>

#include "encoder_harness.h"
#include "symbologies/encoders.h"

namespace {

using varnel::fuzz::FamilyMember;

constexpr FamilyMember kFamily[] = {
    {varnel::kCode39, varnel::EncodeCode39},
    {varnel::kCode39Ascii, varnel::EncodeCode39Ascii},
    {varnel::kCode93, varnel::EncodeCode93},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varnel::fuzz::RunEncoderFamily(kFamily, data, size);
  return 0;
}
