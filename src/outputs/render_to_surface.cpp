#include "outputs/render_to_surface.h"

#include "base/settings.h"
#include "platform/file_replace.h"
#include "engine/render_driver.h"
#include "drawing/render_state.h"

namespace varnel {

const Surface& RenderToSurface() {
  // One recording for the process, as the settings and the render state are: its lists keep their
  // memory, so that a render allocates nothing but the picture it is encoded into.
  static Surface surface(0, 0);
  surface.Restart(settings.width, settings.height);
  state.surface = &surface;
  state.originX = 0;
  state.originY = 0;
  RenderBarcode();
  state.surface = nullptr;
  return surface;
}

bool SaveRenderedPicture(const char* path, PictureEncoder encode) {
  // No file can be had without a name: refused before a picture, which may be huge, is drawn.
  if (path == nullptr || *path == '\0') return false;
  const Surface& surface = RenderToSurface();
  if (!surface.Complete()) return false;
  const auto file = encode(surface);
  return file && ReplaceFileContents(path, file->data(), file->size());
}

}  // namespace varnel
