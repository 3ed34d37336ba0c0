#include "engine/frame.h"

#include <cstdint>

#include "base/int_math.h"
#include "drawing/render_state.h"
#include "symbologies/catalogue.h"

namespace varnel {
namespace {

constexpr int kDash = 4;

void DrawLine(Context& context, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
  context.state.surface->MoveTo(Point{ClampToInt(x0), ClampToInt(y0)});
  context.state.surface->LineTo(Point{ClampToInt(x1), ClampToInt(y1)});
}

void DrawSolidFrame(Context& context, std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h) {
  DrawLine(context, x0, y0, x0 + w, y0);
  DrawLine(context, x0 + w - 1, y0, x0 + w - 1, y0 + h);
  DrawLine(context, x0 + w, y0 + h - 1, x0, y0 + h - 1);
  DrawLine(context, x0, y0 + h, x0, y0);
}

// Dashes along one pair of opposite edges, alternating with gaps. A dash that would leave less
// than a full dash and gap before the edge is stretched to the edge. `dashOn` carries over from one
// pair of edges to the next, so the vertical dashes start with a gap when the top has an odd count.
template <typename DrawDash>
void DrawDashes(Context& context, std::int64_t start, std::int64_t length, bool& dashOn, DrawDash drawDash) {
  const std::int64_t limit = start + length - 1;
  // A surface that can take no more operations ends the frame at once: around a huge picture the
  // dashes would otherwise run on for minutes, recording nothing.
  for (std::int64_t i = 0; i < length / kDash && context.state.surface->Complete(); ++i) {
    const std::int64_t s = start + kDash * i;
    std::int64_t e = s + kDash;
    if (dashOn && e + kDash > limit) e = limit;
    if (e > limit) e = limit;
    if (dashOn) drawDash(s, e);
    dashOn = !dashOn;
  }
}

void DrawDashedFrame(Context& context, std::int64_t x0, std::int64_t y0, std::int64_t w, std::int64_t h) {
  bool dashOn = true;
  // The top dashes lie one row below the solid frame's top edge.
  DrawDashes(context, x0, w, dashOn, [&](std::int64_t s, std::int64_t e) {
    DrawLine(context, s, y0 + 1, e, y0 + 1);
    DrawLine(context, s, y0 + h - 1, e, y0 + h - 1);
  });
  DrawDashes(context, y0, h, dashOn, [&](std::int64_t s, std::int64_t e) {
    DrawLine(context, x0, s, x0, e);
    DrawLine(context, x0 + w - 1, s, x0 + w - 1, e);
  });
}

}  // namespace

int FrameWidth(const Context& context) {
  const SymbologyRow* row = FindSymbology(context.settings.symbology);
  if (row != nullptr && row->bearerBox) return 0;
  if (context.settings.frameStyle == kDashedFrame) return 2;
  return context.settings.frameStyle == kSolidFrame ? 1 : 0;
}

void DrawFrame(Context& context, int solid) {
  if (solid != 0) {
    DrawSolidFrame(context, context.state.originX, context.state.originY, context.settings.width, context.settings.height);
  } else {
    DrawDashedFrame(context, context.state.originX, context.state.originY, context.settings.width, context.settings.height);
  }
}

}  // namespace varnel
