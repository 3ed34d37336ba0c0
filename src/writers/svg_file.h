// The SVG file: the recorded picture as vector shapes in a document one user unit per pixel, the
// picture's size in pixels as its view box, and its physical size at the screen's resolution, in
// millimetres, as its width and height, so that it prints at the size the PNG, which stores the
// resolution, prints at.
//
// - A fill is a rectangle over exactly its cells, in its exact colour. Edges are crisp, so a
//   renderer paints whole pixels as the raster does.
// - A line in the default pen is a black rectangle over the cells the raster gives it.
// - A text run is its cell, a rectangle in the background colour, with the text over it in the
//   text colour, named by the font's family (the generic sans family after it, as the font engine
//   falls back to) at the em size the font engine gives the font's height, so that the cell height
//   is the same. Every character is placed at the font engine's pen position, so that a reader
//   with other metrics keeps our widths. Alignment and turning are those of the raster: the run is
//   laid out in its own frame and turned about its reference point by a transform. A clipped run
//   has a clip path; everything is clipped to the picture by the document's bounds.
//
// Characters XML cannot carry (the controls below 0x20) are left out; the positions of the others
// stay where the engine put them.
//
// A transparent colour, the background's, clears where the raster would paint it: the picture's
// background is not drawn at all, and a text box clears the bars beneath it (see svg_canvas.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/file_bytes.h"
#include "drawing/surface.h"
#include "platform/screen.h"

namespace varnel {

// The whole file, or nothing when its memory cannot be had.
std::optional<FileBytes> EncodeSvg(const Surface& surface, ScreenResolution screen,
                                   std::optional<COLORREF> transparent);

}  // namespace varnel
