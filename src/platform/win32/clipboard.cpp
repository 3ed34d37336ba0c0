// The platform's clipboard, opened with no owner window. The enhanced metafile goes on it as a
// metafile handle (CF_ENHMETAFILE), which the clipboard then owns.
#include "platform/clipboard.h"

#include "platform/win32/windows_api.h"

namespace varnel {

ClipboardAccess::ClipboardAccess() : open_(OpenClipboard(nullptr) != 0) {}

ClipboardAccess::~ClipboardAccess() {
  if (open_) CloseClipboard();
}

void ClipboardAccess::Empty() {
  if (open_) EmptyClipboard();
}

// A metafile the clipboard refuses is nobody's, so it is deleted here.
bool ClipboardAccess::SetEnhMetaFile(FileBytes metafile) {
  if (!open_) return false;
  const HENHMETAFILE handle = SetEnhMetaFileBits(static_cast<UINT>(metafile.size()), metafile.data());
  if (handle == nullptr) return false;
  if (SetClipboardData(CF_ENHMETAFILE, handle) != nullptr) return true;
  DeleteEnhMetaFile(handle);
  return false;
}

// The handle stays the clipboard's: only its bytes are copied out, asked with no buffer for their
// size first.
std::optional<std::size_t> ClipboardAccess::ReadEnhMetaFile(std::span<std::uint8_t> into) const {
  if (!open_) return std::nullopt;
  const auto handle = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  if (handle == nullptr) return std::nullopt;
  const UINT size = GetEnhMetaFileBits(handle, 0, nullptr);
  if (size == 0) return std::nullopt;
  if (size <= into.size() && GetEnhMetaFileBits(handle, size, into.data()) != size) return std::nullopt;
  return size;
}

}  // namespace varnel
