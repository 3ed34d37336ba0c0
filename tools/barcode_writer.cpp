#include "barcode_writer.h"

#include "output_formats.h"
#include "varnel32.h"

namespace varnel::tool {

WriteResult WriteBarcode(VnContext* context, const BarcodeOptions& barcode, const std::string& outputPath) {
  const OutputFormat* format = FormatForPath(outputPath);
  if (format == nullptr) {
    return {WriteOutcome::kFailed, "cannot tell the format of " + outputPath +
                                       " from its extension (.bmp, .wmf, .emf, .svg or .png)"};
  }
  ApplyToContext(context, barcode);
  if (!VnCtxMeasure(context, nullptr, nullptr)) return {WriteOutcome::kRefused, VnCtxGetLastError(context)};
  if (!format->save(context, outputPath.c_str())) {
    return {WriteOutcome::kFailed, "cannot write " + outputPath};
  }
  return {WriteOutcome::kWritten, {}};
}

}  // namespace varnel::tool
