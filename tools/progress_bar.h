// A one-line progress bar on standard error, drawn only when a person is watching it.
#pragma once

#include <cstdio>
#include <string_view>

namespace varnel::tool {

// True when standard error is a terminal; a log file or a pipe gets no bar.
bool StandardErrorIsTerminal();

class ProgressBar {
 public:
  // A bar that is not `visible` draws nothing, but messages still go to standard error.
  ProgressBar(int total, bool visible);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Show(int done);
  // A message on a line of its own, with the bar drawn again below it.
  void Report(std::string_view message);

 private:
  void Erase();

  int total_;
  int done_ = 0;
  bool visible_;
  bool drawn_ = false;
};

}  // namespace varnel::tool
