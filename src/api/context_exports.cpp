// The reentrant interface: each context is an engine of its own, so that a host may render on
// several threads at once, one context a thread. A null context is refused by every export: no
// effect, or the failure result.
#include <new>

#include "api/export_guard.h"
#include "api/measure.h"
#include "api/setters.h"
#include "outputs/pictures.h"

using varnel::ContextOf;

namespace {

// A setter on the context behind the handle; nothing for a null handle.
template <typename... Arguments>
void SetOn(VnContext* handle, void (*set)(varnel::Context&, Arguments...), Arguments... arguments) {
  if (varnel::Context* context = ContextOf(handle)) set(*context, arguments...);
}

}  // namespace

extern "C" {

VnContext* VN_CALL VnCreateContext(void) {
  return varnel::Guarded<VnContext*>(nullptr, [] {
    auto* handle = new VnContext;
    varnel::SetDefault(handle->context);
    return handle;
  });
}

void VN_CALL VnDestroyContext(VnContext* context) { delete context; }

void VN_CALL VnCtxSetDefault(VnContext* context) { SetOn(context, varnel::SetDefault); }
void VN_CALL VnCtxSetSize(VnContext* context, int width, int height) { SetOn(context, varnel::SetSize, width, height); }
void VN_CALL VnCtxSetMessage(VnContext* context, const char* data) { SetOn(context, varnel::SetMessage, data); }
void VN_CALL VnCtxFontInfo(VnContext* context, const char* faceName, int fontHeight) {
  SetOn(context, varnel::SetFont, faceName, fontHeight);
}
void VN_CALL VnCtxTextInfo(VnContext* context, int showText, int addCheckDigit, int checkDigitInText) {
  SetOn(context, varnel::SetTextInfo, showText, addCheckDigit, checkDigitInText);
}
void VN_CALL VnCtxCodaBarInfo(VnContext* context, int start, int stop) { SetOn(context, varnel::SetCodabarInfo, start, stop); }
void VN_CALL VnCtxUPCESystem(VnContext* context, int system) { SetOn(context, varnel::SetUpcESystem, system); }
void VN_CALL VnCtxSupplementInfo(VnContext* context, int kind, const char* digits, double gapCm) {
  SetOn(context, varnel::SetSupplementInfo, kind, digits, gapCm);
}
void VN_CALL VnCtxBasicInfo(VnContext* context, int symbology, double narrowWidthCm, double wideRatio, int orientation,
                            int frameStyle) {
  SetOn(context, varnel::SetBasicInfo, symbology, narrowWidthCm, wideRatio, orientation, frameStyle);
}
void VN_CALL VnCtxSetSymbology(VnContext* context, int symbology) { SetOn(context, varnel::SetSymbology, symbology); }
void VN_CALL VnCtxSetBackColor(VnContext* context, int red, int green, int blue) {
  SetOn(context, varnel::SetBackColor, red, green, blue);
}
void VN_CALL VnCtxSetBarColor(VnContext* context, int red, int green, int blue) {
  SetOn(context, varnel::SetBarColor, red, green, blue);
}

VnBool VN_CALL VnCtxSaveAsBMP(VnContext* context, const char* path) {
  return varnel::Saved(varnel::SaveAsBmp, ContextOf(context), path);
}
VnBool VN_CALL VnCtxSaveAsWMF(VnContext* context, const char* path) {
  return varnel::Saved(varnel::SaveAsWmf, ContextOf(context), path);
}
VnBool VN_CALL VnCtxSaveAsEMF(VnContext* context, const char* path) {
  return varnel::Saved(varnel::SaveAsEmf, ContextOf(context), path);
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

const char* VN_CALL VnCtxGetLastError(VnContext* context) {
  const varnel::Context* engine = ContextOf(context);
  return engine != nullptr ? engine->lastError : "";
}

}  // extern "C"
