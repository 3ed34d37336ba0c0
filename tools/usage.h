// The tool's answers to --help, --version, --list and --list-samples.
#pragma once

#include <cstdio>

namespace varnel::tool {

void PrintHelp(std::FILE* out);
void PrintVersion(std::FILE* out);
// One symbology a line: number, name, description.
void PrintSymbologyList(std::FILE* out);
// One symbology a line, tab-separated for scripts: number, name, description, the gallery's sample
// data and the options it is drawn with (empty when none).
void PrintSymbologySamples(std::FILE* out);

}  // namespace varnel::tool
