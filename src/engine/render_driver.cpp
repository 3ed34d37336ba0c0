#include "engine/render_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

#include "platform/screen.h"
#include "engine/frame.h"
#include "engine/human_readable.h"
#include "base/int_math.h"
#include "drawing/render_state.h"
#include "base/units.h"
#include "engine/validation.h"
#include "symbologies/catalogue.h"
#include "symbologies/encoders.h"

namespace varnel {
namespace {

using Encoder = void (*)(Context& context);

// Each symbology's encoder, keyed by its number so that the build checks the pairing against the
// catalogue's numbering.
struct EncoderEntry {
  Symbology number;
  Encoder encode;
};
constexpr EncoderEntry kEncoders[] = {
    {kCodabar, EncodeCodabar},
    {kCode11, EncodeCode11},
    {kCode128, EncodeCode128},
    {kCode39, EncodeCode39},
    {kCode39Ascii, EncodeCode39Ascii},
    {kCode93, EncodeCode93},
    {kUccEan128, EncodeUccEan128},
    {kEan13, EncodeEan13},
    {kEan8, EncodeEan8},
    {kInterleaved2of5, EncodeInterleaved2of5},
    {kIsbn, EncodeIsbn},
    {kJan13, EncodeJan13},
    {kJan8, EncodeJan8},
    {kMatrix2of5, EncodeMatrix2of5},
    {kMsi, EncodeMsi},
    {kPlanet, EncodePlanet},
    {kPostnet, EncodePostnet},
    {kSscc18, EncodeSscc18},
    {kUccEan128Ai01, EncodeUccEan128Ai01},
    {kUpcA, EncodeUpcA},
    {kUpcE, EncodeUpcE},
    {kGs1_128, EncodeGs1_128},
    {kItf14, EncodeItf14},
};

constexpr bool EncodersInNumberOrder() {
  for (std::size_t i = 0; i < std::size(kEncoders); ++i) {
    if (static_cast<std::size_t>(kEncoders[i].number) != i || kEncoders[i].encode == nullptr) return false;
  }
  return true;
}
static_assert(std::size(kEncoders) == kSymbologyCount, "an encoder for each symbology");
static_assert(EncodersInNumberOrder(), "encoders in the order of their numbers");

// A symbology whose readers expect wide elements of a set range of narrow widths gets the whole
// pixels nearest its ratio within that range. The range spans at least three quarters of a narrow
// width, which is at least one pixel, so it always holds a whole number of pixels.
void KeepWideWithinRange(Context& context) {
  const SymbologyRow* row = FindSymbology(context.settings.symbology);
  if (row == nullptr || row->wideRange.most <= 0.0) return;
  const double narrow = context.state.narrowWidth;
  const int least = ClampToInt(static_cast<std::int64_t>(std::ceil(row->wideRange.least * narrow)));
  const int most = ClampToInt(static_cast<std::int64_t>(std::floor(row->wideRange.most * narrow)));
  context.state.wideWidth = std::clamp(context.state.wideWidth, least, most);
}

// Along the symbol the screen's resolution in its running direction applies, across it the other.
void ComputeDeviceSizes(Context& context) {
  const ScreenResolution screen = GetScreenResolution();
  const bool vertical = RunsVertically(context.settings.orientation);
  context.state.dpiAcross = vertical ? screen.x : screen.y;
  context.state.dpiAlong = vertical ? screen.y : screen.x;

  if (context.settings.barHeightCm != 0.0f)
    context.state.barHeight = TruncToInt(context.state.dpiAcross * double{context.settings.barHeightCm} * kInchesPerCm);
  if (context.settings.narrowWidthCm != 0.0f)
    context.state.narrowWidth = TruncToInt(context.state.dpiAlong * double{context.settings.narrowWidthCm} * kInchesPerCm);
  context.state.wideWidth = TruncToInt(double{context.settings.wideRatio} * context.state.narrowWidth);
  if (context.state.narrowWidth <= 0) context.state.narrowWidth = 1;
  if (context.state.wideWidth <= 1) context.state.wideWidth = TruncToInt(double{context.settings.wideRatio} * context.state.narrowWidth);
  KeepWideWithinRange(context);
}

// The band of bars and text is centred across the picture and the symbol along it; a symbol larger
// than the picture starts at its edge.
int CentredOffset(std::int64_t pictureSize, std::int64_t contentSize) {
  const std::int64_t offset = (pictureSize - contentSize) / 2;
  return offset < 0 ? 0 : ClampToInt(offset);
}

void CentreSymbol(Context& context, const SymbolExtent& extent) {
  if (RunsVertically(context.settings.orientation)) {
    context.state.offsetX = CentredOffset(context.settings.width, extent.thickness);
    context.state.offsetY = CentredOffset(context.settings.height, extent.length);
  } else {
    context.state.offsetY = CentredOffset(context.settings.height, extent.thickness);
    context.state.offsetX = CentredOffset(context.settings.width, extent.length);
  }
}

Rect PictureRect(Context& context) {
  return Rect{context.state.originX, context.state.originY, SaturatingAdd(context.state.originX, context.settings.width),
              SaturatingAdd(context.state.originY, context.settings.height)};
}

// Refused data: the message alone, centred, in the surface's default font and text colour.
void DrawValidationMessage(Context& context) {
  Surface& surface = *context.state.surface;
  const Rect picture = PictureRect(context);
  surface.SetBkColor(context.settings.backColor);
  surface.SetTextAlign(kAlignCenterTop);
  const Point centre{ClampToInt((std::int64_t{picture.left} + picture.right) / 2),
                     ClampToInt((std::int64_t{picture.top} + picture.bottom) / 2)};
  surface.ExtTextOut(centre, kTextClipped, picture, context.state.errorMessage,
                     static_cast<int>(std::strlen(context.state.errorMessage)));
}

// Text turns with the symbol, counter-clockwise in tenths of a degree.
int TextEscapement(int orientation) {
  constexpr int kEscapements[] = {3600, 900, 1800, 2700};
  return kEscapements[orientation >= 0 && orientation <= 3 ? orientation : 0];
}

// The steps the render and the measure share: device sizes, validation (recorded as the last
// outcome) and, for data that is drawn, the text band and the measuring pass, which starts the cursor
// at 0 and so leaves it at the symbol's length. That pass only adds up lengths and touches no
// surface, so the measure needs none. Nothing when the data is refused.
std::optional<SymbolExtent> ValidateAndMeasure(Context& context) {
  ComputeDeviceSizes(context);
  const bool drawable = ValidateMessage(context) != 0;
  context.lastError = drawable ? "" : context.state.errorMessage;
  if (!drawable) return std::nullopt;

  context.state.textBand = context.settings.showText != 0 ? ClampToInt(std::int64_t{context.settings.font.lfHeight} - 4) : 0;
  context.state.measuring = 1;
  context.state.offsetX = 0;
  context.state.offsetY = 0;
  DrawSymbol(context);
  return SymbolExtent{context.state.cursor, ClampToInt(std::int64_t{context.state.textBand} + context.state.barHeight)};
}

// The drawing pass over a centred symbol, in the settings' colours, with the text turned as the
// symbol is.
void DrawCentredSymbol(Context& context) {
  context.state.barBrush = Brush{context.settings.barColor};
  context.state.backBrush = Brush{context.settings.backColor};
  context.settings.font.lfEscapement = TextEscapement(context.settings.orientation);
  context.settings.font.lfOrientation = context.settings.font.lfEscapement;

  Surface& surface = *context.state.surface;
  surface.SetBkColor(context.settings.backColor);
  surface.SetTextColor(context.settings.barColor);
  context.state.textFont = context.settings.font;
  surface.SelectFont(context.state.textFont);
  surface.SetTextAlign(kAlignCenterTop);

  context.state.measuring = 0;
  context.state.humanText[0] = '\0';
  DrawSymbol(context);
}

// The measuring pass leaves its changes to the working message (an appended check digit, an ISBN
// turned into its EAN-13 number) for the drawing pass; the next render starts again from the data.
void RestoreWorkMessage(Context& context) { std::memcpy(context.state.workMessage, context.settings.message, sizeof context.state.workMessage); }

}  // namespace

void DrawSymbol(Context& context) {
  if (context.state.measuring == 0) context.state.surface->FillRect(PictureRect(context), context.state.backBrush);
  context.state.cursor = RunsVertically(context.settings.orientation) ? context.state.offsetY : context.state.offsetX;
  context.state.symbolEnd = 0;
  if (context.settings.symbology >= 0 && context.settings.symbology < kSymbologyCount)
    kEncoders[context.settings.symbology].encode(context);
  if (context.state.measuring != 0) return;
  DrawHumanReadable(context);
  // A symbol in a box of its own has no other frame.
  const SymbologyRow* row = FindSymbology(context.settings.symbology);
  if (row != nullptr && row->bearerBox) return;
  if (context.settings.frameStyle == kDashedFrame) DrawFrame(context, 0);
  if (context.settings.frameStyle == kSolidFrame) DrawFrame(context, 1);
}

void RenderBarcode(Context& context) {
  const std::optional<SymbolExtent> extent = ValidateAndMeasure(context);
  if (!extent) {
    DrawValidationMessage(context);
    return;
  }
  CentreSymbol(context, *extent);
  DrawCentredSymbol(context);
  RestoreWorkMessage(context);
}

std::optional<SymbolExtent> MeasureBarcode(Context& context) {
  const std::optional<SymbolExtent> extent = ValidateAndMeasure(context);
  RestoreWorkMessage(context);
  return extent;
}

}  // namespace varnel
