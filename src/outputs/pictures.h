// A context's barcode rendered and handed over in each format: as a file, in the host's memory, or
// on the clipboard. Every file output returns false when the path is null or empty, the picture
// cannot be made or expressed in the format, or the file cannot be written; any old file then stays
// as it was.
#pragma once

#include <optional>

#include "base/file_bytes.h"
#include "drawing/context.h"
#include "outputs/picture_formats.h"

namespace varnel {

// The file of a format (false for a number that names none); the context's lastSaveError says why
// a save failed, ENOSYS for a number that names no format, and is 0 after one that succeeded.
bool SavePicture(Context& context, PictureFormat format, const char* path);

// A one-bit BMP; refused before rendering when its rows would pass the format's 4 GiB.
bool SaveAsBmp(Context& context, const char* path);

// A placeable Windows metafile whose unit is a screen pixel; refused before rendering when the
// picture does not fit the format's 16-bit coordinates.
bool SaveAsWmf(Context& context, const char* path);

// The enhanced metafile that the clipboard gets, referred to the screen.
bool SaveAsEmf(Context& context, const char* path);

// The barcode as an enhanced metafile referred to the screen; nothing when the picture is too large
// to record or its memory cannot be had.
std::optional<FileBytes> RenderEnhMetaFile(Context& context);

// Puts the barcode on the process's clipboard as an enhanced metafile, in place of what was there.
// False when the clipboard cannot be opened (another holder has it), which leaves the clipboard as
// it was, or when the metafile's memory cannot be had.
bool CopyToClipboard(Context& context);

}  // namespace varnel
