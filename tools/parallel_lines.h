// Drawing a batch's lines on several threads while its input is still being read. Each line in
// flight has a slot, with a library context of its own: a reader thread reads the line into a free
// slot, a worker draws it into the slot's context, and the calling thread writes and reports it,
// line after line in their order, then frees the slot. The memory a batch takes is that of its
// slots, however long its input.
#pragma once

#include <cstddef>
#include <functional>

#include "varnel32.h"

namespace varnel::tool {

struct LineWork {
  // On the reader thread: reads the next line into the slot; false at the end of the input.
  std::function<bool(std::size_t slot)> read;
  // On a worker thread: draws the slot's line into the slot's context.
  std::function<void(VnContext* context, std::size_t slot)> draw;
  // On the calling thread, line after line in their order: writes the slot's line from its context
  // and reports it.
  std::function<void(VnContext* context, std::size_t slot)> finish;
};

// The slots a batch of `jobs` workers takes: enough that the workers need not wait for the reader
// or the writer. One job needs one slot, and is drawn on the calling thread.
std::size_t SlotsFor(int jobs);

// Draws every line the reader gives, with up to `slots` lines in flight (fewer when the system
// gives fewer contexts) and up to `jobs` workers, at least one, and returns once each line has been
// finished. False, with nothing read, when not a context or not a thread could be had.
bool DrawLines(int jobs, std::size_t slots, const LineWork& work);

}  // namespace varnel::tool
