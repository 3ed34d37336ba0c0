// The lines of a batch: read as they come, understood as barcodes, drawn, and written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "barcode_writer.h"
#include "command_line.h"
#include "varnel32.h"

namespace varnel::tool {

// The most a line may hold: far more than any barcode's data and file name, and little enough
// that a line of any length costs no more memory than this.
inline constexpr std::size_t kLongestBatchLine = 64 * 1024;

// One line as read, without its line end.
struct InputLine {
  int number = 0;  // counted from 1, as editors show it
  std::string text;
  bool overlong = false;  // past kLongestBatchLine: `text` holds its start alone
};

// Reads a batch's input a line at a time, as it arrives.
class BatchReader {
 public:
  explicit BatchReader(std::FILE* in) : in_(in) {}
  // The next line that is not empty, into `line`, whose memory is used again; false at the end of
  // the input.
  bool Next(InputLine& line);

 private:
  std::FILE* in_;
  int number_ = 0;
};

// How many lines a regular file holds from where it is read, read through and rewound; nothing for
// input that cannot be read twice, such as a pipe.
std::optional<int> CountLines(std::FILE* in);

struct LineResult {
  int exitCode;
  std::string message;                // for the user, empty when written
  std::vector<std::string> warnings;  // about a picture drawn all the same
};

// A line drawn into a context, waiting there to be written.
struct DrawnLine {
  int number = 0;
  std::string output;
  std::optional<LineResult> unusable;  // why the line is no barcode at all; then nothing is drawn
  DrawnBarcode drawn;
};

// Draws the line's barcode into the context, which is the caller's alone until WriteBatchLine,
// starting from the command line's options: DATA,OUTPUT[,SYMBOLOGY[,ADDON]], or DATA alone with
// the file named by --name.
DrawnLine DrawBatchLine(VnContext* context, const ToolOptions& options, const InputLine& line);

// Writes the picture DrawBatchLine drew, with the same context.
LineResult WriteBatchLine(VnContext* context, DrawnLine line);

}  // namespace varnel::tool
