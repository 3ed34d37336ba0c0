#include "batch_mode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "batch_lines.h"
#include "exit_codes.h"
#include "message_text.h"
#include "parallel_lines.h"
#include "progress_bar.h"

namespace varnel::tool {
namespace {

int DefaultJobs() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// A line in flight: as read, then as drawn.
struct Slot {
  InputLine input;
  DrawnLine drawn;
};

}  // namespace

int RunBatch(const ToolOptions& options) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
  if (options.batchSource != "-") {
    errno = 0;
    file.reset(std::fopen(options.batchSource.c_str(), "rb"));
    if (!file) {
      Say("cannot read " + options.batchSource + ": " + std::strerror(errno));
      return kExitFailure;
    }
  }
  std::FILE* in = file ? file.get() : stdin;
  const bool watched = StandardErrorIsTerminal();
  ProgressBar progress(watched ? CountLines(in) : std::nullopt, watched);
  progress.Show(0);
  BatchReader reader(in);

  const int jobs = options.jobs.value_or(DefaultJobs());
  std::vector<Slot> slots(SlotsFor(jobs));
  int exitCode = kExitSuccess;
  const LineWork work{
      [&](std::size_t slot) { return reader.Next(slots[slot].input); },
      [&](VnContext* context, std::size_t slot) {
        slots[slot].drawn = DrawBatchLine(context, options, slots[slot].input);
      },
      [&](VnContext* context, std::size_t slot) {
        DrawnLine& line = slots[slot].drawn;
        const int number = line.number;
        const std::string where = "line " + std::to_string(number) + ": ", output = line.output;
        const LineResult result = WriteBatchLine(context, std::move(line));
        for (const std::string& warning : result.warnings) progress.Report(where + output + ": warning: " + warning);
        if (result.exitCode != kExitSuccess) progress.Report(where + result.message);
        exitCode = CombinedExitCode(exitCode, result.exitCode);
        progress.Show(number);
      },
  };
  if (!DrawLines(jobs, slots.size(), work)) {
    progress.Report("cannot start a thread to draw the batch");
    return kExitFailure;
  }
  return exitCode;
}

}  // namespace varnel::tool
