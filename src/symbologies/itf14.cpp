// ITF-14: the fourteen digits of a GTIN-14 in Interleaved 2 of 5, for printing straight onto
// corrugated cartons. A box of bearer bars surrounds the symbol and its quiet zones, so that a
// scanning beam that runs off the top or bottom of the bars meets a bar and not a short read, and
// so that the pressure of the printing plate is spread evenly; its text, the fourteen digits, is
// printed below the box.
#include <cstdint>
#include <cstring>

#include "base/int_math.h"
#include "drawing/element_drawing.h"
#include "drawing/render_state.h"
#include "symbologies/ean_upc.h"
#include "symbologies/encoders.h"
#include "symbologies/two_of_five.h"

namespace varnel {
namespace {

constexpr int kDataDigits = 13;
// The box's bars are five narrow widths thick, and each quiet zone inside it ten.
constexpr int kBearerNarrowWidths = 5;
constexpr int kQuietZoneNarrowWidths = 10;

int NarrowWidths(const Context& context, int count) { return ClampToInt(std::int64_t{count} * context.state.narrowWidth); }

// A bar or a space of the box, the cursor advancing past it.
void DrawBoxElement(Context& context, int length, BarOffsets offsets, bool isBar) {
  DrawElement(context, length, offsets.top, offsets.bottom, isBar ? 1 : 0);
}

}  // namespace

void EncodeItf14(Context& context) {
  // Thirteen digits get their check digit; fourteen already end in it, as validation saw to.
  if (strnlen(context.state.workMessage, kDataDigits + 1) == kDataDigits) AppendCheckDigit(context, kDataDigits);

  // The box takes the whole bar height: its top and bottom bars lie within it, the symbol's bars
  // between them.
  const int bearer = NarrowWidths(context, kBearerNarrowWidths);
  const int quietZone = NarrowWidths(context, kQuietZoneNarrowWidths);
  const BarOffsets box = DataBarOffsets(context);
  const BarOffsets inside{bearer, SaturatingSub(box.bottom, bearer)};
  const BarOffsets topBearer{box.top, SaturatingSub(box.bottom, SaturatingSub(context.state.barHeight, bearer))};
  const BarOffsets bottomBearer{SaturatingSub(context.state.barHeight, bearer), box.bottom};

  const int start = context.state.cursor;
  DrawBoxElement(context, bearer, box, true);
  DrawBoxElement(context, quietZone, box, false);
  DrawInterleavedSymbol(context, context.state.workMessage, inside);
  DrawBoxElement(context, quietZone, box, false);
  DrawBoxElement(context, bearer, box, true);
  const int end = context.state.cursor;

  // The top and bottom of the box run the whole length, over the sides' corners.
  const int length = ClampToInt(std::int64_t{end} - start);
  for (const BarOffsets& edge : {topBearer, bottomBearer}) {
    context.state.cursor = start;
    DrawBoxElement(context, length, edge, true);
  }
  context.state.cursor = end;
}

}  // namespace varnel
