#include "batch_mode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batch_lines.h"
#include "exit_codes.h"
#include "output_file_key.h"
#include "parallel_lines.h"
#include "progress_bar.h"

namespace varnel::tool {
namespace {

int DefaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

}  // namespace

int RunBatch(const ToolOptions& options) {
  std::vector<BatchLine> lines;
  if (options.batchSource == "-") {
    lines = ReadBatchLines(stdin);
  } else {
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(options.batchSource.c_str(), "r"), std::fclose);
    if (!file) {
      std::fprintf(stderr, "varnel: cannot read %s: %s\n", options.batchSource.c_str(), std::strerror(errno));
      return kExitFailure;
    }
    lines = ReadBatchLines(file.get());
  }

  int exitCode = kExitSuccess;
  OutputFileKeys keys;
  ProgressBar progress(static_cast<int>(lines.size()), StandardErrorIsTerminal());
  progress.Show(0);
  const LineWork work{
      [&](std::size_t line) -> std::optional<std::string> {
        if (lines[line].unusable) return std::nullopt;
        return keys.KeyOf(lines[line].output);
      },
      [&](VnContext* context, std::size_t line) {
        return DrawBatchLine(context, options.barcode, options.format, lines[line]);
      },
      [&](std::size_t line, const LineResult& result) {
        const std::string where = "varnel: line " + std::to_string(lines[line].number) + ": ";
        for (const std::string& warning : result.warnings) {
          progress.Report(where + lines[line].output + ": warning: " + warning);
        }
        if (result.exitCode != kExitSuccess) progress.Report(where + result.message);
        exitCode = CombinedExitCode(exitCode, result.exitCode);
      },
      [&](std::size_t linesDrawn) { progress.Show(static_cast<int>(linesDrawn)); },
  };
  if (!DrawLines(lines.size(), options.jobs.value_or(DefaultJobs()), work)) {
    progress.Report("varnel: cannot start a thread to draw the batch");
    return kExitFailure;
  }
  return exitCode;
}

}  // namespace varnel::tool
