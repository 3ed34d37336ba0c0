// Without this, ZXing 1.4 announces its coming switch of Result::text() to
// UTF-8 with a #pragma message, which clang reports as a warning and -Werror
// turns into a failed build. Only Result::bytes() is used below, so the choice
// does not change what this file returns.
#define ZX_USE_UTF8 1

#include <utility>

#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>

#include "support/decoders.h"

namespace varnel::testing {

std::vector<Decoded> DecodeWithZxing(const Bitmap& bitmap, const ZxingOptions& options) {
  std::vector<Decoded> found;
  if (bitmap.width <= 0 || bitmap.height <= 0) return found;

  ZXing::DecodeHints hints;
  hints.setFormats(options.formats)
      .setTryHarder(options.try_harder)
      .setTryRotate(options.try_rotate)
      .setTryCode39ExtendedMode(options.code39_extended)
      .setValidateCode39CheckSum(options.validate_code39_checksum)
      .setValidateITFCheckSum(options.validate_itf_checksum)
      .setReturnCodabarStartEnd(options.return_codabar_start_end)
      .setEanAddOnSymbol(options.read_ean_add_on ? ZXing::EanAddOnSymbol::Read
                                                 : ZXing::EanAddOnSymbol::Ignore);

  const ZXing::ImageView view(bitmap.gray.data(), bitmap.width, bitmap.height, ZXing::ImageFormat::Lum);
  for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
    if (!result.isValid()) continue;
    Decoded decoded;
    decoded.format = ZXing::ToString(result.format());
    // bytes() rather than text(): text() runs ZXing's character-set guessing,
    // which can reinterpret the Latin-1 data Code 128 carries.
    const ZXing::ByteArray& bytes = result.bytes();
    decoded.text.assign(bytes.begin(), bytes.end());
    decoded.gs1 = result.contentType() == ZXing::ContentType::GS1;
    decoded.identifier = result.symbologyIdentifier();
    found.push_back(std::move(decoded));
  }
  return found;
}

}  // namespace varnel::testing
