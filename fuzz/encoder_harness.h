// The shared body of the encoder fuzz targets: validation and one family's encoders driven
// directly, the measuring pass and then the drawing pass, with the render state set straight from
// the input, so that widths, heights and offsets the driver only reaches through extreme settings
// (a bar as wide as the int range, a text band of INT_MIN) arrive in every combination. The
// recorded picture is then encoded by one of the file encoders.
//
// Beyond the sanitizers' checks the harness holds the encoders to their contract: a refusal names
// its message; both passes advance the cursor by the same total; the text buffers stay terminated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/settings.h"
#include "drawing/context.h"

namespace varnel::fuzz {

struct FamilyMember {
  Symbology symbology;
  void (*encode)(Context&);
};

void RunEncoderFamily(std::span<const FamilyMember> family, const std::uint8_t* data, std::size_t size);

}  // namespace varnel::fuzz
