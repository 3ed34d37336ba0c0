#include "writers/placeable_header.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "writers/wmf_file.h"

namespace varnel {

bool FitsPlaceableHeader(int width, int height, int unitsPerInch) {
  constexpr int kLargestCoordinate = std::numeric_limits<std::int16_t>::max();
  return width >= 0 && height >= 0 && width <= kLargestCoordinate && height <= kLargestCoordinate &&
         unitsPerInch >= 1 && unitsPerInch <= std::numeric_limits<std::uint16_t>::max();
}

void WritePlaceableHeader(RecordBuffer& out, int width, int height, int unitsPerInch) {
  const std::uint16_t words[10] = {static_cast<std::uint16_t>(kPlaceableKey & 0xFFFF),
                                   static_cast<std::uint16_t>(kPlaceableKey >> 16),
                                   0,
                                   0,
                                   0,
                                   static_cast<std::uint16_t>(width),
                                   static_cast<std::uint16_t>(height),
                                   static_cast<std::uint16_t>(unitsPerInch),
                                   0,
                                   0};
  RecordWriter header = out.Append(sizeof words + 2);
  std::uint16_t checksum = 0;
  for (const std::uint16_t word : words) {
    header.U16(word);
    checksum ^= word;
  }
  header.U16(checksum);
}

}  // namespace varnel
