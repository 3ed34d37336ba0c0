#include "parallel_lines.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "library_context.h"

namespace varnel::tool {
namespace {

// Where each line is, by the count of lines that have reached each stage; line n is in slot
// n % slots from its reading until it is finished. Each stage waits on a condition of its own and
// takes every line that is ready for it at once, so that a line costs no wake-up of a thread that
// has nothing to do, and a thread that wakes does all there is: on two cores, wake-ups rather than
// drawing were what a line cost.
class LineStages {
 public:
  LineStages(std::size_t slots, std::size_t workers) : drawn_(slots, false), workers_(std::max<std::size_t>(1, workers)) {}

  void Read(const LineWork& work) {
    for (std::size_t line = 0;; ++line) {
      {
        std::unique_lock lock(mutex_);
        roomFreed_.wait(lock, [&] { return line - finished_ < drawn_.size() || ended_; });
        if (ended_) return;
      }
      if (!work.read(line % drawn_.size())) break;
      {
        const std::lock_guard lock(mutex_);
        ++read_;
      }
      lineRead_.notify_one();
    }
    EndInput();
  }

  void Draw(const std::vector<LibraryContext>& contexts, const LineWork& work) {
    for (;;) {
      std::size_t first = 0, end = 0;
      bool more = false;
      {
        std::unique_lock lock(mutex_);
        lineRead_.wait(lock, [&] { return claimed_ < read_ || ended_; });
        if (claimed_ == read_) return;
        // A share of what is waiting, so that the other workers find lines too.
        first = claimed_;
        end = claimed_ += std::max<std::size_t>(1, (read_ - claimed_) / workers_);
        more = end < read_;
      }
      if (more) lineRead_.notify_one();
      for (std::size_t line = first; line < end; ++line) {
        const std::size_t slot = line % drawn_.size();
        work.draw(contexts[slot].get(), slot);
        {
          const std::lock_guard lock(mutex_);
          drawn_[slot] = true;
        }
        if (line == finishing_) lineDrawn_.notify_one();
      }
    }
  }

  void Finish(const std::vector<LibraryContext>& contexts, const LineWork& work) {
    for (std::size_t line = 0;; ++line) {
      const std::size_t slot = line % drawn_.size();
      {
        std::unique_lock lock(mutex_);
        finishing_ = line;
        lineDrawn_.wait(lock, [&] { return drawn_[slot] || (ended_ && line == read_); });
        if (!drawn_[slot]) return;
      }
      work.finish(contexts[slot].get(), slot);
      {
        const std::lock_guard lock(mutex_);
        drawn_[slot] = false;
        ++finished_;
      }
      roomFreed_.notify_one();
    }
  }

  // No more lines come: the workers end once they have drawn those read.
  void EndInput() {
    {
      const std::lock_guard lock(mutex_);
      ended_ = true;
    }
    roomFreed_.notify_all();
    lineRead_.notify_all();
    lineDrawn_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable roomFreed_, lineRead_, lineDrawn_;
  std::vector<bool> drawn_;  // by slot: its line is drawn and waits to be finished
  std::size_t read_ = 0, claimed_ = 0, finished_ = 0;
  std::atomic<std::size_t> finishing_ = 0;  // the line the calling thread waits for, or finishes
  const std::size_t workers_;
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
  const std::size_t wanted = std::min(static_cast<std::size_t>(jobs), contexts.size());
  LineStages stages(contexts.size(), wanted);
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
    while (workers.size() < wanted) {
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
