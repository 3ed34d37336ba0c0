// Where a batch's workers leave each line's result for the calling thread, which reports them in
// line order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "batch_lines.h"

namespace varnel::tool {

// The calling thread looks in a few times a second rather than being woken for every line, which
// would take a core from the workers for nothing; it is woken only once the last line is drawn.
class ResultBoard {
 public:
  explicit ResultBoard(std::size_t lineCount);

  // From a worker, once the line is drawn.
  void Post(std::size_t line, LineResult result);

  struct Arrivals {
    std::vector<LineResult> inOrder;  // from the line asked for, up to the first line not yet drawn
    std::size_t drawn;
  };

  // What has arrived from `line` on, once every line is drawn or the next look is due.
  Arrivals Collect(std::size_t line);

 private:
  std::mutex mutex_;
  std::condition_variable allDrawn_;
  std::vector<std::optional<LineResult>> results_;
  std::size_t drawn_ = 0;
};

}  // namespace varnel::tool
