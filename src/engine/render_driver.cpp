#include "engine/render_driver.h"

#include <algorithm>
#include <climits>
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

// A reference rather than a pointer: an entry cannot be written without its encoder, so the table
// needs no check for a null one; nor could GCC make that check while compiling under its
// sanitizers, which take any function's address to be possibly null.
using Encoder = void (&)(Context& context);

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
    if (static_cast<std::size_t>(kEncoders[i].number) != i) return false;
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
void ComputeDeviceSizes(Context& context, ScreenResolution screen) {
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

// The steps every render and the measure share: device sizes, validation (recorded as the last
// outcome) and, for data that is drawn, the text band. False when the data is refused.
bool PrepareRender(Context& context, ScreenResolution screen) {
  ComputeDeviceSizes(context, screen);
  const bool drawable = ValidateMessage(context) != 0;
  context.lastError = drawable ? "" : context.state.errorMessage;
  if (!drawable) return false;
  context.state.textBand = context.settings.showText != 0 ? ClampToInt(std::int64_t{context.settings.font.lfHeight} - 4) : 0;
  return true;
}

// One walk of the encoder from the start of the symbol along the picture, leaving the cursor at its
// end; the symbol's extent if the walk started at the picture's edge.
SymbolExtent WalkSymbol(Context& context, WalkJobs jobs) {
  context.state.walk = jobs;
  context.state.cursor = RunsVertically(context.settings.orientation) ? context.state.offsetY : context.state.offsetX;
  context.state.symbolEnd = 0;
  if (context.settings.symbology >= 0 && context.settings.symbology < kSymbologyCount)
    kEncoders[context.settings.symbology].encode(context);
  return SymbolExtent{context.state.cursor, ClampToInt(std::int64_t{context.state.textBand} + context.state.barHeight)};
}

// The first walk of a two-walk render, from the picture's edge: it prepares the data and measures,
// and as it touches no surface, the measure needs none.
SymbolExtent MeasureSymbol(Context& context) {
  context.state.offsetX = 0;
  context.state.offsetY = 0;
  return WalkSymbol(context, WalkJobs{.preparesData = true, .draws = false});
}

// The surface's state for drawing in the settings' colours, with the text turned as the symbol is,
// and the picture filled with the background.
void StartDrawing(Context& context) {
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
  surface.FillRect(PictureRect(context), context.state.backBrush);
  context.state.humanText[0] = '\0';
}

// The frame goes round the picture, over everything else; a symbol in a box of its own has none.
void FinishDrawing(Context& context) {
  if (FrameWidth(context) > 0) DrawFrame(context, context.settings.frameStyle == kSolidFrame ? 1 : 0);
}

void DrawInTwoWalks(Context& context) {
  CentreSymbol(context, MeasureSymbol(context));
  StartDrawing(context);
  WalkSymbol(context, WalkJobs{.preparesData = false, .draws = true});
  DrawHumanReadable(context);
  FinishDrawing(context);
}

// A symbol drawn from the picture's edge and then shifted to its centred place is exactly the one
// drawn at its place, as long as no coordinate comes near the limits of an int, where sums clamp
// instead of moving. Every coordinate is a sum of a few of: the picture's origin and size, the
// band, the font's height, the add-on's gap and a position along the symbol's elements. A symbol
// has fewer than 2^16 elements (999 characters, none drawn as more than twenty), so with elements
// under 2^12 units the elements span less than 2^28, and with the other sizes under 2^24 every
// such sum stays below 2^30.
bool PlacedExactlyByShift(const Context& context) {
  constexpr std::int64_t kMostSize = std::int64_t{1} << 24, kMostElement = std::int64_t{1} << 12;
  const auto magnitude = [](std::int64_t value) { return value < 0 ? -value : value; };
  const std::int64_t sizes[] = {context.state.originX, context.state.originY, context.settings.width, context.settings.height,
                                context.state.barHeight, context.state.textBand, context.settings.font.lfHeight};
  const std::int64_t longestElement = std::max(4 * magnitude(context.state.narrowWidth), magnitude(context.state.wideWidth));
  const double addOnGap = context.state.dpiAlong * double{context.settings.supplementGapCm} * kInchesPerCm;
  return longestElement < kMostElement && std::fabs(addOnGap) < static_cast<double>(kMostSize) &&
         std::all_of(std::begin(sizes), std::end(sizes), [&](std::int64_t size) { return magnitude(size) < kMostSize; });
}

// The symbol is drawn in one walk from the picture's edge, which also measures it, and then moved
// into its centred place: along the running direction the offset counts from the symbol's start,
// which lies at the right edge when turned 180 degrees and at the bottom edge when turned 90.
void DrawInOneWalk(Context& context) {
  context.state.offsetX = 0;
  context.state.offsetY = 0;
  StartDrawing(context);
  Surface& surface = *context.state.surface;
  const std::size_t firstOfSymbol = surface.Operations().size();
  const SymbolExtent extent = WalkSymbol(context, WalkJobs{.preparesData = true, .draws = true});
  DrawHumanReadable(context);
  CentreSymbol(context, extent);
  const int orientation = context.settings.orientation;
  surface.Shift(firstOfSymbol, orientation == kTurned180 ? -context.state.offsetX : context.state.offsetX,
                orientation == kTurned90 ? -context.state.offsetY : context.state.offsetY);
  FinishDrawing(context);
}

// A render changes the working message (an appended check digit, an ISBN turned into its EAN-13
// number) for its own later walk; the next render starts again from the data.
void RestoreWorkMessage(Context& context) { std::memcpy(context.state.workMessage, context.settings.message, sizeof context.state.workMessage); }

void RenderWith(Context& context, ScreenResolution screen, void (*drawSymbol)(Context&)) {
  if (!PrepareRender(context, screen)) {
    DrawValidationMessage(context);
    return;
  }
  drawSymbol(context);
  RestoreWorkMessage(context);
}

void DrawInFewestWalks(Context& context) {
  if (PlacedExactlyByShift(context)) {
    DrawInOneWalk(context);
  } else {
    DrawInTwoWalks(context);
  }
}

// The box that every fill and text run of a recording lies in. The frame's lines are left out: it
// is drawn at the picture's edge, not beside the symbol.
Rect DrawnBox(const Surface& surface) {
  Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  const auto take = [&box](const Rect& r) {
    box = Rect{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
               std::max(box.bottom, r.bottom)};
  };
  for (const DrawOp& op : surface.Operations()) {
    if (op.kind == DrawOpKind::kFill) take(surface.Fill(op).rect);
    if (op.kind == DrawOpKind::kText) take(surface.Text(op).clip);  // every run is clipped to its box
  }
  return box;
}

// How far a box reaches past a picture at the origin, side by side in the symbol's directions: its
// start lies on the right when turned 180 degrees, at the bottom when turned 90 and at the top when
// turned 270, and the bars' top on the bottom, left and right edges as it turns.
DrawingReach ReachPast(const Rect& box, int width, int height, int orientation) {
  const auto past = [](std::int64_t overhang) { return ClampToInt(std::max<std::int64_t>(0, overhang)); };
  const int left = past(-std::int64_t{box.left}), top = past(-std::int64_t{box.top});
  const int right = past(std::int64_t{box.right} - width), bottom = past(std::int64_t{box.bottom} - height);
  switch (orientation) {
    case kTurned90: return {bottom, top, left, right};
    case kTurned180: return {right, left, bottom, top};
    case kTurned270: return {top, bottom, right, left};
    default: return {left, right, top, bottom};
  }
}

// The symbol drawn by a render's own steps in a picture the size of its extent, where it is centred
// at the origin; what lies outside that picture reaches past the symbol in any picture.
DrawingReach DrawnReach(Context& context, const SymbolExtent& extent) {
  const bool vertical = RunsVertically(context.settings.orientation);
  // The host's picture size comes back however the drawing ends, a failed allocation included.
  struct HostSize {
    SymbolSettings& settings;
    const int width = settings.width, height = settings.height;
    ~HostSize() {
      settings.width = width;
      settings.height = height;
    }
  } hostSize{context.settings};
  context.settings.width = vertical ? extent.thickness : extent.length;
  context.settings.height = vertical ? extent.length : extent.thickness;
  const Surface& surface = StartRecording(context);
  CentreSymbol(context, extent);
  StartDrawing(context);
  WalkSymbol(context, WalkJobs{.preparesData = false, .draws = true});
  DrawHumanReadable(context);
  const DrawingReach reach =
      ReachPast(DrawnBox(surface), context.settings.width, context.settings.height, context.settings.orientation);
  context.state.surface = nullptr;
  return reach;
}

}  // namespace

void RenderBarcode(Context& context, ScreenResolution screen) { RenderWith(context, screen, DrawInFewestWalks); }

void RenderBarcodeInTwoWalks(Context& context, ScreenResolution screen) { RenderWith(context, screen, DrawInTwoWalks); }

std::optional<SymbolExtent> MeasureBarcode(Context& context) {
  std::optional<SymbolExtent> extent;
  if (PrepareRender(context, GetScreenResolution())) extent = MeasureSymbol(context);
  RestoreWorkMessage(context);
  return extent;
}

std::optional<DrawingReach> MeasureDrawingReach(Context& context) {
  std::optional<DrawingReach> reach;
  if (PrepareRender(context, GetScreenResolution())) reach = DrawnReach(context, MeasureSymbol(context));
  RestoreWorkMessage(context);
  return reach;
}

}  // namespace varnel
