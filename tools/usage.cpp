#include "usage.h"

#include <algorithm>
#include <string>

#include "command_line.h"
#include "symbologies/catalogue.h"

namespace varnel::tool {
namespace {

constexpr const char* kSynopsis =
    "Usage: varnel [OPTIONS] -o FILE DATA\n"
    "       varnel [OPTIONS] --batch FILE\n"
    "       varnel --list | --help | --version\n"
    "\n"
    "Draws a one-dimensional barcode with the Varnel32 library.\n"
    "\n"
    "Options:\n";

constexpr const char* kDetails =
    "\n"
    "Batch mode reads one barcode a line: DATA,OUTPUT[,SYMBOLOGY]. A field in double quotes may\n"
    "hold commas, and \"\" in it stands for one quote; empty lines are skipped. Every line starts\n"
    "from the options of the command line; its SYMBOLOGY, when given, replaces --symbology. A\n"
    "progress bar is shown on standard error when it is a terminal. With --jobs, lines are drawn\n"
    "on several threads, but the files and messages are those of --jobs 1: messages come in line\n"
    "order, and lines that write the same file write it in their order.\n"
    "\n"
    "Exit status: 0 when every barcode was written; 2 when data was refused (the library's\n"
    "message is on standard error and that file is left as it was); 1 for any other failure,\n"
    "such as a bad option or a file that cannot be written. In batch mode the other lines are\n"
    "still drawn, and 1 wins over 2.\n";

// Built up by appending: GCC 12 at -O3 warns, wrongly, of overlapping copies in `"-" + std::string`.
std::string OptionLabel(const OptionSpec& option) {
  std::string label = option.shortName != '\0' ? std::string{'-', option.shortName, ',', ' '} : "    ";
  label += "--";
  label += option.longName;
  if (!option.valueName.empty()) {
    label += ' ';
    label += option.valueName;
  }
  return label;
}

}  // namespace

void PrintHelp(std::FILE* out) {
  std::fputs(kSynopsis, out);
  std::size_t labelWidth = 0;
  for (const OptionSpec& option : AllOptions()) labelWidth = std::max(labelWidth, OptionLabel(option).size());
  for (const OptionSpec& option : AllOptions()) {
    std::fprintf(out, "  %-*s  %.*s\n", static_cast<int>(labelWidth), OptionLabel(option).c_str(),
                 static_cast<int>(option.help.size()), option.help.data());
  }
  std::fputs(kDetails, out);
}

void PrintVersion(std::FILE* out) { std::fprintf(out, "varnel %s\n", VARNEL_VERSION); }

void PrintSymbologyList(std::FILE* out) {
  for (const SymbologyRow& row : kSymbologies) {
    std::fprintf(out, "%2d  %-12.*s  %.*s\n", row.number, static_cast<int>(row.name.size()), row.name.data(),
                 static_cast<int>(row.title.size()), row.title.data());
  }
}

void PrintSymbologySamples(std::FILE* out) {
  for (const SymbologyRow& row : kSymbologies) {
    std::string line = std::to_string(row.number);
    for (const std::string_view field : {row.name, row.title, row.sample, row.sampleOptions}) {
      line += '\t';
      line += field;
    }
    line += '\n';
    std::fputs(line.c_str(), out);
  }
}

}  // namespace varnel::tool
