#pragma once

namespace varnel {

// Renders the settings' barcode as an enhanced metafile and puts it on the clipboard in place of
// what was there. False when the clipboard cannot be opened (another holder has it), which leaves
// the clipboard as it was, or when the metafile's memory cannot be had.
bool CopyToClipboard();

}  // namespace varnel
