// A one-line progress bar on standard error, drawn only when a person is watching it.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>

namespace varnel::tool {

// True when standard error is a terminal; a log file or a pipe gets no bar.
bool StandardErrorIsTerminal();

class ProgressBar {
 public:
  // A bar that is not `visible` draws nothing, but messages still go to standard error. Without a
  // total, as for input from a pipe, it counts lines alone.
  ProgressBar(std::optional<int> total, bool visible);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Lines up to `done` are finished; drawn a few times a second at most, and at the end.
  void Show(int done);
  // "varnel: MESSAGE", escaped as every message is, on a line of its own, with the bar drawn again
  // below it.
  void Report(std::string_view message);

 private:
  void Draw();
  void Erase();

  std::optional<int> total_;
  int done_ = 0;
  bool visible_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace varnel::tool
