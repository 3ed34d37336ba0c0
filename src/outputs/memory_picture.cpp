#include "outputs/memory_picture.h"

#include <climits>
#include <cstring>
#include <utility>

#include "outputs/picture_formats.h"
#include "platform/screen.h"

namespace varnel {
namespace {

bool SameScreen(ScreenResolution a, ScreenResolution b) { return a.x == b.x && a.y == b.y; }

// Whether the kept picture is the one the context would render now: the same format, no setter
// called since, and the same process-wide resolution, which every picture is laid out at.
bool KeptIsCurrent(const Context& context, int format, ScreenResolution screen) {
  const KeptPicture& kept = context.kept;
  return kept.format == format && kept.settingChanges == context.settingChanges && SameScreen(kept.screen, screen);
}

void LetGo(KeptPicture& kept) {
  kept.format = 0;
  FileBytes().swap(kept.bytes);
}

// The picture the context describes now, from the kept one or rendered and kept; null when it cannot
// be made.
const FileBytes* CurrentPicture(Context& context, int format, const PictureEncoding& encoding) {
  KeptPicture& kept = context.kept;
  const ScreenResolution screen = GetScreenResolution();
  if (KeptIsCurrent(context, format, screen)) return &kept.bytes;
  LetGo(kept);  // first, so that two pictures never hold memory at once
  auto picture = RenderPicture(context, encoding);
  if (!picture) return nullptr;
  kept.bytes = std::move(*picture);
  kept.settingChanges = context.settingChanges;
  kept.screen = screen;
  // Another thread may have set the resolution while the picture was drawn, and the picture may or
  // may not show it: it is handed over, but not kept as the picture of either resolution.
  kept.format = SameScreen(GetScreenResolution(), screen) ? format : 0;
  return &kept.bytes;
}

}  // namespace

std::optional<int> SaveKeptPicture(Context& context, int format, const char* path) {
  if (!KeptIsCurrent(context, format, GetScreenResolution())) return std::nullopt;
  const int reason = SaveFileBytes(path, context.kept.bytes);
  if (context.kept.bytes.size() > kLargestPictureKeptAfterCopy) LetGo(context.kept);
  return reason;
}

int CopyPictureToMemory(Context& context, int format, void* buffer, int size) {
  const PictureEncoding* encoding = EncodingOf(format);
  if (encoding == nullptr || size < 0) return 0;
  const FileBytes* picture = CurrentPicture(context, format, *encoding);
  if (picture == nullptr) return 0;
  if (picture->size() > static_cast<std::size_t>(INT_MAX)) {
    LetGo(context.kept);  // no host can ever take it
    return 0;
  }
  const int needed = static_cast<int>(picture->size());
  if (buffer != nullptr && size >= needed) {
    std::memcpy(buffer, picture->data(), picture->size());
    if (picture->size() > kLargestPictureKeptAfterCopy) LetGo(context.kept);
  }
  return needed;
}

}  // namespace varnel
