#include "outputs/png_output.h"

#include "base/settings.h"
#include "outputs/render_to_surface.h"
#include "writers/png_file.h"
#include "platform/screen.h"

namespace varnel {

bool SaveAsPng(const char* path) {
  // Refused before rendering: whether a PNG can hold the picture is known from its size alone.
  if (!OneBitPngCanHold(settings.width, settings.height)) return false;
  return SaveRenderedPicture(path, [](const Surface& surface) {
    return EncodeOneBitPng(surface, Palette{settings.barColor, settings.backColor}, GetScreenResolution());
  });
}

}  // namespace varnel
