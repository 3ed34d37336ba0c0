#include "platform/clipboard.h"

#include <cstring>
#include <mutex>
#include <utility>

namespace varnel {
namespace {

// Holders may live on other threads (as another program would), so the store is guarded; a holder
// that finds it open does not wait, it fails, as opening the platform's clipboard does.
struct ClipboardStore {
  std::mutex mutex;
  bool open = false;
  std::optional<FileBytes> enhMetaFile;
};

ClipboardStore& Store() {
  static ClipboardStore store;
  return store;
}

}  // namespace

ClipboardAccess::ClipboardAccess() {
  ClipboardStore& store = Store();
  const std::lock_guard lock(store.mutex);
  open_ = !store.open;
  store.open = true;
}

ClipboardAccess::~ClipboardAccess() {
  if (!open_) return;
  ClipboardStore& store = Store();
  const std::lock_guard lock(store.mutex);
  store.open = false;
}

void ClipboardAccess::Empty() {
  if (!open_) return;
  ClipboardStore& store = Store();
  const std::lock_guard lock(store.mutex);
  store.enhMetaFile.reset();
}

bool ClipboardAccess::SetEnhMetaFile(FileBytes metafile) {
  if (!open_) return false;
  ClipboardStore& store = Store();
  const std::lock_guard lock(store.mutex);
  store.enhMetaFile = std::move(metafile);
  return true;
}

std::optional<std::size_t> ClipboardAccess::ReadEnhMetaFile(std::span<std::uint8_t> into) const {
  if (!open_) return std::nullopt;
  ClipboardStore& store = Store();
  const std::lock_guard lock(store.mutex);
  if (!store.enhMetaFile) return std::nullopt;
  const FileBytes& metafile = *store.enhMetaFile;
  if (!metafile.empty() && metafile.size() <= into.size()) std::memcpy(into.data(), metafile.data(), metafile.size());
  return metafile.size();
}

}  // namespace varnel
