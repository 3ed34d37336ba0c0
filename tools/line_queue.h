// The lines a batch hands from the calling thread to its workers, kept in order for each file.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace varnel::tool {

// Lines that one worker draws in their order: those of one file, for as long as any of them is
// waiting to be drawn.
struct Run {
  std::optional<std::string> fileKey;
  std::vector<std::size_t> lines;
  std::size_t next = 0;
};

// A line joins the run of its file while that run has a line left to draw; otherwise it starts a run
// of its own, which any worker may take. A run ends only once its last line is drawn, so a line that
// starts a new run for a file comes after every earlier line of that file has written it.
class LineQueue {
 public:
  // From the calling thread, in line order; a line without a key writes no file.
  void Add(std::size_t line, std::optional<std::string> fileKey);
  // Every line is added.
  void Close();
  // A run for a worker to draw; null once there is none and none will come.
  std::unique_ptr<Run> Take();
  // The run's next line, asked for once the line before it is drawn; nullopt ends the run.
  std::optional<std::size_t> Next(Run& run);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Run>> waiting_;
  std::unordered_map<std::string, Run*> runOfFile_;  // the runs with lines left, waiting or taken
  bool closed_ = false;
};

}  // namespace varnel::tool
