#include "barcode_setup.h"

#include "barcode_data.h"
#include "fitted_size.h"
#include "library_settings.h"
#include "print_sizes.h"
#include "symbol_warnings.h"

namespace varnel::tool {
namespace {

std::string SizeText(Pair size) { return std::to_string(size.first) + "x" + std::to_string(size.second); }

}  // namespace

BarcodeSetUp SetUpBarcode(VnContext* context, BarcodeOptions barcode) {
  PreparedData prepared = PrepareData(barcode);
  if (!prepared.refusal.empty()) {
    return {SetUpOutcome::kDataRefused, std::move(prepared.refusal), {}, std::move(barcode), {}};
  }
  barcode.data = std::move(prepared.data);
  barcode.addOnDigits = std::move(prepared.addOn);
  barcode.upceSystem = prepared.upceSystem;

  const PrintSizes sizes = ResolvePrintSizes(barcode);
  ApplyToContext(context, barcode, sizes);
  MeasuredSymbol symbol{};
  if (!VnCtxMeasure(context, &symbol.length, &symbol.thickness) ||
      !VnCtxMeasureReach(context, &symbol.before, &symbol.after, &symbol.above, &symbol.below, &symbol.frame)) {
    return {SetUpOutcome::kLibraryRefused, {}, {}, std::move(barcode), {}};
  }
  std::vector<std::string> warnings = PrintSizeWarnings(barcode, sizes);
  for (std::string& warning : SymbolWarnings(barcode, sizes, symbol)) warnings.push_back(std::move(warning));
  const Pair fitted = FittedPictureSize(barcode, sizes, symbol);
  const Pair picture = barcode.size.value_or(fitted);
  if (picture.first < fitted.first || picture.second < fitted.second) {
    warnings.push_back("the picture is " + SizeText(picture) + " pixels, but the symbol with its quiet zones needs " +
                       SizeText(fitted) + ", so part of them is cut off");
  }
  VnCtxSetSize(context, picture.first, picture.second);
  return {SetUpOutcome::kReady, {}, std::move(warnings), std::move(barcode), picture};
}

}  // namespace varnel::tool
