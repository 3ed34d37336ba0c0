#include "outputs/render_to_surface.h"

#include "platform/file_replace.h"

namespace varnel {

const Surface& RenderToSurface(Context& context, Render render) {
  Surface& surface = context.recording;
  surface.Restart(context.settings.width, context.settings.height);
  context.state.surface = &surface;
  context.state.originX = 0;
  context.state.originY = 0;
  render(context);
  context.state.surface = nullptr;
  return surface;
}

std::optional<FileBytes> RenderPicture(Context& context, const PictureEncoding& encoding) {
  if (encoding.canHold != nullptr && !encoding.canHold(context)) return std::nullopt;
  const Surface& surface = RenderToSurface(context);
  if (!surface.Complete()) return std::nullopt;
  return encoding.encode(context, surface);
}

bool SaveRenderedPicture(Context& context, const char* path, const PictureEncoding& encoding) {
  // No file can be had without a name: refused before a picture, which may be huge, is drawn.
  if (path == nullptr || *path == '\0') return false;
  const auto file = RenderPicture(context, encoding);
  return file && ReplaceFileContents(path, file->data(), file->size());
}

}  // namespace varnel
