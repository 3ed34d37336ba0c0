// EAN-8 and its variant JAN-8: all eight digits are drawn, set A on the left, set C on the right.
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"

namespace varnel {
namespace {

constexpr int kEan8DataDigits = 7;
constexpr int kDigitsPerHalf = 4;

}  // namespace

void EncodeEan8(Context& context) {
  AppendCheckDigit(context, kEan8DataDigits);
  DrawTwoHalfSymbol(context, context.state.workMessage, 0, kDigitsPerHalf, SingleSet(kEanSetA), SingleSet(kEanSetC));
}

void EncodeJan8(Context& context) { EncodeEan8(context); }

}  // namespace varnel
