#include "batch_lines.h"

#include <sys/types.h>

#include <cstdlib>

#include "barcode_writer.h"
#include "csv_fields.h"
#include "exit_codes.h"
#include "picture_output.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

constexpr std::size_t kDataField = 0;
constexpr std::size_t kOutputField = 1;
constexpr std::size_t kSymbologyField = 2;
constexpr std::size_t kAddOnField = 3;

BatchLine Unusable(int number, std::string why) {
  return {number, LineResult{kExitFailure, std::move(why), {}}, {}, {}, std::nullopt, std::nullopt};
}

BatchLine Understood(int number, const std::string& text) {
  const std::optional<std::vector<std::string>> fields = SplitCsvFields(text);
  if (!fields) return Unusable(number, "unbalanced quotes");
  if (fields->size() <= kOutputField || fields->size() > kAddOnField + 1) {
    return Unusable(number, "expected DATA,OUTPUT[,SYMBOLOGY[,ADDON]]");
  }
  BatchLine line{number, std::nullopt, (*fields)[kDataField], (*fields)[kOutputField], std::nullopt, std::nullopt};
  if (line.output.empty()) return Unusable(number, "no output file");
  if (line.output == kStandardOutput) return Unusable(number, "a batch line writes a file, not standard output");
  if (fields->size() > kSymbologyField && !(*fields)[kSymbologyField].empty()) {
    line.symbology = FindSymbology((*fields)[kSymbologyField]);
    if (!line.symbology) return Unusable(number, "unknown symbology '" + (*fields)[kSymbologyField] + "'");
  }
  if (fields->size() > kAddOnField) line.addOn = (*fields)[kAddOnField];
  return line;
}

}  // namespace

std::vector<BatchLine> ReadBatchLines(std::FILE* in) {
  std::vector<BatchLine> lines;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  for (int number = 1;; ++number) {
    const ssize_t length = ::getline(&buffer, &capacity, in);
    if (length < 0) break;
    std::string text(buffer, static_cast<std::size_t>(length));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();  // a file written on Windows
    if (!text.empty()) lines.push_back(Understood(number, text));
  }
  std::free(buffer);
  return lines;
}

LineResult DrawBatchLine(VnContext* context, const BarcodeOptions& options, const OutputFormat* format,
                         const BatchLine& line) {
  if (line.unusable) return *line.unusable;
  BarcodeOptions barcode = options;
  barcode.data = line.data;
  barcode.symbology = line.symbology.value_or(options.symbology);
  barcode.addOnDigits = line.addOn.value_or(options.addOnDigits);
  WriteResult result = WriteBarcode(context, barcode, line.output, format);
  switch (result.outcome) {
    case WriteOutcome::kWritten: return {kExitSuccess, {}, std::move(result.warnings)};
    case WriteOutcome::kRefused: return {kExitRefused, line.output + ": " + result.message, std::move(result.warnings)};
    case WriteOutcome::kFailed: return {kExitFailure, std::move(result.message), std::move(result.warnings)};
  }
  return {kExitFailure, "unexpected outcome", {}};
}

}  // namespace varnel::tool
