// Drawing one barcode into a file or onto standard output, telling refused data apart from a
// picture that cannot be written.
#pragma once

#include <string>
#include <vector>

#include "barcode_options.h"
#include "output_formats.h"
#include "varnel32.h"

namespace varnel::tool {

enum class WriteOutcome {
  kWritten,
  kRefused,  // the data cannot be drawn; nothing was written
  kFailed,   // no such format, or the picture could not be written
};

struct WriteResult {
  WriteOutcome outcome;
  std::string message;                // for the user, empty when written
  std::vector<std::string> warnings;  // about a picture drawn all the same
};

// A barcode drawn into its context, waiting there to be written: a batch draws on its workers and
// writes on the one thread that reports the lines in their order.
struct DrawnBarcode {
  WriteResult result;  // kWritten while the picture waits; else why there is no picture to write
  const OutputFormat* format = nullptr;
};

// The library draws refused data as a picture of its message; the tool instead leaves the output
// as it was, so the data is validated and measured first, which draws nothing and writes nothing.
// The format is `format`, else the one the path's extension names. The context is the caller's:
// one thread's at a time, and no setter may be called on it before WriteDrawnBarcode.
DrawnBarcode DrawBarcode(VnContext* context, BarcodeOptions barcode, const std::string& outputPath,
                         const OutputFormat* format);

// Writes what DrawBarcode drew into the context, without drawing it again; a barcode that is not
// drawn keeps its result.
WriteResult WriteDrawnBarcode(VnContext* context, const std::string& outputPath, DrawnBarcode drawn);

}  // namespace varnel::tool
