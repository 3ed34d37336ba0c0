// Saving the picture a context holds: rendered into memory by the library, then written into a
// file or onto standard output, with the system's reason when that fails.
#pragma once

#include <string>

#include "output_formats.h"
#include "value_parsers.h"
#include "varnel32.h"

namespace varnel::tool {

// The output path that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Empty when the picture of `size` pixels was written; else the message for the user. A file is
// written as `cp` writes one: created, or emptied and written again in place, so that a file kept
// keeps its permissions, owner and links; a path that leads to anything but a file is refused.
std::string SavePicture(VnContext* context, const std::string& path, const OutputFormat& format, Pair size);

}  // namespace varnel::tool
