#include "output/bmp_output.h"

#include "api/settings.h"
#include "output/render_to_surface.h"
#include "platform/bmp_file.h"

namespace varnel {

bool SaveAsBmp(const char* path) {
  return SaveRenderedPicture(path, [](const Surface& surface) {
    return EncodeOneBitBmp(surface, Palette{settings.barColor, settings.backColor});
  });
}

}  // namespace varnel
