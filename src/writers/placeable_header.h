// The 22-byte header that makes a Windows metafile placeable, written the same way whichever
// writer made the metafile behind it.
#pragma once

#include "writers/metafile_records.h"

namespace varnel {

// The header's box and units are 16-bit: a picture wider or taller than 32767 units, or a resolution
// above 65535 units per inch, has no placeable metafile.
bool FitsPlaceableHeader(int width, int height, int unitsPerInch);

// Key, handle 0, bounding box 0, 0, width, height, units per inch, reserved, and the exclusive or
// of the ten 16-bit words before the checksum. The values fit the header.
void WritePlaceableHeader(RecordBuffer& out, int width, int height, int unitsPerInch);

}  // namespace varnel
