// The lines of a batch: read, understood as barcodes, and drawn.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "barcode_options.h"
#include "output_formats.h"
#include "varnel32.h"

namespace varnel::tool {

struct LineResult {
  int exitCode;
  std::string message;                // for the user, empty when written
  std::vector<std::string> warnings;  // about a picture drawn all the same
};

// Only what the line itself says, so that a long batch held whole takes little more than its text.
struct BatchLine {
  int number;  // counted from 1, as editors show it
  std::optional<LineResult> unusable;  // why the line is no barcode at all; then nothing else is set
  std::string data;
  std::string output;
  std::optional<int> symbology;     // when the line names one
  std::optional<std::string> addOn;  // when the line gives one, even an empty one
};

// Every non-empty line of the input: DATA,OUTPUT[,SYMBOLOGY[,ADDON]]. The whole input is read
// first, so that the progress bar knows how far there is to go and lines can be shared out.
std::vector<BatchLine> ReadBatchLines(std::FILE* in);

// Draws the line's barcode, starting from the command line's options, in `format` or the one its
// output's extension names, with the context, which is the caller's alone while it does.
LineResult DrawBatchLine(VnContext* context, const BarcodeOptions& options, const OutputFormat* format,
                         const BatchLine& line);

}  // namespace varnel::tool
