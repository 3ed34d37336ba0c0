#include "outputs/clipboard_output.h"

#include <utility>

#include "outputs/emf_output.h"
#include "platform/clipboard.h"

namespace varnel {

// The metafile is made before the clipboard is opened, so that the clipboard is held only for
// the moment of the exchange; when it cannot be opened the metafile is simply dropped.
bool CopyToClipboard() {
  auto metafile = RenderEnhMetaFile();
  if (!metafile) return false;
  ClipboardAccess clipboard;
  if (!clipboard.IsOpen()) return false;
  clipboard.Empty();
  return clipboard.SetEnhMetaFile(std::move(*metafile));
}

}  // namespace varnel
