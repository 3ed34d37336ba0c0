// The clipboard: one per process, shared by every holder that opens it (in this process, the
// library's own export and anybody else who opens it, tests included). One holder at a time has
// it open; while it is open nobody else can open it, as with the platform's clipboard. It keeps
// at most one enhanced metafile, which stays there until the next holder empties it.
#pragma once

#include "base/file_bytes.h"
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace varnel {

// An open clipboard, held for the object's lifetime. Check IsOpen(): opening fails while another
// holder has it open, and then the other operations do nothing.
class ClipboardAccess {
 public:
  ClipboardAccess();
  ~ClipboardAccess();
  ClipboardAccess(const ClipboardAccess&) = delete;
  ClipboardAccess& operator=(const ClipboardAccess&) = delete;

  bool IsOpen() const { return open_; }

  void Empty();
  // Hands the metafile's bytes over to the clipboard; false when it does not take them.
  bool SetEnhMetaFile(FileBytes metafile);
  // The size of the enhanced metafile on the clipboard, if there is one. Its bytes are copied
  // straight into `into` when they fit, and it is left untouched when they do not, so that asking
  // with no room tells the size.
  std::optional<std::size_t> ReadEnhMetaFile(std::span<std::uint8_t> into) const;

 private:
  bool open_;
};

}  // namespace varnel
