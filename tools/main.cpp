// varnel: the Varnel32 library on the command line.
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "barcode_writer.h"
#include "batch_mode.h"
#include "command_line.h"
#include "data_file.h"
#include "exit_codes.h"
#include "library_context.h"
#include "message_text.h"
#include "picture_output.h"
#include "usage.h"

using namespace varnel::tool;

namespace {

int Fail(const std::string& message) {
  Say(message);
  return kExitFailure;
}

// A binary picture on a terminal is noise that can leave it in a strange state.
bool RefusesTerminal(const ToolOptions& options) {
  return options.outputPath == kStandardOutput && options.format->binary && !options.force &&
         ::isatty(STDOUT_FILENO) != 0;
}

int RenderOne(const ToolOptions& options) {
  if (RefusesTerminal(options)) {
    return Fail("standard output is a terminal: redirect it, or add --force to write " +
                std::string(options.format->name) + " there");
  }
  BarcodeOptions barcode = options.barcode;
  if (options.dataFile) {
    DataFile file = ReadDataFile(*options.dataFile);
    if (!file.problem.empty()) return Fail(file.problem);
    barcode.data = std::move(file.data);
  } else {
    barcode.data = *options.data;
  }
  const LibraryContext context = CreateLibraryContext();
  if (!context) return Fail("out of memory");
  const WriteResult result = WriteDrawnBarcode(
      context.get(), options.outputPath, DrawBarcode(context.get(), barcode, options.outputPath, options.format));
  for (const std::string& warning : result.warnings) Say("warning: " + warning);
  if (result.outcome == WriteOutcome::kWritten) return kExitSuccess;
  Say(result.message);
  return result.outcome == WriteOutcome::kRefused ? kExitRefused : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A write past the file size limit then fails as a full disk does, and the save says so, rather
  // than the signal ending the tool part-way.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.options) {
    Say(parsed.error);
    std::fputs("Try 'varnel --help'.\n", stderr);
    return kExitFailure;
  }
  const ToolOptions& options = *parsed.options;
  switch (options.task) {
    case Task::kHelp: PrintHelp(stdout); return kExitSuccess;
    case Task::kVersion: PrintVersion(stdout); return kExitSuccess;
    case Task::kList: PrintSymbologyList(stdout); return kExitSuccess;
    case Task::kListSamples: PrintSymbologySamples(stdout); return kExitSuccess;
    case Task::kRender: return RenderOne(options);
    case Task::kBatch: return RunBatch(options);
  }
  return kExitFailure;
}
