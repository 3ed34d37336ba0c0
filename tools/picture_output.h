// Saving the picture a context holds: drawn into memory by the library, then written into a file by
// the library's own save or onto standard output, with the system's reason when that fails.
#pragma once

#include <string>

#include "output_formats.h"
#include "value_parsers.h"
#include "varnel32.h"

namespace varnel::tool {

// The output path that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Draws the picture of `size` pixels in the format into the context, which keeps it for
// WritePicture. Empty when it is drawn; else the message for the user.
std::string DrawPicture(VnContext* context, const std::string& path, const OutputFormat& format, Pair size);

// Writes the picture DrawPicture drew, with no setter called on the context since, onto standard
// output or into the file: the library's save puts a complete new file in place of an old one,
// which keeps its owner, permissions and extended attributes, and a failure leaves the old file as
// it was. Empty when written; else the message for the user.
std::string WritePicture(VnContext* context, const std::string& path, const OutputFormat& format);

}  // namespace varnel::tool
