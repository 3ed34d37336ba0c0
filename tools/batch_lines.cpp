#include "batch_lines.h"

#include "barcode_writer.h"
#include "csv_fields.h"
#include "exit_codes.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

BatchLine Unusable(int number, std::string why) {
  return {number, LineResult{kExitFailure, std::move(why)}, {}, {}, std::nullopt};
}

BatchLine Understood(int number, const std::string& text) {
  const std::optional<std::vector<std::string>> fields = SplitCsvFields(text);
  if (!fields) return Unusable(number, "unbalanced quotes");
  if (fields->size() < 2 || fields->size() > 3) return Unusable(number, "expected DATA,OUTPUT[,SYMBOLOGY]");
  BatchLine line{number, std::nullopt, (*fields)[0], (*fields)[1], std::nullopt};
  if (line.output.empty()) return Unusable(number, "no output file");
  if (fields->size() == 3 && !(*fields)[2].empty()) {
    line.symbology = FindSymbology((*fields)[2]);
    if (!line.symbology) return Unusable(number, "unknown symbology '" + (*fields)[2] + "'");
  }
  return line;
}

}  // namespace

std::vector<BatchLine> ReadBatchLines(std::istream& in) {
  std::vector<BatchLine> lines;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();  // a file written on Windows
    if (!text.empty()) lines.push_back(Understood(number, text));
  }
  return lines;
}

LineResult DrawBatchLine(VnContext* context, const BarcodeOptions& options, const BatchLine& line) {
  if (line.unusable) return *line.unusable;
  BarcodeOptions barcode = options;
  barcode.data = line.data;
  barcode.symbology = line.symbology.value_or(options.symbology);
  const WriteResult result = WriteBarcode(context, barcode, line.output);
  switch (result.outcome) {
    case WriteOutcome::kWritten: return {kExitSuccess, {}};
    case WriteOutcome::kRefused: return {kExitRefused, line.output + ": " + result.message};
    case WriteOutcome::kFailed: return {kExitFailure, result.message};
  }
  return {kExitFailure, "unexpected outcome"};
}

}  // namespace varnel::tool
