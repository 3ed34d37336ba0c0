#include "outputs/pictures.h"

#include <utility>

#include "outputs/render_to_surface.h"
#include "platform/clipboard.h"
#include "platform/screen.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "writers/placeable_header.h"
#include "writers/wmf_file.h"

namespace varnel {
namespace {

std::optional<FileBytes> EncodeBmp(const Context& context, const Surface& surface) {
  return EncodeOneBitBmp(surface, Palette{context.settings.barColor, context.settings.backColor});
}

std::optional<FileBytes> EncodeWmf(const Context&, const Surface& surface) {
  return EncodePlaceableWmf(surface, GetScreenResolution().x);
}

std::optional<FileBytes> EncodeEmfForScreen(const Context&, const Surface& surface) {
  return EncodeEmf(surface, GetScreenResolution());
}

}  // namespace

bool SaveAsBmp(Context& context, const char* path) {
  // Whether a BMP can hold the picture is known from its size alone.
  if (!OneBitBmpCanHold(context.settings.width, context.settings.height)) return false;
  return SaveRenderedPicture(context, path, EncodeBmp);
}

bool SaveAsWmf(Context& context, const char* path) {
  // Whether the header can hold the picture is known from its size alone.
  if (!FitsPlaceableHeader(context.settings.width, context.settings.height, GetScreenResolution().x)) return false;
  return SaveRenderedPicture(context, path, EncodeWmf);
}

bool SaveAsEmf(Context& context, const char* path) { return SaveRenderedPicture(context, path, EncodeEmfForScreen); }

std::optional<FileBytes> RenderEnhMetaFile(Context& context) {
  const Surface& surface = RenderToSurface(context);
  if (!surface.Complete()) return std::nullopt;
  return EncodeEmfForScreen(context, surface);
}

// The metafile is made before the clipboard is opened, so that the clipboard is held only for
// the moment of the exchange; when it cannot be opened the metafile is simply dropped.
bool CopyToClipboard(Context& context) {
  auto metafile = RenderEnhMetaFile(context);
  if (!metafile) return false;
  ClipboardAccess clipboard;
  if (!clipboard.IsOpen()) return false;
  clipboard.Empty();
  return clipboard.SetEnhMetaFile(std::move(*metafile));
}

}  // namespace varnel
