#pragma once

namespace varnel {

// Renders the settings' barcode and writes it as a one-bit BMP file; false when the picture cannot
// be allocated or the file cannot be written.
bool SaveAsBmp(const char* path);

}  // namespace varnel
