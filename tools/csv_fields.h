// Splitting one line of a batch file into its comma-separated fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::tool {

// Fields are separated by commas. A field that starts with '"' runs to the next lone '"' and may
// hold commas; "" inside it stands for one '"'. Nothing is trimmed: spaces are data. A line ending
// inside quotes, or text after a closing quote, gives nullopt.
std::optional<std::vector<std::string>> SplitCsvFields(std::string_view line);

}  // namespace varnel::tool
