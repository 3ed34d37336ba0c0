#include "render/render_driver.h"

#include <cstdint>
#include <cstring>

#include "platform/screen.h"
#include "render/frame.h"
#include "render/human_readable.h"
#include "render/int_math.h"
#include "render/last_render_error.h"
#include "render/render_state.h"
#include "render/units.h"
#include "render/validation.h"
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

void CentreSymbol(int symbolLength) {
  const std::int64_t band = std::int64_t{state.textBand} + state.barHeight;
  if (RunsVertically(settings.orientation)) {
    state.offsetX = CentredOffset(settings.width, band);
    state.offsetY = CentredOffset(settings.height, symbolLength);
  } else {
    state.offsetY = CentredOffset(settings.height, band);
    state.offsetX = CentredOffset(settings.width, symbolLength);
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
  state.barBrush = Brush{settings.barColor};
  state.backBrush = Brush{settings.backColor};
  ComputeDeviceSizes();
  const bool drawable = ValidateMessage() != 0;
  RecordRenderOutcome(drawable ? nullptr : state.errorMessage);
  if (!drawable) {
    DrawValidationMessage();
    return;
  }

  settings.font.lfEscapement = TextEscapement(settings.orientation);
  settings.font.lfOrientation = settings.font.lfEscapement;
  state.textBand = settings.showText != 0 ? ClampToInt(std::int64_t{settings.font.lfHeight} - 4) : 0;

  Surface& surface = *state.surface;
  surface.SetBkColor(settings.backColor);
  surface.SetTextColor(settings.barColor);
  state.textFont = settings.font;
  surface.SelectFont(state.textFont);
  surface.SetTextAlign(kAlignCenterTop);

  state.measuring = 1;
  state.offsetX = 0;
  state.offsetY = 0;
  DrawSymbol();
  CentreSymbol(state.cursor);

  state.measuring = 0;
  state.humanText[0] = '\0';
  DrawSymbol();

  std::memcpy(state.workMessage, settings.message, sizeof state.workMessage);
}

}  // namespace varnel
