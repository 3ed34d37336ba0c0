// EAN-13, JAN-13, ISBN, EAN-8, JAN-8, UPC-A and UPC-E with their add-ons: fixed digit positions,
// parity, check digits and ISBN captions.
#include <cstddef>
#include <cstdint>

#include "encoder_harness.h"
#include "symbologies/encoders.h"

namespace {

using varnel::fuzz::FamilyMember;

constexpr FamilyMember kFamily[] = {
    {varnel::kEan13, varnel::EncodeEan13},
    {varnel::kJan13, varnel::EncodeJan13},
    {varnel::kIsbn, varnel::EncodeIsbn},
    {varnel::kEan8, varnel::EncodeEan8},
    {varnel::kJan8, varnel::EncodeJan8},
    {varnel::kUpcA, varnel::EncodeUpcA},
    {varnel::kUpcE, varnel::EncodeUpcE},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varnel::fuzz::RunEncoderFamily(kFamily, data, size);
  return 0;
}
