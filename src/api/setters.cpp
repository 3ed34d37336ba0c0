#include "api/setters.h"

#include <cstring>
#include <limits>

#include "base/text_routines.h"

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

// Every centimetre setting, and the ratio, keeps its value unless given one above 0, and keeps it in
// single precision as the settings record always has: a value too large for it becomes infinity,
// which the render turns into the largest int of pixels.
void StoreIfPositive(float& field, double value) {
  if (IsPositive(value)) field = ToSingle(value);
}

}  // namespace

void SetDefault(Context& context) {
  context.settings = SymbolSettings{};
  context.settings.symbology = kCodabar;
  StoreText(context.settings.message, "1234");
  StoreText(context.state.workMessage, "1234");
  context.settings.width = 300;
  context.settings.height = 200;
  context.settings.narrowWidthCm = 0.07f;
  context.settings.wideRatio = 2.0f;
  context.settings.barHeightCm = 1.5f;
  context.settings.showText = 1;
  context.settings.codabarStart = 'A';
  context.settings.codabarStop = 'B';
  context.settings.supplementGapCm = 0.5f;
  context.settings.font.lfHeight = 24;
  context.settings.font.lfWeight = 400;
  context.settings.font.lfCharSet = 1;
  StoreText(context.settings.font.lfFaceName, "Arial");
  context.settings.barColor = 0x000000;
  context.settings.backColor = 0xFFFFFF;
}

void SetSize(Context& context, int width, int height) {
  context.settings.height = height > 0 ? height : 200;
  context.settings.width = width > 0 ? width : 300;
}

void SetMessage(Context& context, const char* data) {
  StoreText(context.settings.message, data);
  std::memcpy(context.state.workMessage, context.settings.message, sizeof context.state.workMessage);
}

void SetFont(Context& context, const char* faceName, int fontHeight) {
  StoreText(context.settings.font.lfFaceName, faceName);
  context.settings.font.lfHeight = fontHeight;
}

void SetTextInfo(Context& context, int showText, int addCheckDigit, int checkDigitInText) {
  context.settings.showText = showText;
  context.settings.addCheckDigit = addCheckDigit;
  context.settings.checkDigitInText = checkDigitInText;
}

void SetCodabarInfo(Context& context, int start, int stop) {
  if (start >= 0 && start <= 3) context.settings.codabarStart = static_cast<char>('A' + start);
  if (stop >= 0 && stop <= 3) context.settings.codabarStop = static_cast<char>('A' + stop);
}

void SetUpcESystem(Context& context, int system) {
  if (system == 0 || system == 1) context.settings.upceSystem = static_cast<std::int16_t>(system);
}

void SetSupplementInfo(Context& context, int kind, const char* digits, double gapCm) {
  if (kind >= kNoSupplement && kind <= kSupplement5) context.settings.supplementKind = static_cast<std::int16_t>(kind);
  StoreText(context.settings.supplementText, digits);
  StoreIfPositive(context.settings.supplementGapCm, gapCm);
}

void SetSymbology(Context& context, int symbology) {
  if (symbology >= 0 && symbology < kSymbologyCount) context.settings.symbology = static_cast<std::int16_t>(symbology);
}

void SetBasicInfo(Context& context, int symbology, double narrowWidthCm, double wideRatio, int orientation,
                  int frameStyle) {
  if (symbology >= 0 && symbology < kClassicSymbologyCount) SetSymbology(context, symbology);
  StoreIfPositive(context.settings.narrowWidthCm, narrowWidthCm);
  StoreIfPositive(context.settings.wideRatio, wideRatio);
  context.settings.frameStyle = static_cast<std::int16_t>(frameStyle >= kNoFrame && frameStyle <= kSolidFrame ? frameStyle : kNoFrame);
  context.settings.orientation = static_cast<std::int16_t>(orientation >= kUpright && orientation <= kTurned270 ? orientation : kUpright);
}

void SetBarHeight(Context& context, double heightCm) { StoreIfPositive(context.settings.barHeightCm, heightCm); }

void SetTransparentBackground(Context& context, int transparent) {
  context.settings.transparentBackground = transparent != 0 ? 1 : 0;
}

void SetBackColor(Context& context, int red, int green, int blue) { context.settings.backColor = PackColor(red, green, blue); }

void SetBarColor(Context& context, int red, int green, int blue) { context.settings.barColor = PackColor(red, green, blue); }

}  // namespace varnel
