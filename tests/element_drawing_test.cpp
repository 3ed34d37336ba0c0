// Bars and spaces at the cursor: their rectangles in the four orientations, and the cursor's walk.
#include <gtest/gtest.h>

#include "base/settings.h"
#include "drawing/context.h"
#include "drawing/element_drawing.h"
#include "drawing/context.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

// The default picture's state after centring a symbol: 300 x 200, bars 56 tall over a 20-unit text band.
class ElementDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    DefaultContext().state.surface = &surface;
    DefaultContext().state.measuring = 0;
    DefaultContext().state.originX = 0;
    DefaultContext().state.originY = 0;
    DefaultContext().state.offsetX = 0;
    DefaultContext().state.offsetY = 62;
    DefaultContext().state.barHeight = 56;
    DefaultContext().state.textBand = 20;
    DefaultContext().state.narrowWidth = 2;
    DefaultContext().state.wideWidth = 5;
    DefaultContext().state.cursor = 50;
  }
  void TearDown() override { DefaultContext().state.surface = nullptr; }

  Rect OnlyFill() {
    const std::vector<Rect> fills = testing::RecordedFills(surface);
    EXPECT_EQ(fills.size(), 1u);
    return fills.empty() ? Rect{} : fills[0];
  }

  Surface surface{300, 200};
};

TEST_F(ElementDrawingTest, BarRectanglesInTheFourOrientations) {
  struct Case { int orientation, offsetX, offsetY; Rect expected; };
  const Case cases[] = {
      {0, 0, 62, Rect{50, 62, 52, 118}},
      {1, 112, 0, Rect{112, 148, 168, 150}},  // along grows upwards from the bottom edge
      {2, 0, 62, Rect{248, 82, 250, 138}},    // hangs below the text band, which is now above it
      {3, 112, 0, Rect{132, 50, 188, 52}},    // along grows downwards, text band on the left
  };
  for (const Case& c : cases) {
    surface = Surface(300, 200);
    DefaultContext().settings.orientation = static_cast<std::int16_t>(c.orientation);
    DefaultContext().state.offsetX = c.offsetX;
    DefaultContext().state.offsetY = c.offsetY;
    DefaultContext().state.cursor = 50;
    DrawElement(DefaultContext(), 2, 0, -20, 1);
    EXPECT_EQ(OnlyFill(), c.expected) << "orientation " << c.orientation;
    EXPECT_EQ(DefaultContext().state.cursor, 52);
  }
}

TEST_F(ElementDrawingTest, GuardAndAddOnOffsetsReachIntoTheTextBand) {
  EXPECT_EQ(GuardBarOffsets(DefaultContext()).top, 0);
  EXPECT_EQ(GuardBarOffsets(DefaultContext()).bottom, 12 - 20);
  DrawPattern(DefaultContext(), "b", "n", GuardBarOffsets(DefaultContext()));
  EXPECT_EQ(OnlyFill().bottom, 62 + 56 + 12);
  EXPECT_EQ(AddOnBarOffsets(DefaultContext()).top, 24);
  EXPECT_EQ(AddOnBarOffsets(DefaultContext()).bottom, 12 - 20);
  DefaultContext().state.textBand = 0;  // text off: guards still reach half a font height below the bars
  EXPECT_EQ(GuardBarOffsets(DefaultContext()).bottom, 12);
}

TEST_F(ElementDrawingTest, SpacesMoveTheCursorWithoutPainting) {
  DrawElement(DefaultContext(), 7, 0, -20, 0);
  EXPECT_TRUE(surface.Operations().empty());
  EXPECT_EQ(DefaultContext().state.cursor, 57);
}

TEST_F(ElementDrawingTest, MeasuringPassMovesTheCursorExactlyAsTheDrawingPass) {
  const char* widths = "n1234w";
  DrawPattern(DefaultContext(), "bwbwbw", widths, DataBarOffsets(DefaultContext()));
  const int drawnEnd = DefaultContext().state.cursor;
  EXPECT_EQ(drawnEnd, 50 + 2 + 2 + 4 + 6 + 8 + 5);
  EXPECT_EQ(testing::RecordedFills(surface).size(), 3u);

  surface = Surface(300, 200);
  DefaultContext().state.measuring = 1;
  DefaultContext().state.cursor = 50;
  DrawPattern(DefaultContext(), "bwbwbw", widths, DataBarOffsets(DefaultContext()));
  EXPECT_EQ(DefaultContext().state.cursor, drawnEnd);
  EXPECT_TRUE(surface.Operations().empty());
}

TEST_F(ElementDrawingTest, UnknownWidthCharactersSkipTheirElement) {
  DrawPattern(DefaultContext(), "bbb", "05x", DataBarOffsets(DefaultContext()));
  EXPECT_EQ(DefaultContext().state.cursor, 50);
  DrawPattern(DefaultContext(), "bwb", "n5n", DataBarOffsets(DefaultContext()));  // the third element keeps its own colour
  const std::vector<Rect> fills = testing::RecordedFills(surface);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].left, 50);
  EXPECT_EQ(fills[1].left, 52);
  DrawPattern(DefaultContext(), "", "nnn", DataBarOffsets(DefaultContext()));
  EXPECT_EQ(DefaultContext().state.cursor, 54);
}

TEST_F(ElementDrawingTest, ZeroWideWidthDrawsEmptyElements) {
  DefaultContext().state.wideWidth = 0;
  DrawPattern(DefaultContext(), "bw", "ww", DataBarOffsets(DefaultContext()));
  EXPECT_TRUE(surface.Operations().empty());
  EXPECT_EQ(DefaultContext().state.cursor, 50);
}

TEST_F(ElementDrawingTest, PostalBarsStandOnOneBaseLine) {
  DrawPostalBars(DefaultContext(), "10");
  const std::vector<Rect> fills = testing::RecordedFills(surface);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0], (Rect{50, 62, 52, 118}));       // full bar, 56 tall
  EXPECT_EQ(fills[1], (Rect{54, 62 + 28, 56, 118}));  // half bar, the lower 28 units
  EXPECT_EQ(DefaultContext().state.cursor, 58);

  surface = Surface(300, 200);
  DefaultContext().state.barHeight = 55;
  DrawPostalBars(DefaultContext(), "0");
  EXPECT_EQ(OnlyFill(), (Rect{58, 62 + 27, 60, 62 + 55}));  // starts at 27, 28 tall
}

TEST_F(ElementDrawingTest, ExtremeOffsetsClampInsteadOfOverflowing) {
  DefaultContext().state.offsetY = 2'000'000'000;
  DefaultContext().state.barHeight = 2'000'000'000;
  DefaultContext().state.cursor = 2'147'483'000;
  DrawElement(DefaultContext(), 1'000'000, 0, 0, 1);
  const Rect bar = OnlyFill();
  EXPECT_EQ(bar.bottom, 2'147'483'647);
  EXPECT_EQ(bar.right, 2'147'483'647);
  EXPECT_EQ(DefaultContext().state.cursor, 2'147'483'647);
}

}  // namespace
}  // namespace varnel
