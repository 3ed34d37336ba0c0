// A length in pixels as the physical length it has at a resolution, written for a document that
// states its size in millimetres.
#pragma once

#include <string>

namespace varnel {

// `pixels` at `dpi` pixels per inch, in millimetres: a decimal without trailing zeros, within
// 0.001 mm of the length and never over it. See the definition for the digits and the cut.
std::string MillimetresText(int pixels, int dpi);

}  // namespace varnel
