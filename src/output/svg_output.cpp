#include "output/svg_output.h"

#include "output/render_to_surface.h"
#include "platform/svg_file.h"

namespace varnel {

bool SaveAsSvg(const char* path) { return SaveRenderedPicture(path, EncodeSvg); }

}  // namespace varnel
