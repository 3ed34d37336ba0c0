// The digit-only symbologies: Interleaved and Matrix 2 of 5, ITF-14, MSI, PLANET and POSTNET.
#include <cstddef>
#include <cstdint>

#include "encoder_harness.h"
#include "symbologies/encoders.h"

namespace {

using varnel::fuzz::FamilyMember;

constexpr FamilyMember kFamily[] = {
    {varnel::kInterleaved2of5, varnel::EncodeInterleaved2of5},
    {varnel::kMatrix2of5, varnel::EncodeMatrix2of5},
    {varnel::kMsi, varnel::EncodeMsi},
    {varnel::kPlanet, varnel::EncodePlanet},
    {varnel::kPostnet, varnel::EncodePostnet},
    {varnel::kItf14, varnel::EncodeItf14},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varnel::fuzz::RunEncoderFamily(kFamily, data, size);
  return 0;
}
