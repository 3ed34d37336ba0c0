// Drawing a batch's lines on several threads, each with a library context of its own, while the
// calling thread hears of every line in line order.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "batch_lines.h"
#include "varnel32.h"

namespace varnel::tool {

// Line indices, each in exactly one chain. One thread draws a chain from first to last, so lines
// that write one file must share a chain, in their order: the last of them then writes the file
// last, as when one thread draws every line in turn.
using LineChains = std::vector<std::vector<std::size_t>>;

struct LineWork {
  // On a worker thread, with that thread's context.
  std::function<LineResult(VnContext* context, std::size_t line)> draw;
  // On the calling thread, line after line in index order, whatever order they finish in.
  std::function<void(std::size_t line, const LineResult& result)> report;
  // On the calling thread: how many lines are drawn so far, in any order.
  std::function<void(std::size_t linesDrawn)> progress;
};

// Draws every line of the chains on up to `jobs` threads, at least 1 (fewer when there are fewer
// chains, or when the system gives no more threads or contexts), and returns once each line has been
// reported. False, with nothing drawn, when not one thread could be started.
bool DrawLines(const LineChains& chains, int jobs, const LineWork& work);

}  // namespace varnel::tool
