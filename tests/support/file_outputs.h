// The exports that write a picture to a file, for the suites that hold every one of them to the
// same rules.
#pragma once

#include "varnel32.h"

namespace varnel::testing {

struct FileOutput {
  const char* name;
  VnBool (*save)(const char*);
};

inline constexpr FileOutput kFileOutputs[] = {
    {"BMP", VnSaveAsBMP}, {"WMF", VnSaveAsWMF}, {"EMF", VnSaveAsEMF}, {"SVG", VnSaveAsSVG}, {"PNG", VnSaveAsPNG}};

// The same exports on a context of the host's own.
struct ContextFileOutput {
  const char* name;
  VnBool (*save)(VnContext*, const char*);
};

inline constexpr ContextFileOutput kContextFileOutputs[] = {{"BMP", VnCtxSaveAsBMP},
                                                            {"WMF", VnCtxSaveAsWMF},
                                                            {"EMF", VnCtxSaveAsEMF},
                                                            {"SVG", VnCtxSaveAsSVG},
                                                            {"PNG", VnCtxSaveAsPNG}};

}  // namespace varnel::testing
