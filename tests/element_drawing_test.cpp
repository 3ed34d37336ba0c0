// Bars and spaces at the cursor: their rectangles in the four orientations, and the cursor's walk,
// seen in where the next bar stands.
#include <gtest/gtest.h>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "drawing/element_drawing.h"
#include "support/drawing_pass.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

// The default picture's layout after centring a symbol: 300 x 200, bars 56 tall over a 20-unit text
// band from row 62, narrow elements 2 and wide ones 5, the cursor at 50.
constexpr testing::PassLayout kCentred{0, 62, 56, 20, 2, 5, 50};

class ElementDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary(context);
    testing::StartPass(context, surface, kCentred);
  }

  Rect OnlyFill() {
    const std::vector<Rect> fills = testing::RecordedFills(surface);
    EXPECT_EQ(fills.size(), 1u);
    return fills.empty() ? Rect{} : fills[0];
  }

  // A one-unit data bar drawn at the cursor: in the upright picture its left edge is where the
  // cursor stood.
  Rect NextBar() {
    DrawElement(context, 1, 0, -20, 1);
    const std::vector<Rect> fills = testing::RecordedFills(surface);
    return fills.empty() ? Rect{} : fills.back();
  }

  Context context;
  Surface surface{300, 200};
};

TEST_F(ElementDrawingTest, BarRectanglesInTheFourOrientations) {
  struct Case { int orientation, offsetX, offsetY; Rect expected, next; };
  const Case cases[] = {
      {0, 0, 62, Rect{50, 62, 52, 118}, Rect{52, 62, 53, 118}},
      {1, 112, 0, Rect{112, 148, 168, 150}, Rect{112, 147, 168, 148}},  // along grows upwards from the bottom edge
      {2, 0, 62, Rect{248, 82, 250, 138}, Rect{247, 82, 248, 138}},     // hangs below the text band, now above it
      {3, 112, 0, Rect{132, 50, 188, 52}, Rect{132, 52, 188, 53}},      // along grows downwards, text band on the left
  };
  for (const Case& c : cases) {
    surface = Surface(300, 200);
    SetBasicInfo(context, kCode39, 0.07, 2.0, c.orientation, 0);
    testing::StartPass(context, surface, {c.offsetX, c.offsetY, 56, 20, 2, 5, 50});
    DrawElement(context, 2, 0, -20, 1);
    EXPECT_EQ(OnlyFill(), c.expected) << "orientation " << c.orientation;
    // The bar moved the cursor by its length: the next one starts at 52.
    EXPECT_EQ(NextBar(), c.next) << "orientation " << c.orientation;
  }
}

TEST_F(ElementDrawingTest, GuardAndAddOnOffsetsReachIntoTheTextBand) {
  EXPECT_EQ(GuardBarOffsets(context).top, 0);
  EXPECT_EQ(GuardBarOffsets(context).bottom, 12 - 20);
  DrawPattern(context, "b", "n", GuardBarOffsets(context));
  EXPECT_EQ(OnlyFill().bottom, 62 + 56 + 12);
  EXPECT_EQ(AddOnBarOffsets(context).top, 24);
  EXPECT_EQ(AddOnBarOffsets(context).bottom, 12 - 20);
  // Text off: guards still reach half a font height below the bars.
  testing::StartPass(context, surface, {0, 62, 56, 0, 2, 5, 50});
  EXPECT_EQ(GuardBarOffsets(context).bottom, 12);
}

TEST_F(ElementDrawingTest, SpacesMoveTheCursorWithoutPainting) {
  DrawElement(context, 7, 0, -20, 0);
  EXPECT_TRUE(surface.Operations().empty());
  EXPECT_EQ(NextBar().left, 57);
}

TEST_F(ElementDrawingTest, MeasuringPassMovesTheCursorExactlyAsTheDrawingPass) {
  const char* widths = "n1234w";
  DrawPattern(context, "bwbwbw", widths, DataBarOffsets(context));
  EXPECT_EQ(testing::RecordedFills(surface).size(), 3u);
  const int drawnEnd = NextBar().left;
  EXPECT_EQ(drawnEnd, 50 + 2 + 2 + 4 + 6 + 8 + 5);

  surface = Surface(300, 200);
  testing::StartPass(context, surface, kCentred, true);
  DrawPattern(context, "bwbwbw", widths, DataBarOffsets(context));
  EXPECT_TRUE(surface.Operations().empty());
  testing::ContinueDrawing(context);
  EXPECT_EQ(NextBar().left, drawnEnd);
}

TEST_F(ElementDrawingTest, UnknownWidthCharactersSkipTheirElement) {
  DrawPattern(context, "bbb", "05x", DataBarOffsets(context));
  EXPECT_TRUE(surface.Operations().empty());
  DrawPattern(context, "bwb", "n5n", DataBarOffsets(context));  // the third element keeps its own colour
  const std::vector<Rect> fills = testing::RecordedFills(surface);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].left, 50);  // the skipped elements moved nothing
  EXPECT_EQ(fills[1].left, 52);
  DrawPattern(context, "", "nnn", DataBarOffsets(context));
  EXPECT_EQ(NextBar().left, 54);
  EXPECT_EQ(testing::RecordedFills(surface).size(), 3u);
}

TEST_F(ElementDrawingTest, ZeroWideWidthDrawsEmptyElements) {
  testing::StartPass(context, surface, {0, 62, 56, 20, 2, 0, 50});
  DrawPattern(context, "bw", "ww", DataBarOffsets(context));
  EXPECT_TRUE(surface.Operations().empty());
  EXPECT_EQ(NextBar().left, 50);
}

TEST_F(ElementDrawingTest, PostalBarsStandOnOneBaseLine) {
  DrawPostalBars(context, "10");
  const std::vector<Rect> fills = testing::RecordedFills(surface);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0], (Rect{50, 62, 52, 118}));       // full bar, 56 tall
  EXPECT_EQ(fills[1], (Rect{54, 62 + 28, 56, 118}));  // half bar, the lower 28 units
  EXPECT_EQ(NextBar().left, 58);                      // each bar is followed by its space

  surface = Surface(300, 200);
  testing::StartPass(context, surface, {0, 62, 55, 20, 2, 5, 58});
  DrawPostalBars(context, "0");
  EXPECT_EQ(OnlyFill(), (Rect{58, 62 + 27, 60, 62 + 55}));  // starts at 27, 28 tall
}

TEST_F(ElementDrawingTest, ExtremeOffsetsClampInsteadOfOverflowing) {
  testing::StartPass(context, surface, {0, 2'000'000'000, 2'000'000'000, 20, 2, 5, 2'147'483'000});
  DrawElement(context, 1'000'000, 0, 0, 1);
  const Rect bar = OnlyFill();
  EXPECT_EQ(bar.bottom, 2'147'483'647);
  EXPECT_EQ(bar.right, 2'147'483'647);
  // The cursor stops at the largest position too: a bar after it has no room and paints nothing,
  // where a cursor that wrapped round would paint one far to the left.
  DrawElement(context, 1, 0, 0, 1);
  EXPECT_EQ(testing::RecordedFills(surface).size(), 1u);
}

}  // namespace
}  // namespace varnel
