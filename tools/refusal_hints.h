// Messages for data the library refuses that tell the user what to type instead.
#pragma once

#include <string>
#include <string_view>

namespace varnel::tool {

// The library's message with what the symbology takes, naming the first character it has no code
// for and, for lower-case letters it cannot draw, the symbology that can; when the add-on is the
// trouble, what an add-on takes. `data` and `addOn` are the library's Windows-1252 bytes.
std::string ExplainRefusal(int symbology, std::string_view libraryMessage, std::string_view data,
                           std::string_view addOn);

}  // namespace varnel::tool
