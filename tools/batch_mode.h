// Drawing many barcodes, one a line of a CSV file or of standard input.
#pragma once

#include "command_line.h"

namespace varnel::tool {

// Draws every line, going on past lines that fail, and returns the exit status of them all.
int RunBatch(const ToolOptions& options);

}  // namespace varnel::tool
