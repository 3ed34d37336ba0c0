// The picture formats the library writes: chosen by --format or by the output file's extension.
#pragma once

#include <span>
#include <string_view>

#include "varnel32.h"

namespace varnel::tool {

struct OutputFormat {
  std::string_view name;       // as --format takes it, lower case
  std::string_view extension;  // with its dot, lower case
  int memoryFormat;            // VnRenderToMemory's number for it
  bool binary;                 // no text for a terminal
  bool transparency;           // can leave the background unpainted
  int largestSide;             // the most pixels a side may have; 0 when the format sets no limit
};

std::span<const OutputFormat> AllOutputFormats();

// The format of that name, in any case; nullptr for a name we do not write.
const OutputFormat* FormatNamed(std::string_view name);

// The format whose extension ends the path, in any case; nullptr for an extension we do not write.
const OutputFormat* FormatForPath(std::string_view path);

}  // namespace varnel::tool
