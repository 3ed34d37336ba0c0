#include "output/render_to_surface.h"

#include "api/settings.h"
#include "platform/file_replace.h"
#include "render/render_driver.h"
#include "render/render_state.h"

namespace varnel {

Surface RenderToSurface() {
  Surface surface(settings.width, settings.height);
  state.surface = &surface;
  state.originX = 0;
  state.originY = 0;
  RenderBarcode();
  state.surface = nullptr;
  return surface;
}

bool SaveRenderedPicture(const char* path, PictureEncoder encode) {
  if (path == nullptr) return false;
  const auto file = encode(RenderToSurface());
  return file && ReplaceFileContents(path, file->data(), file->size());
}

}  // namespace varnel
