// Independent SVG renderers as oracles: librsvg's rsvg-convert and headless Chromium draw our SVG
// files into PNGs, which are read back with libpng to be set beside our BMP.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/bmp_reader.h"

namespace varnel::testing {

// Whether a command of that name is on the search path.
bool HaveCommand(const std::string& name);

struct SvgRendering {
  std::optional<Bitmap> picture;  // nothing when the renderer failed; over white where transparent
  std::vector<std::uint8_t> alpha;  // each pixel's, laid out as the picture
  std::string errors;             // what it printed on standard error, and why it failed
};

// rsvg-convert at the document's own size, its physical lengths taken at dpiX by dpiY pixels per
// inch (librsvg's default is 96); writes `<svg>.rsvg.png` beside the file.
SvgRendering RenderWithRsvg(const std::string& svgPath, int dpiX = 96, int dpiY = 96);

// A screenshot of a width x height window showing the file in headless Chromium, with a profile of
// its own in `scratchFolder`; writes `<svg>.chromium.png` beside the file. A browser that has not
// finished within a minute is stopped and counts as failed.
SvgRendering ScreenshotWithChromium(const std::string& svgPath, int width, int height,
                                    const std::string& scratchFolder);

}  // namespace varnel::testing
