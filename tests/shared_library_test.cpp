// The shared library as a host loads it: every export resolves by its undecorated name.
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

TEST(SharedLibraryTest, ExportsResolveByUndecoratedName) {
  void* library = dlopen(VARNEL32_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* name : {"VnSetDefault", "VnSetSize", "VnSetMessage", "VnFontInfo", "VnTextInfo", "VnCodaBarInfo",
                           "VnUPCESystem", "VnSupplementInfo", "VnBasicInfo", "VnSetBackColor", "VnSetBarColor",
                           "VnSaveAsBMP"}) {
    EXPECT_NE(dlsym(library, name), nullptr) << name;
  }
  EXPECT_EQ(dlsym(library, "RenderBarcode"), nullptr) << "engine internals stay hidden";
  EXPECT_EQ(dlsym(library, "_ZN6varnel13RenderBarcodeEv"), nullptr) << "engine internals stay hidden";
  dlclose(library);
}

}  // namespace
