// What every export shares: nothing may escape into the host, so any failure, an exhausted
// allocator included, becomes the export's failure result; and the context a handle stands for.
#pragma once

#include "drawing/context.h"
#include "varnel32.h"

// The handle a host holds: one engine context of its own.
struct VnContext {
  varnel::Context context;
};

namespace varnel {

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

// A file output as an export: 1 when the file was written, else 0.
inline VnBool Saved(bool (*save)(Context&, const char*), Context* context, const char* path) {
  if (context == nullptr) return 0;
  return Guarded<VnBool>(0, [&] { return save(*context, path) ? 1 : 0; });
}

}  // namespace varnel
