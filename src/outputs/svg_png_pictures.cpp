// The SVG and the PNG, drawn by the library's own writers on every platform, with the platform's
// fonts.
#include "outputs/picture_formats.h"
#include "writers/png_file.h"
#include "writers/svg_file.h"

namespace varnel {
namespace {

// A transparent background is the background colour made transparent.
std::optional<COLORREF> TransparentColour(const Context& context) {
  if (context.settings.transparentBackground == 0) return std::nullopt;
  return context.settings.backColor;
}

std::optional<FileBytes> EncodeSvgPicture(const Context& context, const Surface& surface, ScreenResolution screen) {
  return EncodeSvg(surface, screen, TransparentColour(context));
}

// Whether a PNG can hold the picture is known from its size alone.
bool PngCanHold(const Context& context, ScreenResolution) {
  return OneBitPngCanHold(context.settings.width, context.settings.height);
}

std::optional<FileBytes> EncodePng(const Context& context, const Surface& surface, ScreenResolution screen) {
  return EncodeOneBitPng(surface, Palette{context.settings.barColor, context.settings.backColor}, screen,
                         context.settings.transparentBackground != 0);
}

constexpr PictureEncoding kSvg{nullptr, EncodeSvgPicture};
constexpr PictureEncoding kPng{PngCanHold, EncodePng};

}  // namespace

const PictureEncoding* SvgPngEncodingOf(int format) {
  switch (static_cast<PictureFormat>(format)) {
    case PictureFormat::kSvg: return &kSvg;
    case PictureFormat::kPng: return &kPng;
    default: return nullptr;
  }
}

}  // namespace varnel
