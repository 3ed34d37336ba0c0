// GS1-128: GS1 element strings in Code 128's symbol characters, opened by FNC1 after the start, with
// an FNC1 between element strings wherever the first's length is not predefined.
#pragma once

#include <string_view>

#include "base/composed_message.h"

namespace varnel {

// GS1's limit on a symbol's data: the AIs, their data and the FNC1s that separate element strings,
// without the start, code-set switches, the leading FNC1 or the check character.
inline constexpr int kGs1_128MaxDataCharacters = 48;

// Whether the message is element strings that GS1-128 can carry: brackets that pair around AIs GS1
// has assigned, data that each AI takes (its length, characters and content checks), the AIs each
// needs beside it and none it excludes, in at most kGs1_128MaxDataCharacters. Else false with what
// is wrong in `fault`.
bool ValidateGs1_128(std::string_view message, ComposedMessage& fault);

}  // namespace varnel
