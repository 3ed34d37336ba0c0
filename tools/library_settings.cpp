#include "library_settings.h"

#include "symbology_conventions.h"

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

bool DrawsCheckCharacter(const BarcodeOptions& barcode) {
  return barcode.addCheckCharacter.value_or(ConventionsOf(barcode.symbology).checkByDefault);
}

void ApplyToContext(VnContext* context, const BarcodeOptions& barcode, const PrintSizes& sizes) {
  VnCtxSetDefault(context);
  VnSetScreenResolution(barcode.resolution.first, barcode.resolution.second);
  VnCtxSetMessage(context, barcode.data.c_str());
  VnCtxBasicInfo(context, barcode.symbology, sizes.narrowWidthCm, barcode.wideRatio, barcode.orientation,
                 barcode.frame);
  // VnBasicInfo keeps to the classic numbers; this one takes the newer ones too.
  VnCtxSetSymbology(context, barcode.symbology);
  if (sizes.barHeightCm) VnCtxSetBarHeight(context, *sizes.barHeightCm);
  VnCtxFontInfo(context, barcode.fontFace.c_str(), sizes.fontHeight);
  VnCtxTextInfo(context, barcode.showText, DrawsCheckCharacter(barcode), barcode.checkCharacterInText);
  VnCtxCodaBarInfo(context, barcode.codabarStart, barcode.codabarStop);
  VnCtxUPCESystem(context, barcode.upceSystem.value_or(0));
  VnCtxSupplementInfo(context, AddOnKind(barcode.addOnDigits), barcode.addOnDigits.c_str(), sizes.addOnGapCm);
  VnCtxSetBarColor(context, barcode.barColor.red, barcode.barColor.green, barcode.barColor.blue);
  VnCtxSetBackColor(context, barcode.backColor.red, barcode.backColor.green, barcode.backColor.blue);
  VnCtxSetTransparentBackground(context, barcode.transparentBackground);
}

}  // namespace varnel::tool
