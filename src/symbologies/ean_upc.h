// The steps that EAN-13, JAN-13, ISBN, EAN-8, JAN-8, UPC-A and UPC-E share: the check digit, the
// digit patterns and their parity, the guards, the two digit groups and the add-on that may follow.
//
// These encoders index fixed digit positions, so they read the data only through CharAt: data that
// bypassed validation (too short, not digits) then draws nothing for the missing or foreign digits
// instead of reading whatever an earlier, longer message left in the buffer.
#pragma once

#include <string_view>

#include "base/text_routines.h"
#include "drawing/context.h"
#include "drawing/element_drawing.h"
#include "symbologies/tables.h"

namespace varnel {

// The modulo-10 check digit of EAN and UPC over a terminated text: weight 3 on the rightmost digit
// and every second one to its left, weight 1 on the others. A character that is not a digit counts
// as 0, so the result is always '0'..'9'; the empty text gives '0'.
char UpcEanCheckDigit(const char* digits);
// The same over digits that need not end the text they are in: GS1's check digit of its keys, the
// last digit of a GTIN, an SSCC or a GLN.
char UpcEanCheckDigit(std::string_view digits);

// In a render's first walk only: appends the UpcEanCheckDigit of the first `dataDigits` characters
// of workMessage to it. The digit stays for a second walk, so each render appends it once.
void AppendCheckDigit(Context& context, int dataDigits);

// The UPC-E number system that VnUPCESystem chose, as the digit that leads the UPC-A number. A UPC-E
// symbol whose data starts otherwise would carry a check digit that no scanner accepts.
char UpcENumberSystemDigit(Context& context);

// Whether the zeros of the UPC-A number d1..d11 lie where UPC-E leaves them out, so that a scanner
// expanding the six UPC-E digits gets the number back; any other number's six digits would stand
// for another number.
bool IsZeroSuppressible(const char* number);

// The character at `index` of a terminated text, or a blank when the text ends before it. A blank is
// not a digit, so a missing digit draws nothing and chooses no table row.
char CharAt(const char* text, int index);

// CharAt for a run of positions read one after another: the text's length is found once, up to
// `positions`, instead of at every read.
class FixedPositions {
 public:
  FixedPositions(const char* text, int positions);
  char operator[](int index) const { return index >= 0 && index < length_ ? text_[index] : ' '; }

 private:
  const char* text_;
  int length_;
};

// A table of digit patterns with the colours its patterns are drawn in: space first on the left of
// the centre guard and in the add-ons, bar first on its right.
struct DigitSet {
  int tableId;
  const KeyedRow* rows;
  const char* colours;
};

inline constexpr DigitSet kEanSetA{kEanSetATableId, EanSetATable, "wbwb"};
inline constexpr DigitSet kEanSetB{kEanSetBTableId, EanSetBTable, "wbwb"};
inline constexpr DigitSet kEanSetC{kEanSetCTableId, EanSetCTable, "bwbw"};
inline constexpr DigitSet kUpcLeft{kUpcLeftTableId, UpcLeftTable, "wbwb"};
inline constexpr DigitSet kUpcRight{kUpcRightTableId, UpcRightTable, "bwbw"};
inline constexpr DigitSet kUpcEven{kUpcEvenTableId, UpcEvenTable, "wbwb"};
inline constexpr DigitSet kUpcOdd{kUpcOddTableId, UpcOddTable, "wbwb"};

// How the digits of a run choose their set: digit i comes from `marked` when letter i of `letters`
// is `mark`, and from `unmarked` for any other letter or when the letters run out.
struct ParitySets {
  const char* letters;
  char mark;
  const DigitSet* marked;
  const DigitSet* unmarked;
};

// Every digit of the run from the one set.
inline ParitySets SingleSet(const DigitSet& set) { return ParitySets{"", '\0', &set, &set}; }

// The set of a digit whose parity letter is `letter`.
const DigitSet& SetFor(const ParitySets& sets, char letter);

// One digit's pattern; a character that the set lacks draws nothing.
void DrawDigit(Context& context, const DigitSet& set, char digit, BarOffsets offsets);

// The characters first .. first + count - 1 of `text` as data bars, side by side.
void DrawDigitRun(Context& context, const char* text, int first, int count, const ParitySets& sets);

// A guard of one-module elements in the given colours ("bwb", "wbwbw", "wbwbwb"). Guards reach half
// a font height further down than the data bars, between the digit groups of the text.
void DrawGuard(Context& context, const char* colours);

// The start guard; records leftDigitsStart where the first digit group begins.
void DrawStartGuard(Context& context);

// Records symbolEnd and draws the add-on that supplementKind asks for.
void FinishMainSymbol(Context& context);

// The layout of EAN-13, EAN-8 and UPC-A: start guard, `digitsPerHalf` digits of `text` from
// `first` on, centre guard, the next `digitsPerHalf` digits, end guard, then the add-on. Records the
// digit groups for the text below the bars: each group's cells reach one module into the centre guard.
void DrawTwoHalfSymbol(Context& context, const char* text, int first, int digitsPerHalf, const ParitySets& left,
                       const ParitySets& right);

// The add-ons, after the gap that follows symbolEnd; they record supplementStart and supplementEnd.
void EncodeAddOn2(Context& context);
void EncodeAddOn5(Context& context);

}  // namespace varnel
