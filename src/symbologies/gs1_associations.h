// The AIs that one AI needs beside it in the same data, and those it may not appear with, as GS1's
// dictionary lists them (its req= and ex= attributes), and AIs repeated with another value.
#pragma once

#include "base/composed_message.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {

// True when no AI is repeated with another value, and every element string's required AIs are
// present and none of its excluded ones; else false with the refusal in `fault`: "AI (21) requires
// (01), (03) or (8006)." An AI does not exclude itself, even where it matches a pattern it excludes.
bool CheckAssociations(const ElementStrings& strings, ComposedMessage& fault);

}  // namespace varnel
