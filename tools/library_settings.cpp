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

void ApplyToContext(VnContext* context, const BarcodeOptions& barcode) {
  VnCtxSetDefault(context);
  VnSetScreenResolution(barcode.resolution.first, barcode.resolution.second);
  const Pair size = PictureSize(barcode);
  VnCtxSetSize(context, size.first, size.second);
  VnCtxSetMessage(context, barcode.data.c_str());
  VnCtxBasicInfo(context, barcode.symbology, barcode.narrowWidthCm, barcode.wideRatio, barcode.orientation,
                 barcode.frame);
  // VnBasicInfo keeps to the classic numbers; this one takes the newer ones too.
  VnCtxSetSymbology(context, barcode.symbology);
  VnCtxFontInfo(context, barcode.fontFace.c_str(), barcode.fontHeight);
  VnCtxTextInfo(context, barcode.showText, barcode.addCheckCharacter, barcode.checkCharacterInText);
  VnCtxCodaBarInfo(context, barcode.codabarStart, barcode.codabarStop);
  VnCtxUPCESystem(context, barcode.upceSystem);
  VnCtxSupplementInfo(context, AddOnKind(barcode.addOnDigits), barcode.addOnDigits.c_str(), barcode.addOnGapCm);
  VnCtxSetBarColor(context, barcode.barColor.red, barcode.barColor.green, barcode.barColor.blue);
  VnCtxSetBackColor(context, barcode.backColor.red, barcode.backColor.green, barcode.backColor.blue);
}

}  // namespace varnel::tool
