#include "parallel_lines.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "library_context.h"

namespace varnel::tool {
namespace {

// Where the workers leave each line's result for the calling thread. That thread looks in a few
// times a second rather than being woken for every line, which would take a core from the workers
// for nothing; it is woken only once the last line is drawn.
class ResultBoard {
 public:
  explicit ResultBoard(std::size_t lineCount) : results_(lineCount) {}

  void Post(std::size_t line, LineResult result) {
    bool last = false;
    {
      const std::lock_guard lock(mutex_);
      results_[line] = std::move(result);
      last = ++drawn_ == results_.size();
    }
    if (last) allDrawn_.notify_one();
  }

  struct Arrivals {
    std::vector<LineResult> inOrder;  // from the line asked for, up to the first line not yet drawn
    std::size_t drawn;
  };

  // What has arrived from `line` on, once every line is drawn or the next look is due.
  Arrivals Collect(std::size_t line) {
    constexpr std::chrono::milliseconds kBetweenLooks{100};
    std::unique_lock lock(mutex_);
    allDrawn_.wait_for(lock, kBetweenLooks, [&] { return drawn_ == results_.size(); });
    Arrivals arrivals{{}, drawn_};
    for (; line < results_.size() && results_[line]; ++line) arrivals.inOrder.push_back(*std::move(results_[line]));
    return arrivals;
  }

 private:
  std::mutex mutex_;
  std::condition_variable allDrawn_;
  std::vector<std::optional<LineResult>> results_;
  std::size_t drawn_ = 0;
};

std::size_t LineCount(const LineChains& chains) {
  std::size_t count = 0;
  for (const std::vector<std::size_t>& chain : chains) count += chain.size();
  return count;
}

// A worker takes the next chain nobody has taken until none is left, so a thread that drew short
// lines takes on more of them.
void DrawChains(VnContext* context, const LineChains& chains, std::atomic<std::size_t>& nextChain,
                ResultBoard& board, const LineWork& work) {
  for (std::size_t chain; (chain = nextChain.fetch_add(1)) < chains.size();) {
    for (const std::size_t line : chains[chain]) board.Post(line, work.draw(context, line));
  }
}

void ReportInOrder(ResultBoard& board, std::size_t lineCount, const LineWork& work) {
  for (std::size_t next = 0; next < lineCount;) {
    const ResultBoard::Arrivals arrivals = board.Collect(next);
    for (const LineResult& result : arrivals.inOrder) work.report(next++, result);
    work.progress(arrivals.drawn);
  }
}

}  // namespace

bool DrawLines(const LineChains& chains, int jobs, const LineWork& work) {
  const std::size_t lineCount = LineCount(chains);
  ResultBoard board(lineCount);
  std::atomic<std::size_t> nextChain{0};
  const std::size_t wanted = std::min(static_cast<std::size_t>(jobs), chains.size());
  // The workers are declared after their contexts, so that they are joined before the contexts go.
  std::vector<LibraryContext> contexts;
  std::vector<std::jthread> workers;
  while (workers.size() < wanted) {
    LibraryContext context = CreateLibraryContext();
    if (!context) break;
    contexts.push_back(std::move(context));
    try {
      workers.emplace_back(DrawChains, contexts.back().get(), std::cref(chains), std::ref(nextChain),
                           std::ref(board), std::cref(work));
    } catch (const std::system_error&) {
      contexts.pop_back();
      break;
    }
  }
  if (workers.empty() && lineCount > 0) return false;
  ReportInOrder(board, lineCount, work);
  return true;
}

}  // namespace varnel::tool
