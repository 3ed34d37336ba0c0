// The steps the Code 128 family shares beyond its symbol characters: how the GS1 forms that draw
// their data in code set C cut it into pairs, which validation reads to refuse what would not be drawn.
#pragma once

#include "base/settings.h"

namespace varnel {

// The all-numeric form's data as it is cut into pairs: a leading zero when the count of bytes is
// odd, so that the pairs come out even.
struct PairedData {
  char text[kMessageCapacity + 1];
};
PairedData PadToPairs(const char* data);

// Whether every pair of the text, cut from its first byte, is drawn: two digits, or, where fnc1Allowed,
// the doubled FNC1 byte (0xCA 0xCA). Any other pair, a lone last byte among them, has no value in
// code set C.
bool EveryPairDrawn(const char* pairs, bool fnc1Allowed);

}  // namespace varnel
