#include "outputs/emf_output.h"

#include "outputs/render_to_surface.h"
#include "writers/emf_file.h"
#include "platform/screen.h"

namespace varnel {
namespace {

std::optional<FileBytes> EncodeForScreen(const Surface& surface) {
  return EncodeEmf(surface, GetScreenResolution());
}

}  // namespace

std::optional<FileBytes> RenderEnhMetaFile() {
  const Surface& surface = RenderToSurface();
  if (!surface.Complete()) return std::nullopt;
  return EncodeForScreen(surface);
}

bool SaveAsEmf(const char* path) { return SaveRenderedPicture(path, EncodeForScreen); }

}  // namespace varnel
