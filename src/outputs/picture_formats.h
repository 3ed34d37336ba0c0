// The formats a picture can be had in, by the numbers the exports give them, and how each is made.
#pragma once

#include "outputs/render_to_surface.h"

namespace varnel {

enum class PictureFormat : int { kBmp = 1, kWmf = 2, kEmf = 3, kSvg = 4, kPng = 5 };

// How the format of that number is made; null for a number that names no format.
const PictureEncoding* EncodingOf(int format);

// The SVG and the PNG, the formats whose writers are the library's own on every platform (null for
// any other number).
const PictureEncoding* SvgPngEncodingOf(int format);

}  // namespace varnel
