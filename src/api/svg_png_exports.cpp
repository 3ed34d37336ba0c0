// The SVG and PNG exports. They stand apart from the other extension exports because their outputs
// need FreeType and libpng, which the Windows DLL does without: it leaves this file out.
// Nothing may escape into the host; a failure becomes a 0 result.
#include "outputs/png_output.h"
#include "outputs/svg_output.h"
#include "varnel32.h"

extern "C" {

VnBool VN_CALL VnSaveAsSVG(const char* path) {
  try {
    return varnel::SaveAsSvg(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VnBool VN_CALL VnSaveAsPNG(const char* path) {
  try {
    return varnel::SaveAsPng(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
