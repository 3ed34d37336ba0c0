// The extension exports: what a host on this platform needs beyond the classic interface.
// Nothing may escape into the host; a failure becomes a 0 result.
#include <climits>
#include <cstring>

#include "outputs/emf_output.h"
#include "platform/clipboard.h"
#include "platform/screen.h"
#include "engine/last_render_error.h"
#include "engine/render_driver.h"
#include "varnel32.h"

extern "C" {

VnBool VN_CALL VnSaveAsEMF(const char* path) {
  try {
    return varnel::SaveAsEmf(path) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int VN_CALL VnGetClipboardEMF(void* buffer, int size) {
  try {
    const varnel::ClipboardAccess clipboard;
    if (!clipboard.IsOpen()) return 0;
    const auto metafile = clipboard.EnhMetaFile();
    if (!metafile || metafile->size() > static_cast<std::size_t>(INT_MAX)) return 0;
    const int needed = static_cast<int>(metafile->size());
    if (buffer != nullptr && size >= needed) std::memcpy(buffer, metafile->data(), metafile->size());
    return needed;
  } catch (...) {
    return 0;
  }
}

void VN_CALL VnSetScreenResolution(int dpiX, int dpiY) { varnel::SetScreenResolution(dpiX, dpiY); }

VnBool VN_CALL VnMeasure(int* length, int* thickness) {
  // Zero first: refused data leaves the host no sizes of an earlier symbol.
  if (length != nullptr) *length = 0;
  if (thickness != nullptr) *thickness = 0;
  try {
    const auto extent = varnel::MeasureBarcode();
    if (!extent) return 0;
    if (length != nullptr) *length = extent->length;
    if (thickness != nullptr) *thickness = extent->thickness;
    return 1;
  } catch (...) {
    return 0;
  }
}

const char* VN_CALL VnGetLastError(void) { return varnel::LastRenderError(); }

}  // extern "C"
