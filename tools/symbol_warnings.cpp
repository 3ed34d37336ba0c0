#include "symbol_warnings.h"

#include "library_settings.h"
#include "symbology_conventions.h"
#include "symbology_names.h"

namespace varnel::tool {
namespace {

// 2000 modules of 0.25 mm, a small but common print size, are half a metre.
constexpr int kLongestModules = 2000;

}  // namespace

std::vector<std::string> SymbolWarnings(const BarcodeOptions& barcode, const PrintSizes& sizes,
                                        MeasuredSymbol symbol) {
  std::vector<std::string> warnings;
  const std::string title(ShortTitle(barcode.symbology));
  if (ConventionsOf(barcode.symbology).checkByDefault && !DrawsCheckCharacter(barcode)) {
    warnings.push_back("the " + title + " symbol is drawn without its check characters, which common readers " +
                       "require: they will not read it");
  }
  const int modules = symbol.length / sizes.narrowPixels;
  if (modules > kLongestModules) {
    warnings.push_back("the symbol is " + std::to_string(modules) + " modules long, more than the about " +
                       std::to_string(kLongestModules) + " that fit on a label or in a scanner's view");
  }
  return warnings;
}

}  // namespace varnel::tool
