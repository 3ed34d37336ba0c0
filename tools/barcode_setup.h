// A barcode set on a library context, ready to be drawn: its data in the library's form, every
// setting, and the picture that holds the symbol. The tool and the Python binding draw through this
// one step, so that the same options make the same picture in both.
#pragma once

#include <string>
#include <vector>

#include "barcode_options.h"
#include "value_parsers.h"
#include "varnel32.h"

namespace varnel::tool {

enum class SetUpOutcome {
  kReady,
  kDataRefused,     // the text or the retail number cannot become the library's data; see `refusal`
  kLibraryRefused,  // the library refuses the data; its message is the context's last error
};

struct BarcodeSetUp {
  SetUpOutcome outcome;
  std::string refusal;                // when the data is refused before the library sees it
  std::vector<std::string> warnings;  // about a picture drawn all the same
  BarcodeOptions barcode;             // with the data, add-on and UPC-E system the library is given
  Pair picture;                       // the picture's size in pixels, when ready
};

// Prepares the data (see barcode_data.h), sets every setting on the context, has the library
// validate and measure the symbol, and sets the picture's size: `size` when the barcode has one,
// else the fitted size (see fitted_size.h). Nothing is drawn. The context is the caller's: one
// thread's at a time.
BarcodeSetUp SetUpBarcode(VnContext* context, BarcodeOptions barcode);

}  // namespace varnel::tool
