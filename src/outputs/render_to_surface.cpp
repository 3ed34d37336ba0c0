#include "outputs/render_to_surface.h"

#include <cerrno>

#include "platform/file_replace.h"

namespace varnel {

const Surface& RenderToSurface(Context& context, ScreenResolution screen, Render render) {
  const Surface& surface = StartRecording(context);
  render(context, screen);
  context.state.surface = nullptr;
  return surface;
}

namespace {

// The file, or nothing with `whyNot` set: EFBIG for a picture the format or the recording cannot
// hold, ENOMEM for one whose encoding gave up, which is for want of memory but in the metafiles'
// rare case of a text beyond their 16-bit values.
std::optional<FileBytes> Rendered(Context& context, const PictureEncoding& encoding, ScreenResolution screen, int& whyNot) {
  whyNot = EFBIG;
  if (encoding.canHold != nullptr && !encoding.canHold(context, screen)) return std::nullopt;
  const Surface& surface = RenderToSurface(context, screen);
  if (!surface.Complete()) return std::nullopt;
  whyNot = ENOMEM;
  return encoding.encode(context, surface, screen);
}

}  // namespace

std::optional<FileBytes> RenderPicture(Context& context, const PictureEncoding& encoding, ScreenResolution screen) {
  int whyNot = 0;
  return Rendered(context, encoding, screen, whyNot);
}

int SaveFileBytes(const char* path, const FileBytes& file) {
  return ReplaceFileContents(path, file.data(), file.size()) ? 0 : errno;
}

int SaveRenderedPicture(Context& context, const char* path, const PictureEncoding& encoding) {
  // No file can be had without a name: refused before a picture, which may be huge, is drawn.
  if (path == nullptr || *path == '\0') return ENOENT;
  int whyNot = 0;
  const auto file = Rendered(context, encoding, GetScreenResolution(), whyNot);
  return file ? SaveFileBytes(path, *file) : whyNot;
}

}  // namespace varnel
