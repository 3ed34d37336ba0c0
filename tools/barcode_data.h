// The data and add-on of a barcode turned from what the user typed into the library's bytes.
#pragma once

#include <optional>
#include <string>

#include "barcode_options.h"

namespace varnel::tool {

struct PreparedData {
  std::string data;
  std::string addOn;
  std::optional<int> upceSystem;
  std::string refusal;  // why the data cannot be drawn; then the rest is unset
};

// UTF-8 becomes the bytes readers decode the symbology in (unless --raw), and retail numbers and
// GS1 keys the library's form. Empty data, which draws a symbol no scanner reads, is refused, and so
// is data the library would cut short or end early, longer than its 999 bytes or holding a NUL,
// rather than drawn as something else.
PreparedData PrepareData(const BarcodeOptions& barcode);

}  // namespace varnel::tool
