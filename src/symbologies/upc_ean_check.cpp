// The EAN/UPC check digit, and the bounded reading of the fixed digit positions that the whole
// family relies on.
#include <algorithm>
#include <cstring>

#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"
#include "base/text_routines.h"

namespace varnel {

char CharAt(const char* text, int index) { return FixedPositions(text, index + 1)[index]; }

FixedPositions::FixedPositions(const char* text, int positions)
    : text_(text), length_(static_cast<int>(strnlen(text, static_cast<std::size_t>(std::max(positions, 0))))) {}

namespace {

// Weight 3 on the last of the first `count` characters and every second one before it, 1 on the rest.
char CheckDigitOfFirst(const char* digits, std::size_t count) {
  unsigned sum = 0;
  for (std::size_t fromRight = 0; fromRight < count; ++fromRight) {
    const int value = DigitValue(digits[count - 1 - fromRight]);
    if (value > 0) sum += static_cast<unsigned>(value) * (fromRight % 2 == 0 ? 3u : 1u);
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

}  // namespace

char UpcEanCheckDigit(const char* digits) { return CheckDigitOfFirst(digits, std::strlen(digits)); }

char UpcEanCheckDigit(std::string_view digits) { return CheckDigitOfFirst(digits.data(), digits.size()); }

void AppendCheckDigit(Context& context, int dataDigits) {
  if (!context.state.walk.preparesData) return;
  const std::size_t count = strnlen(context.state.workMessage, static_cast<std::size_t>(dataDigits));
  AppendChar(context.state.workMessage, CheckDigitOfFirst(context.state.workMessage, count));
}

}  // namespace varnel
