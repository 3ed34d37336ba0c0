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
void LeftHalfParity(Context& context, char (&letters)[kDigitsPerHalf + 1]) {
  CopyChars(letters, "A", 1);
  const int leading = DigitValue(CharAt(context.state.workMessage, 0));
  if (leading >= 0) AppendText(letters, EanParityTable[leading]);
}

// "ISBN " and the ten digits in groups of 1, 3, 5 and 1. The groups are fixed: the real group
// lengths of an ISBN depend on registration ranges that the data does not carry.
void BuildIsbnCaption(Context& context, const char* isbn) {
  constexpr int kGroupLengths[] = {1, 3, 5, 1};
  CopyChars(context.state.isbnCaption, "ISBN ", 5);
  int position = 0;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) AppendChar(context.state.isbnCaption, '-');
    for (int i = 0; i < kGroupLengths[group]; ++i) AppendChar(context.state.isbnCaption, CharAt(isbn, position++));
  }
}

// The EAN-13 number of a 10-digit ISBN: the Bookland prefix 978 and the first nine digits. The ISBN's
// own check digit is dropped, since the EAN check digit replaces it.
void RewriteIsbnAsEan(Context& context) {
  constexpr char kBooklandPrefix[] = "978";
  char number[kEan13DataDigits + 1];
  CopyChars(number, kBooklandPrefix, 3);
  for (int i = 0; i < kIsbnDigits - 1; ++i) AppendChar(number, CharAt(context.state.workMessage, i));
  CopyChars(context.state.workMessage, number, kEan13DataDigits);
}

}  // namespace

void EncodeEan13(Context& context) {
  AppendCheckDigit(context, kEan13DataDigits);
  char leftParity[kDigitsPerHalf + 1];
  LeftHalfParity(context, leftParity);
  DrawTwoHalfSymbol(context, context.state.workMessage, 1, kDigitsPerHalf, ParitySets{leftParity, 'B', &kEanSetB, &kEanSetA},
                    SingleSet(kEanSetC));
}

void EncodeJan13(Context& context) { EncodeEan13(context); }

void EncodeIsbn(Context& context) {
  // A drawing walk after the first finds the number already rewritten and checked.
  if (context.state.walk.preparesData) {
    BuildIsbnCaption(context, context.state.workMessage);
    RewriteIsbnAsEan(context);
  }
  EncodeEan13(context);
}

}  // namespace varnel
