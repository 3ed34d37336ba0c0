// The output exports. Nothing may escape into the host: any failure, an exhausted allocator
// included, becomes a 0 result.
#include "output/bmp_output.h"
#include "varnel32.h"

extern "C" {

VnBool VN_CALL VnSaveAsBMP(const char* path) {
  try {
    return varnel::SaveAsBmp(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
