#include "output_formats.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace varnel::tool {
namespace {

constexpr std::array<OutputFormat, 5> kFormats = {{
    {".bmp", VnCtxSaveAsBMP},
    {".wmf", VnCtxSaveAsWMF},
    {".emf", VnCtxSaveAsEMF},
    {".svg", VnCtxSaveAsSVG},
    {".png", VnCtxSaveAsPNG},
}};

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char wanted, char found) {
                      return wanted == std::tolower(static_cast<unsigned char>(found));
                    });
}

}  // namespace

std::span<const OutputFormat> AllOutputFormats() { return kFormats; }

const OutputFormat* FormatForPath(std::string_view path) {
  for (const OutputFormat& format : kFormats) {
    if (EndsWithIgnoringCase(path, format.extension)) return &format;
  }
  return nullptr;
}

}  // namespace varnel::tool
