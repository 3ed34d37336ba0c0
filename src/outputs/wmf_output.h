#pragma once

namespace varnel {

// Renders the settings' barcode and writes it as a placeable Windows metafile whose unit is a
// screen pixel; false when the path is null, the picture does not fit the format's 16-bit
// coordinates, or the file cannot be written.
bool SaveAsWmf(const char* path);

}  // namespace varnel
