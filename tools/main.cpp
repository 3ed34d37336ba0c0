// varnel: the Varnel32 library on the command line.
#include <cstdio>
#include <string_view>
#include <vector>

#include "barcode_writer.h"
#include "batch_mode.h"
#include "command_line.h"
#include "exit_codes.h"
#include "library_context.h"
#include "usage.h"

using namespace varnel::tool;

namespace {

int RenderOne(const ToolOptions& options) {
  const LibraryContext context = CreateLibraryContext();
  if (!context) {
    std::fputs("varnel: out of memory\n", stderr);
    return kExitFailure;
  }
  BarcodeOptions barcode = options.barcode;
  barcode.data = *options.data;
  const WriteResult result = WriteBarcode(context.get(), barcode, options.outputPath);
  if (result.outcome == WriteOutcome::kWritten) return kExitSuccess;
  std::fprintf(stderr, "varnel: %s\n", result.message.c_str());
  return result.outcome == WriteOutcome::kRefused ? kExitRefused : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "varnel: %s\nTry 'varnel --help'.\n", parsed.error.c_str());
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
