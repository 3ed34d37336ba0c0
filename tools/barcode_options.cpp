#include "barcode_options.h"

#include "varnel32.h"

namespace varnel::tool {
namespace {

constexpr int kNoAddOn = 0;
constexpr int kTwoDigitAddOn = 1;
constexpr int kFiveDigitAddOn = 2;

int AddOnKind(const std::string& digits) {
  if (digits.empty()) return kNoAddOn;
  return digits.size() == 2 ? kTwoDigitAddOn : kFiveDigitAddOn;
}

}  // namespace

Pair PictureSize(const BarcodeOptions& barcode) {
  if (barcode.size) return *barcode.size;
  constexpr Pair kLibraryDefault{300, 200};
  const bool turned = barcode.orientation % 2 != 0;
  return turned ? Pair{kLibraryDefault.second, kLibraryDefault.first} : kLibraryDefault;
}

void ApplyToLibrary(const BarcodeOptions& barcode) {
  VnSetDefault();
  VnSetScreenResolution(barcode.resolution.first, barcode.resolution.second);
  const Pair size = PictureSize(barcode);
  VnSetSize(size.first, size.second);
  VnSetMessage(barcode.data.c_str());
  VnBasicInfo(barcode.symbology, barcode.narrowWidthCm, barcode.wideRatio, barcode.orientation, barcode.frame);
  VnFontInfo(barcode.fontFace.c_str(), barcode.fontHeight);
  VnTextInfo(barcode.showText, barcode.addCheckCharacter, barcode.checkCharacterInText);
  VnCodaBarInfo(barcode.codabarStart, barcode.codabarStop);
  VnUPCESystem(barcode.upceSystem);
  VnSupplementInfo(AddOnKind(barcode.addOnDigits), barcode.addOnDigits.c_str(), barcode.addOnGapCm);
  VnSetBarColor(barcode.barColor.red, barcode.barColor.green, barcode.barColor.blue);
  VnSetBackColor(barcode.backColor.red, barcode.backColor.green, barcode.backColor.blue);
}

}  // namespace varnel::tool
