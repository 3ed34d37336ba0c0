#pragma once

namespace varnel {

// Renders the settings' barcode and writes it as an SVG file; false when the path is null or the
// file cannot be written.
bool SaveAsSvg(const char* path);

}  // namespace varnel
