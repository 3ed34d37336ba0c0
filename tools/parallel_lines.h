// Drawing a batch's lines on several threads, each with a library context of its own, while the
// calling thread hears of every line in line order.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "batch_lines.h"
#include "varnel32.h"

namespace varnel::tool {

struct LineWork {
  // On the calling thread, line after line in index order, while the first lines are being drawn,
  // when there is more than one thread to draw them:
  // the file the line writes, as a key that is equal for lines that may write the same file;
  // nullopt for a line that writes none.
  std::function<std::optional<std::string>(std::size_t line)> fileKey;
  // On a worker thread, with that thread's context.
  std::function<LineResult(VnContext* context, std::size_t line)> draw;
  // On the calling thread, line after line in index order, whatever order they finish in.
  std::function<void(std::size_t line, const LineResult& result)> report;
  // On the calling thread: how many lines are drawn so far, in any order.
  std::function<void(std::size_t linesDrawn)> progress;
};

// Draws lines 0 to lineCount - 1 on up to `jobs` threads, at least 1 (fewer when there are fewer
// lines, or when the system gives no more threads or contexts), and returns once each line has been
// reported. Lines with equal keys are drawn one after another in their order, each once the one
// before it is done, so the last of them writes the file last, as when one thread draws every line
// in turn. False, with nothing drawn, when not one thread could be started.
bool DrawLines(std::size_t lineCount, int jobs, const LineWork& work);

}  // namespace varnel::tool
