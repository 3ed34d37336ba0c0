// The reentrant interface: each context is an engine of its own, so that a host may render on
// several threads at once, one context a thread. A null context is refused by every export: no
// effect, or the failure result.
#include <new>

#include "api/export_guard.h"
#include "api/measure.h"
#include "api/setters.h"
#include "outputs/pictures.h"

using varnel::ContextOf;

extern "C" {

VnContext* VN_CALL VnCreateContext(void) {
  return varnel::Guarded<VnContext*>(nullptr, [] {
    auto* handle = new VnContext;
    varnel::SetDefault(handle->context);
    return handle;
  });
}

void VN_CALL VnDestroyContext(VnContext* context) { delete context; }

void VN_CALL VnCtxSetDefault(VnContext* context) { varnel::Set(ContextOf(context), varnel::SetDefault); }
void VN_CALL VnCtxSetSize(VnContext* context, int width, int height) { varnel::Set(ContextOf(context), varnel::SetSize, width, height); }
void VN_CALL VnCtxSetMessage(VnContext* context, const char* data) { varnel::Set(ContextOf(context), varnel::SetMessage, data); }
void VN_CALL VnCtxFontInfo(VnContext* context, const char* faceName, int fontHeight) {
  varnel::Set(ContextOf(context), varnel::SetFont, faceName, fontHeight);
}
void VN_CALL VnCtxTextInfo(VnContext* context, int showText, int addCheckDigit, int checkDigitInText) {
  varnel::Set(ContextOf(context), varnel::SetTextInfo, showText, addCheckDigit, checkDigitInText);
}
void VN_CALL VnCtxCodaBarInfo(VnContext* context, int start, int stop) { varnel::Set(ContextOf(context), varnel::SetCodabarInfo, start, stop); }
void VN_CALL VnCtxUPCESystem(VnContext* context, int system) { varnel::Set(ContextOf(context), varnel::SetUpcESystem, system); }
void VN_CALL VnCtxSupplementInfo(VnContext* context, int kind, const char* digits, double gapCm) {
  varnel::Set(ContextOf(context), varnel::SetSupplementInfo, kind, digits, gapCm);
}
void VN_CALL VnCtxBasicInfo(VnContext* context, int symbology, double narrowWidthCm, double wideRatio, int orientation,
                            int frameStyle) {
  varnel::Set(ContextOf(context), varnel::SetBasicInfo, symbology, narrowWidthCm, wideRatio, orientation, frameStyle);
}
void VN_CALL VnCtxSetSymbology(VnContext* context, int symbology) { varnel::Set(ContextOf(context), varnel::SetSymbology, symbology); }
void VN_CALL VnCtxSetBackColor(VnContext* context, int red, int green, int blue) {
  varnel::Set(ContextOf(context), varnel::SetBackColor, red, green, blue);
}
void VN_CALL VnCtxSetBarColor(VnContext* context, int red, int green, int blue) {
  varnel::Set(ContextOf(context), varnel::SetBarColor, red, green, blue);
}
void VN_CALL VnCtxSetBarHeight(VnContext* context, double heightCm) {
  varnel::Set(ContextOf(context), varnel::SetBarHeight, heightCm);
}
void VN_CALL VnCtxSetTransparentBackground(VnContext* context, int transparent) {
  varnel::Set(ContextOf(context), varnel::SetTransparentBackground, transparent);
}

VnBool VN_CALL VnCtxSaveAsBMP(VnContext* context, const char* path) {
  return varnel::Saved(varnel::PictureFormat::kBmp, ContextOf(context), path);
}
VnBool VN_CALL VnCtxSaveAsWMF(VnContext* context, const char* path) {
  return varnel::Saved(varnel::PictureFormat::kWmf, ContextOf(context), path);
}
VnBool VN_CALL VnCtxSaveAsEMF(VnContext* context, const char* path) {
  return varnel::Saved(varnel::PictureFormat::kEmf, ContextOf(context), path);
}

int VN_CALL VnCtxRenderToMemory(VnContext* context, int format, void* buffer, int size) {
  return varnel::CopiedToMemory(ContextOf(context), format, buffer, size);
}

VnBool VN_CALL VnCtxCopyToClipboard(VnContext* context) {
  varnel::Context* engine = ContextOf(context);
  if (engine == nullptr) return 0;
  return varnel::Guarded<VnBool>(0, [&] { return varnel::CopyToClipboard(*engine) ? 1 : 0; });
}

VnBool VN_CALL VnCtxMeasure(VnContext* context, int* length, int* thickness) {
  varnel::Context* engine = ContextOf(context);
  if (engine == nullptr) {
    if (length != nullptr) *length = 0;
    if (thickness != nullptr) *thickness = 0;
    return 0;
  }
  return varnel::MeasureInto(*engine, length, thickness);
}

VnBool VN_CALL VnCtxMeasureReach(VnContext* context, int* before, int* after, int* above, int* below, int* frame) {
  return varnel::MeasureReachInto(ContextOf(context), before, after, above, below, frame);
}

const char* VN_CALL VnCtxGetLastError(VnContext* context) {
  const varnel::Context* engine = ContextOf(context);
  return engine != nullptr ? engine->lastError : "";
}

int VN_CALL VnCtxGetLastSaveError(VnContext* context) {
  const varnel::Context* engine = ContextOf(context);
  return engine != nullptr ? engine->lastSaveError : 0;
}

}  // extern "C"
