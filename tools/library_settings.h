// A barcode of the command line as the library's settings.
#pragma once

#include "barcode_options.h"
#include "print_sizes.h"
#include "value_parsers.h"
#include "varnel32.h"

namespace varnel::tool {

// Every setting but the picture size is set on the context, starting from its defaults, so nothing
// of an earlier barcode remains. The data is taken as the library's bytes. The screen resolution
// is the process's: it is set too, and every barcode of a run has the same, so contexts on other
// threads find the value they would set themselves.
void ApplyToContext(VnContext* context, const BarcodeOptions& barcode, const PrintSizes& sizes);

// Whether the symbology's optional check character is drawn: as the command line says, else as
// its convention has it.
bool DrawsCheckCharacter(const BarcodeOptions& barcode);

}  // namespace varnel::tool
