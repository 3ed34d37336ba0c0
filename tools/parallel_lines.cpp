#include "parallel_lines.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "library_context.h"
#include "line_queue.h"
#include "result_board.h"

namespace varnel::tool {
namespace {

void DrawRuns(VnContext* context, LineQueue& queue, ResultBoard& board, const LineWork& work) {
  while (const std::unique_ptr<Run> run = queue.Take()) {
    while (const std::optional<std::size_t> line = queue.Next(*run)) board.Post(*line, work.draw(context, *line));
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

bool DrawLines(std::size_t lineCount, int jobs, const LineWork& work) {
  LineQueue queue;
  ResultBoard board(lineCount);
  const std::size_t wanted = std::min(static_cast<std::size_t>(jobs), lineCount);
  // The workers are declared after their contexts, so that they are joined before the contexts go.
  std::vector<LibraryContext> contexts;
  std::vector<std::jthread> workers;
  while (workers.size() < wanted) {
    LibraryContext context = CreateLibraryContext();
    if (!context) break;
    contexts.push_back(std::move(context));
    try {
      workers.emplace_back(DrawRuns, contexts.back().get(), std::ref(queue), std::ref(board), std::cref(work));
    } catch (const std::system_error&) {
      contexts.pop_back();
      break;
    }
  }
  // Closed on the way out too, should a key or a report throw, so that the workers stop waiting for
  // lines and can be joined.
  struct CloseOnExit {
    LineQueue& lines;
    ~CloseOnExit() { lines.Close(); }
  } closeOnExit{queue};
  if (workers.empty() && lineCount > 0) return false;
  // One thread draws every line in turn, in order, so no two lines can race for a file: the keys,
  // each a look at the file system, are needed only where there are several.
  const bool oneThread = workers.size() == 1;
  for (std::size_t line = 0; line < lineCount; ++line) {
    queue.Add(line, oneThread ? std::nullopt : work.fileKey(line));
  }
  queue.Close();
  ReportInOrder(board, lineCount, work);
  return true;
}

}  // namespace varnel::tool
