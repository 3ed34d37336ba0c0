// A library context the tool owns: made with the library's defaults, destroyed with its owner.
#pragma once

#include <memory>

#include "varnel32.h"

namespace varnel::tool {

struct ContextDeleter {
  void operator()(VnContext* context) const { VnDestroyContext(context); }
};

using LibraryContext = std::unique_ptr<VnContext, ContextDeleter>;

// Null when the library cannot have the memory for one.
inline LibraryContext CreateLibraryContext() { return LibraryContext(VnCreateContext()); }

}  // namespace varnel::tool
