// Drawing one barcode into a file, telling refused data apart from a file that cannot be written.
#pragma once

#include <string>

#include "barcode_options.h"
#include "varnel32.h"

namespace varnel::tool {

enum class WriteOutcome {
  kWritten,
  kRefused,  // the library refused the data; nothing was written
  kFailed,   // no such format, or the file could not be written
};

struct WriteResult {
  WriteOutcome outcome;
  std::string message;  // for the user, empty when written
};

// The library draws refused data as a picture of its message; the tool instead leaves the output
// file as it was, so the data is validated first, which draws nothing and writes nothing. The context
// is the caller's: one thread's at a time.
WriteResult WriteBarcode(VnContext* context, const BarcodeOptions& barcode, const std::string& outputPath);

}  // namespace varnel::tool
