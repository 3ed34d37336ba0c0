#include "line_queue.h"

#include <utility>

namespace varnel::tool {

void LineQueue::Add(std::size_t line, std::optional<std::string> fileKey) {
  {
    const std::lock_guard lock(mutex_);
    if (fileKey) {
      if (const auto found = runOfFile_.find(*fileKey); found != runOfFile_.end()) {
        found->second->lines.push_back(line);
        return;
      }
    }
    auto run = std::make_unique<Run>(Run{std::move(fileKey), {line}});
    if (run->fileKey) runOfFile_.emplace(*run->fileKey, run.get());
    waiting_.push_back(std::move(run));
  }
  changed_.notify_one();
}

void LineQueue::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

std::unique_ptr<Run> LineQueue::Take() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !waiting_.empty() || closed_; });
  if (waiting_.empty()) return nullptr;
  std::unique_ptr<Run> run = std::move(waiting_.front());
  waiting_.pop_front();
  return run;
}

std::optional<std::size_t> LineQueue::Next(Run& run) {
  const std::lock_guard lock(mutex_);
  if (run.next < run.lines.size()) return run.lines[run.next++];
  if (run.fileKey) runOfFile_.erase(*run.fileKey);
  return std::nullopt;
}

}  // namespace varnel::tool
