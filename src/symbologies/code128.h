// The steps the Code 128 family shares: its symbol characters, the start, check and stop characters
// around them, and how the forms that draw their data in code set C cut it into pairs, which
// validation reads to refuse what would not be drawn.
#pragma once

#include "base/settings.h"
#include "drawing/context.h"

namespace varnel {

// Indexes the start characters and the switches to each set.
enum CodeSet : int { kSetA = 0, kSetB = 1, kSetC = 2 };

// The character that switches to a set, the same value from either of the other two.
inline constexpr int kCode128SwitchValues[] = {101, 100, 99};
// FNC1 has one value in every set.
inline constexpr int kCode128Fnc1 = 102;

// The symbol as it is drawn: the check sum runs over the characters drawn, each weighted by its
// position after the start.
struct Code128Symbol {
  int checkSum;
  int nextPosition;
};

// A symbol character of a value 0..102 of Code128Patterns, outside any check sum.
void DrawCode128Value(Context& context, int value);
// The start character of a set, which opens the check sum with its value.
Code128Symbol DrawCode128Start(Context& context, CodeSet set);
// A character of the symbol's data, counted into its check sum.
void DrawCode128Character(Context& context, Code128Symbol& symbol, int value);
// The modulo-103 check character and the stop.
void DrawCode128Check(Context& context, const Code128Symbol& symbol);
void DrawCode128Stop(Context& context);

// The value of an ASCII byte in set A (its control bytes and 32..95) or set B (32..127).
int Code128TextValue(unsigned char ascii, CodeSet set);

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
