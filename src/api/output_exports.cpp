// The output exports. Nothing may escape into the host: any failure, an exhausted allocator
// included, becomes a 0 result.
#include "outputs/bmp_output.h"
#include "outputs/clipboard_output.h"
#include "outputs/wmf_output.h"
#include "varnel32.h"

extern "C" {

VnBool VN_CALL VnSaveAsBMP(const char* path) {
  try {
    return varnel::SaveAsBmp(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VnBool VN_CALL VnSaveAsWMF(const char* path) {
  try {
    return varnel::SaveAsWmf(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VnBool VN_CALL VnCopyToClipboard(void) {
  try {
    return varnel::CopyToClipboard() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
