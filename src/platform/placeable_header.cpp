#include "platform/placeable_header.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "platform/wmf_file.h"

namespace varnel {

bool FitsPlaceableHeader(int width, int height, int unitsPerInch) {
  constexpr int kLargestCoordinate = std::numeric_limits<std::int16_t>::max();
  return width >= 0 && height >= 0 && width <= kLargestCoordinate && height <= kLargestCoordinate &&
         unitsPerInch >= 1 && unitsPerInch <= std::numeric_limits<std::uint16_t>::max();
}

void WritePlaceableHeader(RecordBuffer& out, int width, int height, int unitsPerInch) {
  const std::size_t start = out.Size();
  out.U32(kPlaceableKey);
  out.U16(0);
  out.U16(0);
  out.U16(0);
  out.U16(static_cast<std::uint16_t>(width));
  out.U16(static_cast<std::uint16_t>(height));
  out.U16(static_cast<std::uint16_t>(unitsPerInch));
  out.U32(0);
  std::uint16_t checksum = 0;
  for (std::size_t at = start; at < start + 20; at += 2)
    checksum ^= static_cast<std::uint16_t>(out.Bytes()[at] | out.Bytes()[at + 1] << 8);
  out.U16(checksum);
}

}  // namespace varnel
