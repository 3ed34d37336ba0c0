#include "barcode_writer.h"

#include "barcode_data.h"
#include "fitted_size.h"
#include "library_settings.h"
#include "picture_output.h"
#include "print_sizes.h"
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

std::string SizeText(Pair size) { return std::to_string(size.first) + "x" + std::to_string(size.second); }

}  // namespace

WriteResult WriteBarcode(VnContext* context, BarcodeOptions barcode, const std::string& outputPath,
                         const OutputFormat* format) {
  if (format == nullptr) format = FormatForPath(outputPath);
  if (format == nullptr) {
    return {WriteOutcome::kFailed,
            "cannot tell the format of " + outputPath + " from its extension (" + KnownExtensions() + "): add --format",
            {}};
  }
  if (barcode.transparentBackground && !format->transparency) {
    return {WriteOutcome::kFailed, "--transparent is for PNG and SVG, not " + std::string(format->name), {}};
  }
  PreparedData prepared = PrepareData(barcode);
  if (!prepared.refusal.empty()) return {WriteOutcome::kRefused, std::move(prepared.refusal), {}};
  barcode.data = std::move(prepared.data);
  barcode.addOnDigits = std::move(prepared.addOn);
  barcode.upceSystem = prepared.upceSystem;

  const PrintSizes sizes = ResolvePrintSizes(barcode);
  ApplyToContext(context, barcode, sizes);
  MeasuredSymbol symbol{};
  if (!VnCtxMeasure(context, &symbol.length, &symbol.thickness)) {
    return {WriteOutcome::kRefused,
            ExplainRefusal(barcode.symbology, VnCtxGetLastError(context), barcode.data, barcode.addOnDigits), {}};
  }
  std::vector<std::string> warnings = PrintSizeWarnings(barcode, sizes);
  const Pair fitted = FittedPictureSize(barcode, sizes, symbol);
  const Pair picture = barcode.size.value_or(fitted);
  if (picture.first < fitted.first || picture.second < fitted.second) {
    warnings.push_back("the picture is " + SizeText(picture) + " pixels, but the symbol with its quiet zones needs " +
                       SizeText(fitted) + ", so part of them is cut off");
  }
  VnCtxSetSize(context, picture.first, picture.second);
  std::string failure = SavePicture(context, outputPath, *format, picture);
  if (!failure.empty()) return {WriteOutcome::kFailed, std::move(failure), std::move(warnings)};
  return {WriteOutcome::kWritten, {}, std::move(warnings)};
}

}  // namespace varnel::tool
