// The content checks GS1's dictionary names on the components of an AI's data, each written from
// GS1's published rule for what it checks.
#pragma once

#include <string_view>

#include "base/composed_message.h"
#include "symbologies/gs1_dictionary.h"

namespace varnel {

// Whether a component's value passes the check. The value is already of the component's character
// set and length. On failure what is wrong is appended to `fault` as the clause that ends a
// message: "260231 is not a date."
bool PassesGs1Linter(Gs1Linter linter, std::string_view value, ComposedMessage& fault);

}  // namespace varnel
