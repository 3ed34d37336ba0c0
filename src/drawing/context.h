// One engine: what a host chose, the working record of a render, and the recording the render
// draws into. Everything a render changes lives here, so renders on different contexts may run on
// different threads at once; the classic exports share the process's default context.
#pragma once

#include <cstdint>

#include "base/file_bytes.h"
#include "base/settings.h"
#include "drawing/element_lengths.h"
#include "drawing/render_state.h"
#include "drawing/surface.h"
#include "platform/screen.h"

namespace varnel {

// The last picture made for the host's memory, with what it was made from: a host asks for its size
// and then for its bytes, and the picture is rendered once for both. The last error needs no keeping:
// the same settings at the same resolution validate the same.
struct KeptPicture {
  FileBytes bytes;
  int format = 0;  // 0 when nothing is kept
  std::uint64_t settingChanges = 0;  // the context's count when it was made
  ScreenResolution screen{0, 0};
};

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
  // Why the last file output failed, as an errno, or 0 after one that saved its file (and before
  // any).
  int lastSaveError = 0;
  // Counted by every setter export, whether or not the value changes: a kept picture made at another
  // count may not be the one the settings now describe.
  std::uint64_t settingChanges = 0;
  KeptPicture kept;
};

// The context of the classic exports, zero at load as their records always were.
Context& DefaultContext();

// The context's recording started afresh at the settings' picture size, with the render drawing
// into it from the picture's corner; the caller sets state.surface back to null when it is done.
Surface& StartRecording(Context& context);

}  // namespace varnel
