#include "batch_lines.h"

#include <array>

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

// What a line says: the barcode's data and options, and the file it is written to.
struct LineBarcode {
  std::optional<LineResult> unusable;  // why the line is no barcode at all; then nothing else is set
  BarcodeOptions barcode;
  std::string output;
};

LineBarcode Unusable(std::string why) { return {LineResult{kExitFailure, std::move(why), {}}, {}, {}}; }

LineBarcode Understood(const ToolOptions& options, const InputLine& line) {
  if (line.overlong) {
    return Unusable("longer than the " + std::to_string(kLongestBatchLine) + " bytes a line may hold; passed over");
  }
  LineBarcode understood{std::nullopt, options.barcode, {}};
  if (options.fileNames) {
    understood.barcode.data = line.text;
    understood.output = options.fileNames->NameOf(line.number);
    return understood;
  }
  const std::optional<std::vector<std::string>> fields = SplitCsvFields(line.text);
  if (!fields) return Unusable("unbalanced quotes");
  if (fields->size() <= kOutputField || fields->size() > kAddOnField + 1) {
    return Unusable("expected DATA,OUTPUT[,SYMBOLOGY[,ADDON]]");
  }
  understood.barcode.data = (*fields)[kDataField];
  understood.output = (*fields)[kOutputField];
  if (understood.output.empty()) return Unusable("no output file");
  if (understood.output == kStandardOutput) return Unusable("a batch line writes a file, not standard output");
  if (fields->size() > kSymbologyField && !(*fields)[kSymbologyField].empty()) {
    const std::optional<int> symbology = FindSymbology((*fields)[kSymbologyField]);
    if (!symbology) return Unusable("unknown symbology '" + (*fields)[kSymbologyField] + "'");
    understood.barcode.symbology = *symbology;
  }
  if (fields->size() > kAddOnField) understood.barcode.addOnDigits = (*fields)[kAddOnField];
  return understood;
}

}  // namespace

bool BatchReader::Next(InputLine& line) {
  for (;;) {
    line.text.clear();
    line.overlong = false;
    line.number = ++number_;
    int c = std::getc(in_);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(in_)) {
      if (line.text.size() < kLongestBatchLine) {
        line.text += static_cast<char>(c);
      } else {
        line.overlong = true;
      }
    }
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();  // a file written on Windows
    if (!line.text.empty() || line.overlong) return true;
  }
}

std::optional<int> CountLines(std::FILE* in) {
  const long start = std::ftell(in);
  if (start < 0) return std::nullopt;
  std::array<char, 64 * 1024> block;
  int lines = 0;
  char last = '\n';
  for (std::size_t read; (read = std::fread(block.data(), 1, block.size(), in)) > 0;) {
    for (std::size_t i = 0; i < read; ++i) lines += block[i] == '\n';
    last = block[read - 1];
  }
  if (last != '\n') ++lines;
  std::clearerr(in);
  if (std::fseek(in, start, SEEK_SET) != 0) return std::nullopt;
  return lines;
}

DrawnLine DrawBatchLine(VnContext* context, const ToolOptions& options, const InputLine& line) {
  LineBarcode understood = Understood(options, line);
  DrawnLine drawn{line.number, std::move(understood.output), std::move(understood.unusable), {}};
  if (!drawn.unusable) drawn.drawn = DrawBarcode(context, std::move(understood.barcode), drawn.output, options.format);
  return drawn;
}

LineResult WriteBatchLine(VnContext* context, DrawnLine line) {
  if (line.unusable) return *std::move(line.unusable);
  WriteResult result = WriteDrawnBarcode(context, line.output, std::move(line.drawn));
  switch (result.outcome) {
    case WriteOutcome::kWritten: return {kExitSuccess, {}, std::move(result.warnings)};
    case WriteOutcome::kRefused: return {kExitRefused, line.output + ": " + result.message, std::move(result.warnings)};
    case WriteOutcome::kFailed: return {kExitFailure, std::move(result.message), std::move(result.warnings)};
  }
  return {kExitFailure, "unexpected outcome", {}};
}

}  // namespace varnel::tool
