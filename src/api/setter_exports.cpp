// The eleven setters. They never fail: a value out of range is ignored or replaced by a fixed value,
// and a text longer than its field is cut to the field. Data errors are found at render time.
#include <cstring>
#include <limits>

#include "base/settings.h"
#include "drawing/render_state.h"
#include "base/text_routines.h"
#include "varnel32.h"

namespace varnel {
namespace {

// Copies at most capacity - 1 bytes of text and terminates; NULL is the empty text.
template <std::size_t N>
void StoreText(char (&field)[N], const char* text) {
  const std::size_t length = text == nullptr ? 0 : strnlen(text, N - 1);
  CopyChars(field, text == nullptr ? "" : text, static_cast<int>(length));
}

// Each component outside 0..255 is taken as 0, independently of the others.
COLORREF PackColor(int red, int green, int blue) {
  auto component = [](int value) { return value >= 0 && value <= 255 ? static_cast<COLORREF>(value) : 0u; };
  return component(red) | component(green) << 8 | component(blue) << 16;
}

// "Greater than 0" is false for zero, negative values and NaN alike.
bool IsPositive(double value) { return value > 0.0; }

// Rounds to single precision as the hardware would, including to infinity for values beyond the
// float range, where a plain conversion would be undefined behaviour. Only positive values arrive.
float ToSingle(double value) {
  constexpr double kFirstValueRoundingToInfinity = 0x1.ffffffp+127;  // FLT_MAX plus half an ulp
  return value >= kFirstValueRoundingToInfinity ? std::numeric_limits<float>::infinity()
                                                : static_cast<float>(value);
}

}  // namespace
}  // namespace varnel

using namespace varnel;

extern "C" {

void VN_CALL VnSetDefault(void) {
  settings = SymbolSettings{};
  settings.symbology = kCodabar;
  StoreText(settings.message, "1234");
  StoreText(state.workMessage, "1234");
  settings.width = 300;
  settings.height = 200;
  settings.narrowWidthCm = 0.07f;
  settings.wideRatio = 2.0f;
  settings.barHeightCm = 1.5f;
  settings.showText = 1;
  settings.codabarStart = 'A';
  settings.codabarStop = 'B';
  settings.supplementGapCm = 0.5f;
  settings.font.lfHeight = 24;
  settings.font.lfWeight = 400;
  settings.font.lfCharSet = 1;
  StoreText(settings.font.lfFaceName, "Arial");
  settings.barColor = 0x000000;
  settings.backColor = 0xFFFFFF;
}

void VN_CALL VnSetSize(int width, int height) {
  settings.height = height > 0 ? height : 200;
  settings.width = width > 0 ? width : 300;
}

void VN_CALL VnSetMessage(const char* data) {
  StoreText(settings.message, data);
  std::memcpy(state.workMessage, settings.message, sizeof state.workMessage);
}

void VN_CALL VnFontInfo(const char* faceName, int fontHeight) {
  StoreText(settings.font.lfFaceName, faceName);
  settings.font.lfHeight = fontHeight;
}

void VN_CALL VnTextInfo(int showText, int addCheckDigit, int checkDigitInText) {
  settings.showText = showText;
  settings.addCheckDigit = addCheckDigit;
  settings.checkDigitInText = checkDigitInText;
}

void VN_CALL VnCodaBarInfo(int start, int stop) {
  if (start >= 0 && start <= 3) settings.codabarStart = static_cast<char>('A' + start);
  if (stop >= 0 && stop <= 3) settings.codabarStop = static_cast<char>('A' + stop);
}

void VN_CALL VnUPCESystem(int system) {
  if (system == 0 || system == 1) settings.upceSystem = static_cast<std::int16_t>(system);
}

void VN_CALL VnSupplementInfo(int kind, const char* digits, double gapCm) {
  if (kind >= kNoSupplement && kind <= kSupplement5) settings.supplementKind = static_cast<std::int16_t>(kind);
  StoreText(settings.supplementText, digits);
  if (IsPositive(gapCm)) settings.supplementGapCm = ToSingle(gapCm);
}

void VN_CALL VnBasicInfo(int symbology, double narrowWidthCm, double wideRatio, int orientation,
                         int frameStyle) {
  if (symbology >= 0 && symbology < kSymbologyCount) settings.symbology = static_cast<std::int16_t>(symbology);
  if (IsPositive(narrowWidthCm)) settings.narrowWidthCm = ToSingle(narrowWidthCm);
  if (IsPositive(wideRatio)) settings.wideRatio = ToSingle(wideRatio);
  settings.frameStyle = static_cast<std::int16_t>(frameStyle >= kNoFrame && frameStyle <= kSolidFrame ? frameStyle : kNoFrame);
  settings.orientation = static_cast<std::int16_t>(orientation >= kUpright && orientation <= kTurned270 ? orientation : kUpright);
}

void VN_CALL VnSetBackColor(int red, int green, int blue) { settings.backColor = PackColor(red, green, blue); }

void VN_CALL VnSetBarColor(int red, int green, int blue) { settings.barColor = PackColor(red, green, blue); }

}  // extern "C"
