// What a user should hear about a symbol that is drawn all the same but that readers or labels
// will not take.
#pragma once

#include <string>
#include <vector>

#include "barcode_options.h"
#include "fitted_size.h"
#include "print_sizes.h"

namespace varnel::tool {

// One message each when the check characters that common readers require are left out, and when
// the symbol is longer than about 2000 modules, which no label or scanner's view takes.
std::vector<std::string> SymbolWarnings(const BarcodeOptions& barcode, const PrintSizes& sizes,
                                        MeasuredSymbol symbol);

}  // namespace varnel::tool
