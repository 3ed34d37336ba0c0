#include "engine/render_driver.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/screen.h"
#include "engine/frame.h"
#include "engine/human_readable.h"
#include "base/int_math.h"
#include "engine/last_render_error.h"
#include "drawing/render_state.h"
#include "base/units.h"
#include "engine/validation.h"
#include "symbologies/encoders.h"

namespace varnel {
namespace {

using Encoder = void (*)();

// Indexed by symbology number; an empty entry draws no bars.
constexpr Encoder kEncoders[kSymbologyCount] = {
    EncodeCodabar,      // 0 Codabar
    EncodeCode11,       // 1 Code 11
    EncodeCode128,      // 2 Code 128
    EncodeCode39,       // 3 Code 39
    EncodeCode39Ascii,  // 4 Code 39 full ASCII
    EncodeCode93,       // 5 Code 93
    EncodeUccEan128,    // 6 UCC/EAN-128 all-numeric
    EncodeEan13,        // 7 EAN-13
    EncodeEan8,         // 8 EAN-8
    EncodeInterleaved2of5,  // 9 Interleaved 2 of 5
    EncodeIsbn,         // 10 ISBN
    EncodeJan13,        // 11 JAN-13
    EncodeJan8,         // 12 JAN-8
    EncodeMatrix2of5,   // 13 Matrix 2 of 5
    EncodeMsi,          // 14 MSI
    EncodePlanet,       // 15 PLANET
    EncodePostnet,      // 16 POSTNET
    EncodeSscc18,       // 17 SSCC-18
    EncodeUccEan128Ai01,  // 18 UCC/EAN-128 AI 01
    EncodeUpcA,         // 19 UPC-A
    EncodeUpcE,         // 20 UPC-E
};

// Along the symbol the screen's resolution in its running direction applies, across it the other.
void ComputeDeviceSizes() {
  const ScreenResolution screen = GetScreenResolution();
  const bool vertical = RunsVertically(settings.orientation);
  state.dpiAcross = vertical ? screen.x : screen.y;
  state.dpiAlong = vertical ? screen.y : screen.x;

  if (settings.barHeightCm != 0.0f)
    state.barHeight = TruncToInt(state.dpiAcross * double{settings.barHeightCm} * kInchesPerCm);
  if (settings.narrowWidthCm != 0.0f)
    state.narrowWidth = TruncToInt(state.dpiAlong * double{settings.narrowWidthCm} * kInchesPerCm);
  state.wideWidth = TruncToInt(double{settings.wideRatio} * state.narrowWidth);
  if (state.narrowWidth <= 0) state.narrowWidth = 1;
  if (state.wideWidth <= 1) state.wideWidth = TruncToInt(double{settings.wideRatio} * state.narrowWidth);
}

// The band of bars and text is centred across the picture and the symbol along it; a symbol larger
// than the picture starts at its edge.
int CentredOffset(std::int64_t pictureSize, std::int64_t contentSize) {
  const std::int64_t offset = (pictureSize - contentSize) / 2;
  return offset < 0 ? 0 : ClampToInt(offset);
}

void CentreSymbol(const SymbolExtent& extent) {
  if (RunsVertically(settings.orientation)) {
    state.offsetX = CentredOffset(settings.width, extent.thickness);
    state.offsetY = CentredOffset(settings.height, extent.length);
  } else {
    state.offsetY = CentredOffset(settings.height, extent.thickness);
    state.offsetX = CentredOffset(settings.width, extent.length);
  }
}

Rect PictureRect() {
  return Rect{state.originX, state.originY, SaturatingAdd(state.originX, settings.width),
              SaturatingAdd(state.originY, settings.height)};
}

// Refused data: the message alone, centred, in the surface's default font and text colour.
void DrawValidationMessage() {
  Surface& surface = *state.surface;
  const Rect picture = PictureRect();
  surface.SetBkColor(settings.backColor);
  surface.SetTextAlign(kAlignCenterTop);
  const Point centre{ClampToInt((std::int64_t{picture.left} + picture.right) / 2),
                     ClampToInt((std::int64_t{picture.top} + picture.bottom) / 2)};
  surface.ExtTextOut(centre, kTextClipped, picture, state.errorMessage,
                     static_cast<int>(std::strlen(state.errorMessage)));
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
std::optional<SymbolExtent> ValidateAndMeasure() {
  ComputeDeviceSizes();
  const bool drawable = ValidateMessage() != 0;
  RecordRenderOutcome(drawable ? nullptr : state.errorMessage);
  if (!drawable) return std::nullopt;

  state.textBand = settings.showText != 0 ? ClampToInt(std::int64_t{settings.font.lfHeight} - 4) : 0;
  state.measuring = 1;
  state.offsetX = 0;
  state.offsetY = 0;
  DrawSymbol();
  return SymbolExtent{state.cursor, ClampToInt(std::int64_t{state.textBand} + state.barHeight)};
}

// The drawing pass over a centred symbol, in the settings' colours, with the text turned as the
// symbol is.
void DrawCentredSymbol() {
  state.barBrush = Brush{settings.barColor};
  state.backBrush = Brush{settings.backColor};
  settings.font.lfEscapement = TextEscapement(settings.orientation);
  settings.font.lfOrientation = settings.font.lfEscapement;

  Surface& surface = *state.surface;
  surface.SetBkColor(settings.backColor);
  surface.SetTextColor(settings.barColor);
  state.textFont = settings.font;
  surface.SelectFont(state.textFont);
  surface.SetTextAlign(kAlignCenterTop);

  state.measuring = 0;
  state.humanText[0] = '\0';
  DrawSymbol();
}

// The measuring pass leaves its changes to the working message (an appended check digit, an ISBN
// turned into its EAN-13 number) for the drawing pass; the next render starts again from the data.
void RestoreWorkMessage() { std::memcpy(state.workMessage, settings.message, sizeof state.workMessage); }

}  // namespace

void DrawSymbol() {
  if (state.measuring == 0) state.surface->FillRect(PictureRect(), state.backBrush);
  state.cursor = RunsVertically(settings.orientation) ? state.offsetY : state.offsetX;
  state.symbolEnd = 0;
  if (settings.symbology >= 0 && settings.symbology < kSymbologyCount && kEncoders[settings.symbology] != nullptr)
    kEncoders[settings.symbology]();
  if (state.measuring != 0) return;
  DrawHumanReadable();
  if (settings.frameStyle == kDashedFrame) DrawFrame(0);
  if (settings.frameStyle == kSolidFrame) DrawFrame(1);
}

void RenderBarcode() {
  const std::optional<SymbolExtent> extent = ValidateAndMeasure();
  if (!extent) {
    DrawValidationMessage();
    return;
  }
  CentreSymbol(*extent);
  DrawCentredSymbol();
  RestoreWorkMessage();
}

std::optional<SymbolExtent> MeasureBarcode() {
  const std::optional<SymbolExtent> extent = ValidateAndMeasure();
  RestoreWorkMessage();
  return extent;
}

}  // namespace varnel
