// The SVG and PNG exports, classic and on a context.
#include "api/export_guard.h"

extern "C" {

VnBool VN_CALL VnSaveAsSVG(const char* path) {
  return varnel::Saved(varnel::PictureFormat::kSvg, &varnel::DefaultContext(), path);
}
VnBool VN_CALL VnSaveAsPNG(const char* path) {
  return varnel::Saved(varnel::PictureFormat::kPng, &varnel::DefaultContext(), path);
}
VnBool VN_CALL VnCtxSaveAsSVG(VnContext* context, const char* path) {
  return varnel::Saved(varnel::PictureFormat::kSvg, varnel::ContextOf(context), path);
}
VnBool VN_CALL VnCtxSaveAsPNG(VnContext* context, const char* path) {
  return varnel::Saved(varnel::PictureFormat::kPng, varnel::ContextOf(context), path);
}

}  // extern "C"
