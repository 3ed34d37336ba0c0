#include "barcode_writer.h"

#include "barcode_setup.h"
#include "picture_output.h"
#include "refusal_hints.h"

namespace varnel::tool {
namespace {

// Built up by appending: GCC 12 warns, wrongly, of overlapping copies in `"" + std::string`.
std::string KnownExtensions() {
  std::string list;
  for (const OutputFormat& format : AllOutputFormats()) {
    if (!list.empty()) list += ' ';
    list += format.extension;
  }
  return list;
}

// A format that --format names against a path whose extension names another: the file will be
// opened by the wrong program, or not at all.
std::vector<std::string> FormatWarnings(const std::string& outputPath, const OutputFormat* format) {
  const OutputFormat* named = FormatForPath(outputPath);
  if (format == nullptr || named == nullptr || named == format) return {};
  return {"--format " + std::string(format->name) + " writes a " + std::string(format->name) + " picture into " +
          outputPath + ", whose extension says " + std::string(named->name)};
}

DrawnBarcode Failed(std::string message, std::vector<std::string> warnings = {}) {
  return {{WriteOutcome::kFailed, std::move(message), std::move(warnings)}};
}

}  // namespace

DrawnBarcode DrawBarcode(VnContext* context, BarcodeOptions barcode, const std::string& outputPath,
                         const OutputFormat* format) {
  std::vector<std::string> warnings = FormatWarnings(outputPath, format);
  if (format == nullptr) format = FormatForPath(outputPath);
  if (format == nullptr) {
    return Failed("cannot tell the format of " + outputPath + " from its extension (" + KnownExtensions() +
                  "): add --format");
  }
  if (barcode.transparentBackground && !format->transparency) {
    return Failed("--transparent is for PNG and SVG, not " + std::string(format->name));
  }
  BarcodeSetUp setUp = SetUpBarcode(context, std::move(barcode));
  switch (setUp.outcome) {
    case SetUpOutcome::kDataRefused: return {{WriteOutcome::kRefused, std::move(setUp.refusal), {}}};
    case SetUpOutcome::kLibraryRefused:
      return {{WriteOutcome::kRefused,
               ExplainRefusal(setUp.barcode.symbology, VnCtxGetLastError(context), setUp.barcode.data,
                              setUp.barcode.addOnDigits),
               {}}};
    case SetUpOutcome::kReady: break;
  }
  warnings.insert(warnings.end(), setUp.warnings.begin(), setUp.warnings.end());
  std::string failure = DrawPicture(context, outputPath, *format, setUp.picture);
  if (!failure.empty()) return Failed(std::move(failure), std::move(warnings));
  return {{WriteOutcome::kWritten, {}, std::move(warnings)}, format};
}

WriteResult WriteDrawnBarcode(VnContext* context, const std::string& outputPath, DrawnBarcode drawn) {
  if (drawn.result.outcome == WriteOutcome::kWritten) {
    std::string failure = WritePicture(context, outputPath, *drawn.format);
    if (!failure.empty()) drawn.result = {WriteOutcome::kFailed, std::move(failure), std::move(drawn.result.warnings)};
  }
  return std::move(drawn.result);
}

}  // namespace varnel::tool
