// The platform records a font in an enhanced metafile from a structure it fills only in part: the
// face name up to its terminator, and in the extended form the full and style names empty, their
// characters after the terminator being whatever its memory held. A reader makes nothing of those
// bytes, but they differ from one recording to the next, so that the same picture would never make
// the same file twice, and they carry pieces of the process's memory out with the picture: they are
// cleared.
#pragma once

#include "base/file_bytes.h"

namespace varnel {

// Zeroes every name character after its terminator in the metafile's font records.
void ClearUnsetFontBytes(FileBytes& metafile);

}  // namespace varnel
