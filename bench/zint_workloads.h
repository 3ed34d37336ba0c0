// The speed workloads of workloads.h written against zint's API, for the side-by-side benchmark:
// the same symbols and data, in a picture as near the same size in pixels as zint draws.
#pragma once

#include <zint.h>

#include <memory>

#include "workloads.h"

namespace varnel::bench {

struct ZintWorkload {
  const char* name;  // that of the workload in kWorkloads at the same place
  int symbology;
  const char* data;
};

// EAN-13 590123412345 with the add-on 52495, Code 128 "Code 128", POSTNET 12345 (zint always adds
// its check digit) and Code 39 "1234", each with zint's text where the symbology has one.
extern const ZintWorkload kZintWorkloads[4];

struct ZintSymbolDelete {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using ZintSymbol = std::unique_ptr<zint_symbol, ZintSymbolDelete>;

struct ZintLabel {
  ZintSymbol symbol;    // set up, with nothing encoded
  const char* data;     // what each render encodes
  PictureSize picture;  // the size of its raster picture
};

// The workload's symbol, its raster picture sized as near `size` as zint allows; null when zint
// refuses the data.
ZintLabel MakeZintLabel(const ZintWorkload& workload, PictureSize size);

}  // namespace varnel::bench
