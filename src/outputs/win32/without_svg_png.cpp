// The Windows DLL draws with the platform and does without FreeType and zlib, so it has neither
// the SVG nor the PNG: asked for either, it has no format to offer.
#include "outputs/picture_formats.h"

namespace varnel {

const PictureEncoding* SvgPngEncodingOf(int) { return nullptr; }

}  // namespace varnel
