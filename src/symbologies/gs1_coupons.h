// The North American coupon codes that GS1 data carries: the coupon code of AI (8110) and the
// positive offer file coupon code of AI (8112), each a run of digit fields, some led by a digit
// that gives their length.
#pragma once

#include <string_view>

#include "base/composed_message.h"

namespace varnel {

// Whether the digits are a whole coupon code of its kind; else false with the clause that ends the
// refusal in `fault`: "the coupon's save value length is 0, not 1, 2, 3, 4 or 5."
bool PassesCouponCode(std::string_view digits, ComposedMessage& fault);
bool PassesPositiveOfferCoupon(std::string_view digits, ComposedMessage& fault);

}  // namespace varnel
