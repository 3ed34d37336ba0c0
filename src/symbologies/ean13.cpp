// EAN-13 and its variants JAN-13 and ISBN. The leading digit is not drawn as bars: it is carried by
// the choice between sets A and B for the left half.
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "base/text_routines.h"

namespace varnel {
namespace {

constexpr int kEan13DataDigits = 12;
constexpr int kDigitsPerHalf = 6;
constexpr int kIsbnDigits = 10;

// The left half's parity letters: the first digit of the half is always set A, the other five follow
// the leading digit. A leading character that is not a digit chooses no row, so the half is all set A.
void LeftHalfParity(char (&letters)[kDigitsPerHalf + 1]) {
  CopyChars(letters, "A", 1);
  const int leading = DigitValue(CharAt(state.workMessage, 0));
  if (leading >= 0) AppendText(letters, EanParityTable[leading]);
}

// "ISBN " and the ten digits in groups of 1, 3, 5 and 1. The groups are fixed: the real group
// lengths of an ISBN depend on registration ranges that the data does not carry.
void BuildIsbnCaption(const char* isbn) {
  constexpr int kGroupLengths[] = {1, 3, 5, 1};
  CopyChars(state.isbnCaption, "ISBN ", 5);
  int position = 0;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) AppendChar(state.isbnCaption, '-');
    for (int i = 0; i < kGroupLengths[group]; ++i) AppendChar(state.isbnCaption, CharAt(isbn, position++));
  }
}

// The EAN-13 number of a 10-digit ISBN: the Bookland prefix 978 and the first nine digits. The ISBN's
// own check digit is dropped, since the EAN check digit replaces it.
void RewriteIsbnAsEan() {
  constexpr char kBooklandPrefix[] = "978";
  char number[kEan13DataDigits + 1];
  CopyChars(number, kBooklandPrefix, 3);
  for (int i = 0; i < kIsbnDigits - 1; ++i) AppendChar(number, CharAt(state.workMessage, i));
  CopyChars(state.workMessage, number, kEan13DataDigits);
}

}  // namespace

void EncodeEan13() {
  AppendCheckDigit(kEan13DataDigits);
  char leftParity[kDigitsPerHalf + 1];
  LeftHalfParity(leftParity);
  DrawTwoHalfSymbol(state.workMessage, 1, kDigitsPerHalf, ParitySets{leftParity, 'B', &kEanSetB, &kEanSetA},
                    SingleSet(kEanSetC));
}

void EncodeJan13() { EncodeEan13(); }

void EncodeIsbn() {
  // The drawing pass finds the number already rewritten and checked by the measuring pass.
  if (state.measuring != 0) {
    BuildIsbnCaption(state.workMessage);
    RewriteIsbnAsEan();
  }
  EncodeEan13();
}

}  // namespace varnel
