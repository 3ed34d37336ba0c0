#include "result_board.h"

#include <chrono>
#include <utility>

namespace varnel::tool {

ResultBoard::ResultBoard(std::size_t lineCount) : results_(lineCount) {}

void ResultBoard::Post(std::size_t line, LineResult result) {
  bool last = false;
  {
    const std::lock_guard lock(mutex_);
    results_[line] = std::move(result);
    last = ++drawn_ == results_.size();
  }
  if (last) allDrawn_.notify_one();
}

ResultBoard::Arrivals ResultBoard::Collect(std::size_t line) {
  constexpr std::chrono::milliseconds kBetweenLooks{100};
  std::unique_lock lock(mutex_);
  allDrawn_.wait_for(lock, kBetweenLooks, [&] { return drawn_ == results_.size(); });
  Arrivals arrivals{{}, drawn_};
  for (; line < results_.size() && results_[line]; ++line) arrivals.inOrder.push_back(*std::move(results_[line]));
  return arrivals;
}

}  // namespace varnel::tool
