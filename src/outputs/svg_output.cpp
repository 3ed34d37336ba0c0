#include "outputs/svg_output.h"

#include "outputs/render_to_surface.h"
#include "writers/svg_file.h"

namespace varnel {

bool SaveAsSvg(const char* path) { return SaveRenderedPicture(path, EncodeSvg); }

}  // namespace varnel
