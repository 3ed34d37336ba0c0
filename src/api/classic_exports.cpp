// The exports of the classic interface and its extensions, acting on the process's one default
// context, as the library always has.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "api/export_guard.h"
#include "api/measure.h"
#include "api/setters.h"
#include "outputs/pictures.h"
#include "platform/clipboard.h"
#include "platform/screen.h"

using varnel::DefaultContext;

extern "C" {

void VN_CALL VnSetDefault(void) { varnel::Set(&DefaultContext(), varnel::SetDefault); }
void VN_CALL VnSetSize(int width, int height) { varnel::Set(&DefaultContext(), varnel::SetSize, width, height); }
void VN_CALL VnSetMessage(const char* data) { varnel::Set(&DefaultContext(), varnel::SetMessage, data); }
void VN_CALL VnFontInfo(const char* faceName, int fontHeight) { varnel::Set(&DefaultContext(), varnel::SetFont, faceName, fontHeight); }
void VN_CALL VnTextInfo(int showText, int addCheckDigit, int checkDigitInText) {
  varnel::Set(&DefaultContext(), varnel::SetTextInfo, showText, addCheckDigit, checkDigitInText);
}
void VN_CALL VnCodaBarInfo(int start, int stop) { varnel::Set(&DefaultContext(), varnel::SetCodabarInfo, start, stop); }
void VN_CALL VnUPCESystem(int system) { varnel::Set(&DefaultContext(), varnel::SetUpcESystem, system); }
void VN_CALL VnSupplementInfo(int kind, const char* digits, double gapCm) {
  varnel::Set(&DefaultContext(), varnel::SetSupplementInfo, kind, digits, gapCm);
}
void VN_CALL VnBasicInfo(int symbology, double narrowWidthCm, double wideRatio, int orientation, int frameStyle) {
  varnel::Set(&DefaultContext(), varnel::SetBasicInfo, symbology, narrowWidthCm, wideRatio, orientation, frameStyle);
}
void VN_CALL VnSetBackColor(int red, int green, int blue) { varnel::Set(&DefaultContext(), varnel::SetBackColor, red, green, blue); }
void VN_CALL VnSetBarColor(int red, int green, int blue) { varnel::Set(&DefaultContext(), varnel::SetBarColor, red, green, blue); }
void VN_CALL VnSetBarHeight(double heightCm) { varnel::Set(&DefaultContext(), varnel::SetBarHeight, heightCm); }
void VN_CALL VnSetTransparentBackground(int transparent) {
  varnel::Set(&DefaultContext(), varnel::SetTransparentBackground, transparent);
}
void VN_CALL VnSetSymbology(int symbology) { varnel::Set(&DefaultContext(), varnel::SetSymbology, symbology); }

VnBool VN_CALL VnSaveAsBMP(const char* path) { return varnel::Saved(varnel::PictureFormat::kBmp, &DefaultContext(), path); }
VnBool VN_CALL VnSaveAsWMF(const char* path) { return varnel::Saved(varnel::PictureFormat::kWmf, &DefaultContext(), path); }
VnBool VN_CALL VnSaveAsEMF(const char* path) { return varnel::Saved(varnel::PictureFormat::kEmf, &DefaultContext(), path); }

int VN_CALL VnRenderToMemory(int format, void* buffer, int size) {
  return varnel::CopiedToMemory(&DefaultContext(), format, buffer, size);
}

VnBool VN_CALL VnCopyToClipboard(void) {
  return varnel::Guarded<VnBool>(0, [] { return varnel::CopyToClipboard(DefaultContext()) ? 1 : 0; });
}

// The clipboard and the screen resolution are the process's, shared by every context.
int VN_CALL VnGetClipboardEMF(void* buffer, int size) {
  return varnel::Guarded(0, [&] {
    const varnel::ClipboardAccess clipboard;
    if (!clipboard.IsOpen()) return 0;
    const std::span room(static_cast<std::uint8_t*>(buffer), buffer != nullptr && size > 0 ? static_cast<std::size_t>(size) : 0);
    const std::optional<std::size_t> needed = clipboard.ReadEnhMetaFile(room);
    if (!needed || *needed > static_cast<std::size_t>(INT_MAX)) return 0;
    return static_cast<int>(*needed);
  });
}

void VN_CALL VnSetScreenResolution(int dpiX, int dpiY) { varnel::SetScreenResolution(dpiX, dpiY); }

VnBool VN_CALL VnMeasure(int* length, int* thickness) { return varnel::MeasureInto(DefaultContext(), length, thickness); }

VnBool VN_CALL VnMeasureReach(int* before, int* after, int* above, int* below, int* frame) {
  return varnel::MeasureReachInto(&DefaultContext(), before, after, above, below, frame);
}

const char* VN_CALL VnGetLastError(void) { return DefaultContext().lastError; }
int VN_CALL VnGetLastSaveError(void) { return DefaultContext().lastSaveError; }

}  // extern "C"
