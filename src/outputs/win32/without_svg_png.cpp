// The Windows DLLs draw with the platform and do without FreeType and zlib, so they have neither
// the SVG nor the PNG: asked for either, they have no format to offer.
#include "outputs/picture_formats.h"

namespace varnel {

const PictureEncoding* SvgPngEncodingOf(int) { return nullptr; }

}  // namespace varnel
