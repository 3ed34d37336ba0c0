#include "batch_mode.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "batch_lines.h"
#include "exit_codes.h"
#include "output_file_key.h"
#include "parallel_lines.h"
#include "progress_bar.h"

namespace varnel::tool {
namespace {

// Lines that may write one file share a chain, in their order; a line that writes nothing has one
// of its own. The chains come in the order of their first lines, so that lines are drawn roughly in
// the order they are reported.
LineChains SameFileChains(const std::vector<BatchLine>& lines) {
  LineChains chains;
  std::unordered_map<std::string, std::size_t> chainOfFile;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    if (lines[line].unusable) {
      chains.push_back({line});
      continue;
    }
    const auto [entry, first] = chainOfFile.try_emplace(OutputFileKey(lines[line].output), chains.size());
    if (first) chains.emplace_back();
    chains[entry->second].push_back(line);
  }
  return chains;
}

int DefaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

}  // namespace

int RunBatch(const ToolOptions& options) {
  std::vector<BatchLine> lines;
  if (options.batchSource == "-") {
    lines = ReadBatchLines(std::cin);
  } else {
    std::ifstream file(options.batchSource);
    if (!file) {
      std::cerr << "varnel: cannot read " << options.batchSource << "\n";
      return kExitFailure;
    }
    lines = ReadBatchLines(file);
  }

  int exitCode = kExitSuccess;
  ProgressBar progress(static_cast<int>(lines.size()), StandardErrorIsTerminal());
  progress.Show(0);
  const LineWork work{
      [&](VnContext* context, std::size_t line) { return DrawBatchLine(context, options.barcode, lines[line]); },
      [&](std::size_t line, const LineResult& result) {
        if (result.exitCode != kExitSuccess) {
          progress.Report("varnel: line " + std::to_string(lines[line].number) + ": " + result.message);
        }
        exitCode = CombinedExitCode(exitCode, result.exitCode);
      },
      [&](std::size_t linesDrawn) { progress.Show(static_cast<int>(linesDrawn)); },
  };
  if (!DrawLines(SameFileChains(lines), options.jobs.value_or(DefaultJobs()), work)) {
    progress.Report("varnel: cannot start a thread to draw the batch");
    return kExitFailure;
  }
  return exitCode;
}

}  // namespace varnel::tool
