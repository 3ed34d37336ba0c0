#include "outputs/wmf_output.h"

#include "base/settings.h"
#include "outputs/render_to_surface.h"
#include "writers/placeable_header.h"
#include "platform/screen.h"
#include "writers/wmf_file.h"

namespace varnel {

bool SaveAsWmf(const char* path) {
  // Refused before rendering: whether the header can hold the picture is known from its size alone.
  if (!FitsPlaceableHeader(settings.width, settings.height, GetScreenResolution().x)) return false;
  return SaveRenderedPicture(
      path, [](const Surface& surface) { return EncodePlaceableWmf(surface, GetScreenResolution().x); });
}

}  // namespace varnel
