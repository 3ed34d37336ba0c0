// Independent decoders used as oracles: a symbol Varnel32 draws is only
// trusted once readers that share no code with it agree on its content.
#pragma once

#include <string>
#include <vector>

#include <ZXing/BarcodeFormat.h>

#include "support/bmp_reader.h"

namespace varnel::testing {

struct Decoded {
  // The decoder's own name for the symbology, e.g. "CODE-128" from zbar or
  // "Code128" from ZXing; the two libraries spell them differently.
  std::string format;
  // The data bytes exactly as decoded, with no character-set conversion;
  // GS1 field separators appear as the byte 0x1D.
  std::string text;
  // The symbol announced GS1 data (FNC1 in first position).
  bool gs1 = false;
  // The symbology identifier ZXing reports, "]C1" for Code 128 with FNC1 in first position;
  // zbar reports none.
  std::string identifier;
};

// Scans the gray image with every zbar symbology enabled, including the
// EAN-2 and EAN-5 add-ons, which zbar leaves off by default. ISBN reporting
// stays off so that a 978/979 EAN-13 is reported as EAN-13. An EAN/UPC symbol
// with an add-on is returned as two entries, main symbol first. zbar keeps
// the start and stop characters of Codabar in the text ("A12345B").
std::vector<Decoded> DecodeWithZbarSymbols(const Bitmap& bitmap);
std::vector<std::string> DecodeWithZbar(const Bitmap& bitmap);

struct ZxingOptions {
  ZXing::BarcodeFormats formats = ZXing::BarcodeFormat::LinearCodes;
  bool try_harder = true;
  bool try_rotate = true;
  // Off by default so each test states which reading of the data it expects.
  bool code39_extended = false;
  bool validate_code39_checksum = false;
  bool validate_itf_checksum = false;
  bool return_codabar_start_end = false;
  bool read_ean_add_on = true;
};

// An EAN/UPC symbol with an add-on comes back as one entry whose text is the
// main digits, a space, then the add-on digits ("5901234123457 52495").
// Codabar start and stop characters are dropped unless asked for.
std::vector<Decoded> DecodeWithZxing(const Bitmap& bitmap, const ZxingOptions& options = {});

}  // namespace varnel::testing
