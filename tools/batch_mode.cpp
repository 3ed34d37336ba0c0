#include "batch_mode.h"

#include <fstream>
#include <iostream>
#include <vector>

#include "barcode_writer.h"
#include "csv_fields.h"
#include "exit_codes.h"
#include "progress_bar.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

struct BatchLine {
  int number;  // counted from 1, as editors show it
  std::string text;
};

// The whole input is read first so the progress bar knows how far there is to go.
std::vector<BatchLine> ReadLines(std::istream& in) {
  std::vector<BatchLine> lines;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();  // a file written on Windows
    if (!text.empty()) lines.push_back({number, std::move(text)});
  }
  return lines;
}

struct LineResult {
  int exitCode;
  std::string message;
};

LineResult DrawLine(const BatchLine& line, const ToolOptions& options) {
  const std::optional<std::vector<std::string>> fields = SplitCsvFields(line.text);
  if (!fields) return {kExitFailure, "unbalanced quotes"};
  if (fields->size() < 2 || fields->size() > 3) return {kExitFailure, "expected DATA,OUTPUT[,SYMBOLOGY]"};
  BarcodeOptions barcode = options.barcode;
  barcode.data = (*fields)[0];
  const std::string& output = (*fields)[1];
  if (output.empty()) return {kExitFailure, "no output file"};
  if (fields->size() == 3 && !(*fields)[2].empty()) {
    const std::optional<int> symbology = FindSymbology((*fields)[2]);
    if (!symbology) return {kExitFailure, "unknown symbology '" + (*fields)[2] + "'"};
    barcode.symbology = *symbology;
  }
  const WriteResult result = WriteBarcode(barcode, output);
  switch (result.outcome) {
    case WriteOutcome::kWritten: return {kExitSuccess, {}};
    case WriteOutcome::kRefused: return {kExitRefused, output + ": " + result.message};
    case WriteOutcome::kFailed: return {kExitFailure, result.message};
  }
  return {kExitFailure, "unexpected outcome"};
}

}  // namespace

int RunBatch(const ToolOptions& options) {
  std::vector<BatchLine> lines;
  if (options.batchSource == "-") {
    lines = ReadLines(std::cin);
  } else {
    std::ifstream file(options.batchSource);
    if (!file) {
      std::cerr << "varnel: cannot read " << options.batchSource << "\n";
      return kExitFailure;
    }
    lines = ReadLines(file);
  }

  int exitCode = kExitSuccess;
  ProgressBar progress(static_cast<int>(lines.size()), StandardErrorIsTerminal());
  progress.Show(0);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const LineResult result = DrawLine(lines[i], options);
    if (result.exitCode != kExitSuccess) {
      progress.Report("varnel: line " + std::to_string(lines[i].number) + ": " + result.message);
    }
    exitCode = CombinedExitCode(exitCode, result.exitCode);
    progress.Show(static_cast<int>(i + 1));
  }
  return exitCode;
}

}  // namespace varnel::tool
