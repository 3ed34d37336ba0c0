// The outputs that need FreeType and libpng; the Windows DLL leaves this file out.
#include "outputs/pictures.h"
#include "outputs/render_to_surface.h"
#include "platform/screen.h"
#include "writers/png_file.h"
#include "writers/svg_file.h"

namespace varnel {
namespace {

std::optional<FileBytes> EncodeSvgPicture(const Context&, const Surface& surface) { return EncodeSvg(surface); }

std::optional<FileBytes> EncodePng(const Context& context, const Surface& surface) {
  return EncodeOneBitPng(surface, Palette{context.settings.barColor, context.settings.backColor}, GetScreenResolution());
}

}  // namespace

bool SaveAsSvg(Context& context, const char* path) { return SaveRenderedPicture(context, path, EncodeSvgPicture); }

bool SaveAsPng(Context& context, const char* path) {
  // Whether a PNG can hold the picture is known from its size alone.
  if (!OneBitPngCanHold(context.settings.width, context.settings.height)) return false;
  return SaveRenderedPicture(context, path, EncodePng);
}

}  // namespace varnel
