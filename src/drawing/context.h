// One engine: what a host chose, the working record of a render, and the recording the render
// draws into. Everything a render changes lives here, so renders on different contexts may run on
// different threads at once; the classic exports share the process's default context.
#pragma once

#include "base/settings.h"
#include "drawing/element_lengths.h"
#include "drawing/render_state.h"
#include "drawing/surface.h"

namespace varnel {

struct Context {
  SymbolSettings settings{};
  RenderState state{};
  // Kept from render to render, so that its lists keep their memory and a render allocates nothing
  // but the picture it is encoded into.
  Surface recording{0, 0};
  ElementLengths elementLengths{0, 0};  // at the last render's widths
  // The validation message of the last render, or "" when it drew its data (and before any
  // render). Most messages are constant texts, so keeping the pointer keeps the text; one that
  // names what is wrong with the data is composed into refusalText, which keeps it until the next
  // render's validation.
  const char* lastError = "";
  char refusalText[kRefusalTextCapacity] = "";
};

// The context of the classic exports, zero at load as their records always were.
Context& DefaultContext();

}  // namespace varnel
