// The steps every output shares: render a context's barcode once onto a surface the size of the
// picture, with the picture's origin at 0, 0, and encode that surface as a format's file, which the
// file outputs put in place and the memory output hands to the host.
#pragma once

#include <optional>

#include "base/file_bytes.h"
#include "drawing/context.h"
#include "drawing/surface.h"
#include "engine/render_driver.h"

namespace varnel {

// What a surface records: RenderBarcode's picture, or the same picture drawn by another route
// (RenderBarcodeInTwoWalks).
using Render = void (*)(Context& context);

// The recording is the context's own, started afresh by every call: it stays valid until the
// context's next render (copy it to keep it longer).
const Surface& RenderToSurface(Context& context, Render render = RenderBarcode);

// A file format's encoder: the whole file, or nothing when the picture cannot be expressed in it.
using PictureEncoder = std::optional<FileBytes> (*)(const Context& context, const Surface& surface);

// How a format's file is made. `canHold`, where a format has one, says from the settings alone
// whether the format can hold the picture at all, so that a picture it cannot is refused before it
// is drawn.
struct PictureEncoding {
  bool (*canHold)(const Context& context);
  PictureEncoder encode;
};

// The whole file of the context's barcode, or nothing for a picture the format refuses, one too large
// to record (see Surface::kMaxOperations), or one whose memory cannot be had.
std::optional<FileBytes> RenderPicture(Context& context, const PictureEncoding& encoding);

// Replaces the file at `path` with the file's bytes (see ReplaceFileContents): 0 when saved, else
// the errno that says why not.
int SaveFileBytes(const char* path, const FileBytes& file);

// Renders, encodes and replaces the file at `path` with the complete new file. Returns 0 when it
// is saved, else why not as an errno: ENOENT for a null or empty path (before anything is drawn),
// EFBIG or ENOMEM for a picture RenderPicture does not make, or the reason ReplaceFileContents
// gives for a file that cannot be written; an old file then stays.
int SaveRenderedPicture(Context& context, const char* path, const PictureEncoding& encoding);

}  // namespace varnel
