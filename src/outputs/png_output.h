#pragma once

namespace varnel {

// Renders the settings' barcode and writes it as a one-bit palette PNG with the screen's
// resolution; false when the picture cannot be allocated, the path is null or the file cannot be
// written.
bool SaveAsPng(const char* path);

}  // namespace varnel
