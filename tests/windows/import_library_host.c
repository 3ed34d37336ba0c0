/* A host that links Varnel32.dll through an import library rather than loading it: built with
 * mingw against libvarnel32.dll.a, and with clang for MSVC's ABI, linked by LLVM's MSVC-style linker
 * against Varnel32.lib, so that each import library is seen to bind a caller compiled as the header
 * declares the exports (32-bit: __stdcall, decorated) to the DLL's plain names. It uses no C runtime
 * (the MSVC-style link has none), takes no arguments, and writes import-library.bmp in the current
 * folder; its exit code is 0 when every call did what it should. */
#include "varnel32.h"

#ifdef _MSC_VER
/* MSVC's runtime defines the symbol every object with floating point refers to; no runtime here. */
int _fltused = 0;
#endif

int main(void) {
  VnSetDefault();
  VnSetSize(123, 45);
  VnSetMessage("590123412345");
  VnBasicInfo(7, 0.05, 2.0, 0, 0);
  int length = 0, thickness = 0;
  if (!VnMeasure(&length, &thickness) || length <= 0 || thickness <= 0) return 1;
  if (VnGetLastError()[0] != '\0') return 2;
  return VnSaveAsBMP("import-library.bmp") == 1 ? 0 : 3;
}
