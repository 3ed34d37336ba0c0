// The exports that write a picture to a file, for the suites that hold every one of them to the
// same rules, each with the number the memory output knows its format by; and the memory output
// used as a host uses it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "varnel32.h"

namespace varnel::testing {

struct FileOutput {
  const char* name;
  VnBool (*save)(const char*);
  int format = 0;  // 0 for a list that has no use for it
};

inline constexpr FileOutput kFileOutputs[] = {{"BMP", VnSaveAsBMP, VN_FORMAT_BMP},
                                              {"WMF", VnSaveAsWMF, VN_FORMAT_WMF},
                                              {"EMF", VnSaveAsEMF, VN_FORMAT_EMF},
                                              {"SVG", VnSaveAsSVG, VN_FORMAT_SVG},
                                              {"PNG", VnSaveAsPNG, VN_FORMAT_PNG}};

// The same exports on a context of the host's own.
struct ContextFileOutput {
  const char* name;
  VnBool (*save)(VnContext*, const char*);
  int format = 0;
};

inline constexpr ContextFileOutput kContextFileOutputs[] = {{"BMP", VnCtxSaveAsBMP, VN_FORMAT_BMP},
                                                            {"WMF", VnCtxSaveAsWMF, VN_FORMAT_WMF},
                                                            {"EMF", VnCtxSaveAsEMF, VN_FORMAT_EMF},
                                                            {"SVG", VnCtxSaveAsSVG, VN_FORMAT_SVG},
                                                            {"PNG", VnCtxSaveAsPNG, VN_FORMAT_PNG}};

// A picture as a host takes it from memory: its size first, then its bytes into a buffer of exactly
// that size. Nothing when the export refuses it, or when the second call does not confirm the size.
template <typename Render>
std::optional<std::vector<std::uint8_t>> TakeFromMemory(Render render) {
  const int size = render(nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (render(bytes.data(), size) != size) return std::nullopt;
  return bytes;
}

inline std::optional<std::vector<std::uint8_t>> PictureInMemory(int format) {
  return TakeFromMemory([format](void* buffer, int size) { return VnRenderToMemory(format, buffer, size); });
}

inline std::optional<std::vector<std::uint8_t>> PictureInMemory(VnContext* context, int format) {
  return TakeFromMemory(
      [context, format](void* buffer, int size) { return VnCtxRenderToMemory(context, format, buffer, size); });
}

}  // namespace varnel::testing
