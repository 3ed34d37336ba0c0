// The steps every output shares: render a context's barcode once onto a surface the size of the
// picture, with the picture's origin at 0, 0, and for the file outputs, encode that surface and put
// the file in place.
#pragma once

#include <optional>

#include "base/file_bytes.h"
#include "drawing/context.h"
#include "drawing/surface.h"

namespace varnel {

// The recording is the context's own, started afresh by every call: it stays valid until the
// context's next render (copy it to keep it longer).
const Surface& RenderToSurface(Context& context);

// A file format's encoder: the whole file, or nothing when the picture cannot be expressed in it.
using PictureEncoder = std::optional<FileBytes> (*)(const Context& context, const Surface& surface);

// Renders, encodes and replaces the file at `path` with the complete new file. False for a null
// or empty path (before anything is drawn), a picture too large to record (see
// Surface::kMaxOperations), a picture the encoder refuses, or a file that cannot be written; an
// old file then stays.
bool SaveRenderedPicture(Context& context, const char* path, PictureEncoder encode);

}  // namespace varnel
