#include "output_formats.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace varnel::tool {
namespace {

// A placeable metafile's coordinates are 16-bit.
constexpr int kLargestMetafileSide = 32767;

constexpr std::array<OutputFormat, 5> kFormats = {{
    {"bmp", ".bmp", VN_FORMAT_BMP, true, false, 0},
    {"wmf", ".wmf", VN_FORMAT_WMF, true, false, kLargestMetafileSide},
    {"emf", ".emf", VN_FORMAT_EMF, true, false, 0},
    {"svg", ".svg", VN_FORMAT_SVG, false, true, 0},
    {"png", ".png", VN_FORMAT_PNG, true, true, 0},
}};

bool EqualsIgnoringCase(std::string_view lowerCase, std::string_view text) {
  return std::equal(lowerCase.begin(), lowerCase.end(), text.begin(), text.end(), [](char wanted, char found) {
    return wanted == std::tolower(static_cast<unsigned char>(found));
  });
}

}  // namespace

std::span<const OutputFormat> AllOutputFormats() { return kFormats; }

const OutputFormat* FormatNamed(std::string_view name) {
  for (const OutputFormat& format : kFormats) {
    if (EqualsIgnoringCase(format.name, name)) return &format;
  }
  return nullptr;
}

const OutputFormat* FormatForPath(std::string_view path) {
  for (const OutputFormat& format : kFormats) {
    if (path.size() >= format.extension.size() &&
        EqualsIgnoringCase(format.extension, path.substr(path.size() - format.extension.size()))) {
      return &format;
    }
  }
  return nullptr;
}

}  // namespace varnel::tool
