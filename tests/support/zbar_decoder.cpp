// zbar and ZXing each get a file of their own: ZXing's Error.h defines
// FormatError and UnsupportedError as macros, which break zbar's C++ headers
// when both are seen in one translation unit.
#include <memory>
#include <utility>

#include <zbar.h>

#include "support/decoders.h"

namespace varnel::testing {
namespace {

// Compiled as C++, zbar.h declares its C interface inside namespace zbar.
using namespace zbar;

struct ScannerDeleter {
  void operator()(zbar_image_scanner_t* scanner) const { zbar_image_scanner_destroy(scanner); }
};
struct ImageDeleter {
  void operator()(zbar_image_t* image) const { zbar_image_destroy(image); }
};

void Collect(const zbar_symbol_t* symbol, std::vector<Decoded>& found) {
  const zbar_symbol_type_t type = zbar_symbol_get_type(symbol);
  // zbar joins an EAN/UPC symbol and its add-on into a composite; report the
  // parts so each can be compared with what was encoded on its own.
  if (type == ZBAR_COMPOSITE) {
    const zbar_symbol_set_t* parts = zbar_symbol_get_components(symbol);
    for (const zbar_symbol_t* part = parts ? zbar_symbol_set_first_symbol(parts) : nullptr; part;
         part = zbar_symbol_next(part)) {
      Collect(part, found);
    }
    return;
  }
  Decoded decoded;
  decoded.format = zbar_get_symbol_name(type);
  decoded.text.assign(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
  decoded.gs1 = (zbar_symbol_get_modifiers(symbol) & (1u << ZBAR_MOD_GS1)) != 0;
  found.push_back(std::move(decoded));
}

}  // namespace

std::vector<Decoded> DecodeWithZbarSymbols(const Bitmap& bitmap) {
  std::vector<Decoded> found;
  if (bitmap.width <= 0 || bitmap.height <= 0) return found;

  const std::unique_ptr<zbar_image_scanner_t, ScannerDeleter> scanner(zbar_image_scanner_create());
  zbar_image_scanner_set_config(scanner.get(), ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
  // Named again although ZBAR_NONE covered them: these are the ones the
  // suites depend on, and the add-ons in particular are off unless asked for.
  for (const zbar_symbol_type_t type : {ZBAR_EAN2, ZBAR_EAN5, ZBAR_EAN8, ZBAR_EAN13, ZBAR_UPCA, ZBAR_UPCE,
                                        ZBAR_I25, ZBAR_CODABAR, ZBAR_CODE39, ZBAR_CODE93, ZBAR_CODE128}) {
    zbar_image_scanner_set_config(scanner.get(), type, ZBAR_CFG_ENABLE, 1);
  }
  zbar_image_scanner_set_config(scanner.get(), ZBAR_ISBN10, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(scanner.get(), ZBAR_ISBN13, ZBAR_CFG_ENABLE, 0);

  const std::unique_ptr<zbar_image_t, ImageDeleter> image(zbar_image_create());
  zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar_image_set_size(image.get(), static_cast<unsigned>(bitmap.width), static_cast<unsigned>(bitmap.height));
  // No cleanup handler: the pixels belong to the bitmap, which outlives the image.
  zbar_image_set_data(image.get(), bitmap.gray.data(), bitmap.gray.size(), nullptr);

  if (zbar_scan_image(scanner.get(), image.get()) <= 0) return found;
  for (const zbar_symbol_t* symbol = zbar_image_first_symbol(image.get()); symbol;
       symbol = zbar_symbol_next(symbol)) {
    Collect(symbol, found);
  }
  return found;
}

std::vector<std::string> DecodeWithZbar(const Bitmap& bitmap) {
  std::vector<std::string> texts;
  for (Decoded& decoded : DecodeWithZbarSymbols(bitmap)) texts.push_back(std::move(decoded.text));
  return texts;
}

}  // namespace varnel::testing
