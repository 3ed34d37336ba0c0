// The tool's answers to --help, --version and --list.
#pragma once

#include <cstdio>

namespace varnel::tool {

void PrintHelp(std::FILE* out);
void PrintVersion(std::FILE* out);
// One symbology a line: number, name, description.
void PrintSymbologyList(std::FILE* out);

}  // namespace varnel::tool
