#include "outputs/pictures.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "outputs/memory_picture.h"
#include "outputs/render_to_surface.h"
#include "platform/clipboard.h"
#include "platform/screen.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "writers/placeable_header.h"
#include "writers/wmf_file.h"

namespace varnel {
namespace {

// Whether a BMP or a placeable header can hold the picture is known from its size alone.
bool BmpCanHold(const Context& context) { return OneBitBmpCanHold(context.settings.width, context.settings.height); }

bool WmfCanHold(const Context& context) {
  return FitsPlaceableHeader(context.settings.width, context.settings.height, GetScreenResolution().x);
}

std::optional<FileBytes> EncodeBmp(const Context& context, const Surface& surface) {
  return EncodeOneBitBmp(surface, Palette{context.settings.barColor, context.settings.backColor});
}

std::optional<FileBytes> EncodeWmf(const Context&, const Surface& surface) {
  return EncodePlaceableWmf(surface, GetScreenResolution().x);
}

std::optional<FileBytes> EncodeEmfForScreen(const Context&, const Surface& surface) {
  return EncodeEmf(surface, GetScreenResolution());
}

constexpr PictureEncoding kBmp{BmpCanHold, EncodeBmp};
constexpr PictureEncoding kWmf{WmfCanHold, EncodeWmf};
constexpr PictureEncoding kEmf{nullptr, EncodeEmfForScreen};

}  // namespace

const PictureEncoding* EncodingOf(int format) {
  switch (static_cast<PictureFormat>(format)) {
    case PictureFormat::kBmp: return &kBmp;
    case PictureFormat::kWmf: return &kWmf;
    case PictureFormat::kEmf: return &kEmf;
    default: return SvgPngEncodingOf(format);
  }
}

bool SavePicture(Context& context, PictureFormat format, const char* path) {
  const PictureEncoding* encoding = EncodingOf(static_cast<int>(format));
  if (encoding == nullptr) {
    context.lastSaveError = ENOSYS;
  } else {
    const std::optional<int> keptSaved = SaveKeptPicture(context, static_cast<int>(format), path);
    context.lastSaveError = keptSaved ? *keptSaved : SaveRenderedPicture(context, path, *encoding);
  }
  return context.lastSaveError == 0;
}

bool SaveAsBmp(Context& context, const char* path) { return SavePicture(context, PictureFormat::kBmp, path); }
bool SaveAsWmf(Context& context, const char* path) { return SavePicture(context, PictureFormat::kWmf, path); }
bool SaveAsEmf(Context& context, const char* path) { return SavePicture(context, PictureFormat::kEmf, path); }

std::optional<FileBytes> RenderEnhMetaFile(Context& context) { return RenderPicture(context, kEmf); }

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
