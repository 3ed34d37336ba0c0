// Every render records onto the one surface of the process, which keeps its memory from render to
// render: each recording must still start as a fresh surface would, whatever the render before it
// left behind.
#include <gtest/gtest.h>

#include <vector>

#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "drawing/surface.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

// A framed, coloured, turned symbol with text: it selects a font, sets the colours and the
// alignment, and moves the pen.
void BusyPicture() {
  testing::ResetLibrary();
  VnBasicInfo(kCode39, 0.05, 2.5, 1, kDashedFrame);
  VnSetMessage("BUSY-1");
  VnSetBarColor(200, 0, 0);
  VnSetBackColor(0, 0, 90);
}

struct Recorded {
  std::vector<Rect> fills;
  std::vector<TextOp> texts;
  std::vector<LineOp> lines;
};

Recorded Record(const Surface& surface) {
  Recorded recorded;
  for (const DrawOp& op : surface.Operations()) {
    if (op.kind == DrawOpKind::kFill) recorded.fills.push_back(surface.Fill(op).rect);
    if (op.kind == DrawOpKind::kText) recorded.texts.push_back(surface.Text(op));
    if (op.kind == DrawOpKind::kLine) recorded.lines.push_back(surface.Line(op));
  }
  return recorded;
}

TEST(RecordingReuseTest, ARefusedMessageAfterABusyPictureIsDrawnAsOnAFreshSurface) {
  BusyPicture();
  RenderToSurface(DefaultContext());
  VnSetMessage("lower case is refused");
  const Surface& surface = RenderToSurface(DefaultContext());
  ASSERT_EQ(surface.Operations().size(), 1u);
  const TextOp& text = surface.Text(surface.Operations()[0]);
  EXPECT_FALSE(text.font.has_value());  // the surface's default font, not the symbol's
  EXPECT_EQ(text.textColor, kBlack);    // the default text colour, not the bars'
  EXPECT_EQ(surface.Width(), 300);
  EXPECT_EQ(surface.Height(), 200);
}

TEST(RecordingReuseTest, APictureRecordsTheSameAfterAnyOther) {
  const auto render = [](int symbology, const char* message, int orientation, int frame) {
    testing::ResetLibrary();
    VnBasicInfo(symbology, 0.05, 2.5, orientation, frame);
    VnSetMessage(message);
    VnSetSize(260 + 10 * orientation, 180);
    return Record(RenderToSurface(DefaultContext()));
  };
  const Recorded first = render(kEan13, "590123412345", 0, kSolidFrame);
  BusyPicture();
  RenderToSurface(DefaultContext());
  const Recorded again = render(kEan13, "590123412345", 0, kSolidFrame);
  EXPECT_EQ(again.fills, first.fills);
  ASSERT_EQ(again.texts.size(), first.texts.size());
  for (std::size_t i = 0; i < first.texts.size(); ++i) {
    EXPECT_EQ(again.texts[i].text, first.texts[i].text) << i;
    EXPECT_EQ(again.texts[i].reference, first.texts[i].reference) << i;
    EXPECT_EQ(again.texts[i].clip, first.texts[i].clip) << i;
    EXPECT_EQ(again.texts[i].textColor, first.texts[i].textColor) << i;
    EXPECT_EQ(again.texts[i].backColor, first.texts[i].backColor) << i;
  }
  ASSERT_EQ(again.lines.size(), first.lines.size());
  for (std::size_t i = 0; i < first.lines.size(); ++i) {
    EXPECT_EQ(again.lines[i].from, first.lines[i].from) << i;
    EXPECT_EQ(again.lines[i].to, first.lines[i].to) << i;
  }
}

}  // namespace
}  // namespace varnel
