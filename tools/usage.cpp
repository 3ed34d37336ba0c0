#include "usage.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "command_line.h"
#include "symbologies/catalogue.h"

namespace varnel::tool {
namespace {

constexpr const char* kSynopsis =
    "Usage: varnel [OPTIONS] -o FILE DATA\n"
    "       varnel [OPTIONS] -o FILE --data-file FILE\n"
    "       varnel [OPTIONS] --batch FILE\n"
    "       varnel --list | --list-samples | --help | --version\n"
    "\n"
    "Draws a one-dimensional barcode with the Varnel32 library. Without --size the picture is\n"
    "the symbol, the quiet zones its symbology asks for, and its text.\n"
    "\n"
    "Options:\n";

constexpr const char* kDetails =
    "\n"
    "Data is UTF-8 text, drawn as the bytes readers decode, ISO-8859-1 (code39-ascii: ASCII);\n"
    "--raw passes bytes as they are. Empty data is refused. EAN-13, JAN-13, EAN-8, JAN-8 and\n"
    "UPC-A numbers may end in their check digit, an ISBN may be its 13-digit 978 number, and\n"
    "UPC-E may be the 6, 7 or 8 digits printed under it. SSCC-18 takes 17 digits and AI 01 13,\n"
    "adding the check digit, or 18 and 14 ending in it.\n"
    "\n"
    "Batch mode reads one barcode a line: DATA,OUTPUT[,SYMBOLOGY[,ADDON]]. A field in double\n"
    "quotes may hold commas, and \"\" in it stands for one quote; empty lines are skipped. Every\n"
    "line starts from the options of the command line; its SYMBOLOGY, when given, replaces\n"
    "--symbology, and its ADDON --addon (an empty one leaves the add-on out). With --name\n"
    "PATTERN every line is DATA alone, commas and quotes included, and its file is PATTERN with\n"
    "the line's number: label-%05d.png as printf pads it, or label~~~~~.png as zint does.\n"
    "Lines are drawn as they are read, so a pipe can feed a batch as a queue; a line of more\n"
    "than 65536 bytes is passed over. A progress bar is shown on standard error when it is a\n"
    "terminal. With --jobs, lines are drawn on several threads, but the files and messages are\n"
    "those of --jobs 1: messages come in line order, and the files are written in line order,\n"
    "so the last line that names a file writes it.\n"
    "\n"
    "Exit status: 0 when every barcode was written (warnings, say of a picture too small for\n"
    "its symbol, do not change it); 2 when data was refused (the message says what the\n"
    "symbology takes, and that output is left as it was); 1 for any other failure, such as a\n"
    "bad option or a file that cannot be written. In batch mode the other lines are still\n"
    "drawn, and 1 wins over 2.\n";

// The classic GS1 symbologies take digits only and check no AI; GS1 data as people have it, its AIs
// in brackets, is GS1-128's.
constexpr Symbology kClassicGs1[] = {kUccEan128, kSscc18, kUccEan128Ai01};
constexpr const char* kGs1Pointer = " (other GS1 data: gs1-128)";

bool IsClassicGs1(int symbology) {
  return std::find(std::begin(kClassicGs1), std::end(kClassicGs1), symbology) != std::end(kClassicGs1);
}

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
    std::fprintf(out, "%2d  %-12.*s  %.*s%s\n", row.number, static_cast<int>(row.name.size()), row.name.data(),
                 static_cast<int>(row.title.size()), row.title.data(), IsClassicGs1(row.number) ? kGs1Pointer : "");
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
