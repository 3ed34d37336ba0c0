// Drawing a recorded surface onto one of the platform's own device contexts: a memory surface with
// a bitmap, a Windows metafile or an enhanced metafile. Each recorded operation becomes the GDI
// call it stands for, in order, with the state it was issued in:
//
// - a fill is FillRect with a solid brush of its colour, over its cells within the picture;
// - a text run is ExtTextOutA in a font from CreateFontIndirectA, with its text and background
//   colours and alignment, clipped to its clip rectangle within the picture when it asks to be;
// - a line is MoveToEx and LineTo in the context's default pen.
//
// Fills and clip rectangles are cut to the picture first, so that a metafile, which keeps
// coordinates as they are given, holds nothing beyond it. Every object made here is deselected and
// deleted before the replay returns.
//
// False when the platform refused a call (no room left for an object or a record): the context
// then does not hold the picture.
#pragma once

#include "drawing/surface.h"

#include "platform/win32/windows_api.h"

namespace varnel {

bool ReplayOnto(HDC dc, const Surface& surface);

}  // namespace varnel
