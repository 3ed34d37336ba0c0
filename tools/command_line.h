// What the command line asks for, read from its arguments.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "barcode_options.h"
#include "file_name_pattern.h"
#include "output_formats.h"

namespace varnel::tool {

enum class Task { kRender, kBatch, kList, kListSamples, kHelp, kVersion };

struct ToolOptions {
  Task task = Task::kRender;  // kBatch once --batch names a source
  BarcodeOptions barcode;  // for the batch, what every line starts from
  std::optional<std::string> data;
  std::optional<std::string> dataFile;  // where the data is read from; "-" for standard input
  int dataSources = 0;                  // how many of DATA, --data and --data-file were given
  std::string outputPath;               // "-" for standard output
  const OutputFormat* format = nullptr;  // instead of the one the output's extension names; PNG for "-"
  bool force = false;                   // a binary picture may go to a terminal
  std::string batchSource;  // a file, or "-" for standard input
  std::optional<int> jobs;  // how many batch lines are drawn at once; unset, one a core
  std::optional<FileNamePattern> fileNames;  // batch lines are data alone, their files named so
};

struct OptionSpec {
  std::string_view longName;
  char shortName;              // '\0' when there is none
  std::string_view valueName;  // empty for a switch
  std::string_view help;
  // Stores the value; false when the value is not one of those `help` describes.
  bool (*apply)(ToolOptions& options, std::string_view value);
};

// Every option, in the order --help lists them.
std::span<const OptionSpec> AllOptions();

struct ParsedCommandLine {
  std::optional<ToolOptions> options;
  std::string error;  // when options is empty
};

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments);

}  // namespace varnel::tool
