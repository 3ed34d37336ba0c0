#include "parallel_lines.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "library_context.h"

namespace varnel::tool {
namespace {

// Where each line is, by the count of lines that have reached each stage; line n is in slot
// n % slots from its reading until it is finished.
class LineStages {
 public:
  explicit LineStages(std::size_t slots) : drawn_(slots, false) {}

  void Read(const LineWork& work) {
    for (std::size_t line = 0;; ++line) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return line - finished_ < drawn_.size() || ended_; });
        if (ended_) return;
      }
      if (!work.read(line % drawn_.size())) break;
      Advance([&] { ++read_; });
    }
    EndInput();
  }

  void Draw(const std::vector<LibraryContext>& contexts, const LineWork& work) {
    for (;;) {
      std::size_t line = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return claimed_ < read_ || ended_; });
        if (claimed_ == read_) return;
        line = claimed_++;
      }
      const std::size_t slot = line % drawn_.size();
      work.draw(contexts[slot].get(), slot);
      Advance([&] { drawn_[slot] = true; });
    }
  }

  void Finish(const std::vector<LibraryContext>& contexts, const LineWork& work) {
    for (std::size_t line = 0;; ++line) {
      const std::size_t slot = line % drawn_.size();
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return drawn_[slot] || (ended_ && line == read_); });
        if (!drawn_[slot]) return;
      }
      work.finish(contexts[slot].get(), slot);
      Advance([&] {
        drawn_[slot] = false;
        ++finished_;
      });
    }
  }

  // No more lines come: the workers end once they have drawn those read.
  void EndInput() {
    Advance([&] { ended_ = true; });
  }

 private:
  template <typename Change>
  void Advance(Change change) {
    {
      const std::lock_guard lock(mutex_);
      change();
    }
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<bool> drawn_;  // by slot: its line is drawn and waits to be finished
  std::size_t read_ = 0, claimed_ = 0, finished_ = 0;
  bool ended_ = false;
};

}  // namespace

std::size_t SlotsFor(int jobs) { return jobs <= 1 ? 1 : 2 * static_cast<std::size_t>(jobs) + 2; }

bool DrawLines(int jobs, std::size_t slots, const LineWork& work) {
  std::vector<LibraryContext> contexts;
  while (contexts.size() < slots) {
    LibraryContext context = CreateLibraryContext();
    if (!context) break;
    contexts.push_back(std::move(context));
  }
  if (contexts.empty()) return false;
  // One job draws each line on the calling thread as soon as it is read: there is no one to hand a
  // line to, and a line still waits for no more than itself.
  if (jobs <= 1) {
    while (work.read(0)) {
      work.draw(contexts[0].get(), 0);
      work.finish(contexts[0].get(), 0);
    }
    return true;
  }
  LineStages stages(contexts.size());
  // The threads are declared after the contexts, so that they are joined before the contexts go,
  // and the input is ended before they are joined, on every way out, so that threads waiting for
  // lines or for room end.
  std::vector<std::jthread> workers;
  std::jthread reader;
  struct EndOnExit {
    LineStages& stages;
    ~EndOnExit() { stages.EndInput(); }
  } endOnExit{stages};
  try {
    while (workers.size() < std::min(static_cast<std::size_t>(std::max(jobs, 1)), contexts.size())) {
      workers.emplace_back([&] { stages.Draw(contexts, work); });
    }
  } catch (const std::system_error&) {
    if (workers.empty()) return false;
  }
  try {
    reader = std::jthread([&] { stages.Read(work); });
  } catch (const std::system_error&) {
    return false;
  }
  stages.Finish(contexts, work);
  return true;
}

}  // namespace varnel::tool
