// What every export shares: nothing may escape into the host, so any failure, an exhausted
// allocator included, becomes the export's failure result; the context a handle stands for; and
// the steps every setter and every output takes as an export.
#pragma once

#include <cerrno>

#include "drawing/context.h"
#include "outputs/memory_picture.h"
#include "outputs/pictures.h"
#include "varnel32.h"

// The handle a host holds: one engine context of its own.
struct VnContext {
  varnel::Context context;
};

namespace varnel {

static_assert(VN_FORMAT_BMP == static_cast<int>(PictureFormat::kBmp) &&
              VN_FORMAT_WMF == static_cast<int>(PictureFormat::kWmf) &&
              VN_FORMAT_EMF == static_cast<int>(PictureFormat::kEmf) &&
              VN_FORMAT_SVG == static_cast<int>(PictureFormat::kSvg) &&
              VN_FORMAT_PNG == static_cast<int>(PictureFormat::kPng));

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return onFailure;
  }
}

// The context behind a host's handle; null for a null handle, which every context export refuses.
inline Context* ContextOf(VnContext* handle) { return handle != nullptr ? &handle->context : nullptr; }

// A setter as an export, the one way every setter reaches a context: nothing for a null context, and
// every call counted, so that a picture kept for the host's memory is known to be out of date.
template <typename... Arguments>
void Set(Context* context, void (*set)(Context&, Arguments...), Arguments... arguments) {
  if (context == nullptr) return;
  set(*context, arguments...);
  ++context->settingChanges;
}

// A file output as an export: 1 when the file was written, else 0. A save cut short by an
// exhausted allocator leaves ENOMEM as its reason.
inline VnBool Saved(PictureFormat format, Context* context, const char* path) {
  if (context == nullptr) return 0;
  context->lastSaveError = ENOMEM;
  return Guarded<VnBool>(0, [&] { return SavePicture(*context, format, path) ? 1 : 0; });
}

// The memory output as an export: the picture's size in bytes, or 0.
inline int CopiedToMemory(Context* context, int format, void* buffer, int size) {
  if (context == nullptr) return 0;
  return Guarded(0, [&] { return CopyPictureToMemory(*context, format, buffer, size); });
}

}  // namespace varnel
