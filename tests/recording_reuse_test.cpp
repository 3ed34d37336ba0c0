// Every render of a context records onto the context's one surface, which keeps its memory from
// render to render: each recording must still start as a fresh surface would, whatever the render
// before it left behind.
#include <gtest/gtest.h>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "drawing/surface.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

// A framed, coloured, turned symbol with text: it selects a font, sets the colours and the
// alignment, and moves the pen.
void BusyPicture(Context& context) {
  testing::ResetLibrary(context);
  SetBasicInfo(context, kCode39, 0.05, 2.5, 1, kDashedFrame);
  SetMessage(context, "BUSY-1");
  SetBarColor(context, 200, 0, 0);
  SetBackColor(context, 0, 0, 90);
}

TEST(RecordingReuseTest, ARefusedMessageAfterABusyPictureIsDrawnAsOnAFreshSurface) {
  Context context;
  BusyPicture(context);
  RenderToSurface(context);
  SetMessage(context, "lower case is refused");
  const Surface& surface = RenderToSurface(context);
  ASSERT_EQ(surface.Operations().size(), 1u);
  const TextOp& text = surface.Text(surface.Operations()[0]);
  EXPECT_FALSE(text.font.has_value());  // the surface's default font, not the symbol's
  EXPECT_EQ(text.textColor, kBlack);    // the default text colour, not the bars'
  EXPECT_EQ(surface.Width(), 300);
  EXPECT_EQ(surface.Height(), 200);
}

TEST(RecordingReuseTest, APictureRecordsTheSameAfterAnyOther) {
  Context context;
  const auto render = [&context](int symbology, const char* message, int orientation, int frame) {
    testing::ResetLibrary(context);
    SetBasicInfo(context, symbology, 0.05, 2.5, orientation, frame);
    SetMessage(context, message);
    SetSize(context, 260 + 10 * orientation, 180);
    return testing::Record(RenderToSurface(context));
  };
  const testing::Recording first = render(kEan13, "590123412345", 0, kSolidFrame);
  BusyPicture(context);
  RenderToSurface(context);
  EXPECT_EQ(render(kEan13, "590123412345", 0, kSolidFrame), first);
}

}  // namespace
}  // namespace varnel
