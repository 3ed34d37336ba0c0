#include "outputs/bmp_output.h"

#include "base/settings.h"
#include "outputs/render_to_surface.h"
#include "writers/bmp_file.h"

namespace varnel {

bool SaveAsBmp(const char* path) {
  // Refused before rendering: whether a BMP can hold the picture is known from its size alone.
  if (!OneBitBmpCanHold(settings.width, settings.height)) return false;
  return SaveRenderedPicture(path, [](const Surface& surface) {
    return EncodeOneBitBmp(surface, Palette{settings.barColor, settings.backColor});
  });
}

}  // namespace varnel
