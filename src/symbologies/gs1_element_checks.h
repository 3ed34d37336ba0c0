// What GS1's dictionary says of each element string's data: its length, split into the AI's
// components, each component's characters, and the content checks on each.
#pragma once

#include "base/composed_message.h"
#include "symbologies/gs1_element_strings.h"

namespace varnel {

// True when the data of the element string is what its AI takes; else false with the refusal in
// `fault`, which names the AI: "AI (17): 260231 is not a date."
bool CheckElementData(const ElementString& element, ComposedMessage& fault);

}  // namespace varnel
