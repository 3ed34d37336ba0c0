#include "barcode_writer.h"

#include <string_view>

#include "output_formats.h"
#include "varnel32.h"

namespace varnel::tool {
namespace {

// The library's validation message of its last render, empty when the data was drawn.
std::string RefusalOfLastRender() {
  const char* message = VnGetLastError();
  return message == nullptr ? std::string() : std::string(message);
}

std::string RefusalOf(const BarcodeOptions& barcode, const std::string& scratchPath) {
  ApplyToLibrary(barcode);
  VnSetSize(1, 1);
  if (!VnSaveAsBMP(scratchPath.c_str())) return {};  // the real output will meet the same problem
  return RefusalOfLastRender();
}

}  // namespace

WriteResult WriteBarcode(const BarcodeOptions& barcode, const std::string& outputPath,
                         const std::string& scratchPath) {
  const OutputFormat* format = FormatForPath(outputPath);
  if (format == nullptr) {
    return {WriteOutcome::kFailed, "cannot tell the format of " + outputPath +
                                       " from its extension (.bmp, .wmf, .emf, .svg or .png)"};
  }
  if (std::string refusal = RefusalOf(barcode, scratchPath); !refusal.empty()) {
    return {WriteOutcome::kRefused, std::move(refusal)};
  }
  ApplyToLibrary(barcode);
  if (!format->save(outputPath.c_str())) {
    return {WriteOutcome::kFailed, "cannot write " + outputPath};
  }
  // Only when the scratch file could not be written: the output then shows the library's message.
  if (std::string refusal = RefusalOfLastRender(); !refusal.empty()) {
    return {WriteOutcome::kRefused, std::move(refusal)};
  }
  return {WriteOutcome::kWritten, {}};
}

}  // namespace varnel::tool
