// The picture formats the library writes, chosen by the output file's extension.
#pragma once

#include <span>
#include <string_view>

#include "varnel32.h"

namespace varnel::tool {

struct OutputFormat {
  std::string_view extension;  // with its dot, lower case
  VnBool(VN_CALL* save)(VnContext* context, const char* path);
};

std::span<const OutputFormat> AllOutputFormats();

// The format whose extension ends the path, in any case; nullptr for an extension we do not write.
const OutputFormat* FormatForPath(std::string_view path);

}  // namespace varnel::tool
