#include "output/wmf_output.h"

#include "output/render_to_surface.h"
#include "platform/screen.h"
#include "platform/wmf_file.h"

namespace varnel {

bool SaveAsWmf(const char* path) {
  return SaveRenderedPicture(
      path, [](const Surface& surface) { return EncodePlaceableWmf(surface, GetScreenResolution().x); });
}

}  // namespace varnel
