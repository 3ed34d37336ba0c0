#include "outputs/render_to_surface.h"

#include "engine/render_driver.h"
#include "platform/file_replace.h"

namespace varnel {

const Surface& RenderToSurface(Context& context) {
  Surface& surface = context.recording;
  surface.Restart(context.settings.width, context.settings.height);
  context.state.surface = &surface;
  context.state.originX = 0;
  context.state.originY = 0;
  RenderBarcode(context);
  context.state.surface = nullptr;
  return surface;
}

bool SaveRenderedPicture(Context& context, const char* path, PictureEncoder encode) {
  // No file can be had without a name: refused before a picture, which may be huge, is drawn.
  if (path == nullptr || *path == '\0') return false;
  const Surface& surface = RenderToSurface(context);
  if (!surface.Complete()) return false;
  const auto file = encode(context, surface);
  return file && ReplaceFileContents(path, file->data(), file->size());
}

}  // namespace varnel
