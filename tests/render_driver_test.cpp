// The render driver: device sizes from centimetres, centring, the two passes, refused data.
#include <gtest/gtest.h>

#include <cstring>

#include "base/settings.h"
#include "drawing/context.h"
#include "platform/screen.h"
#include "drawing/context.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

class RenderDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
  }
};

// Code 39 at narrow 2 and wide 4 costs 26 units a character with its gap, and the stop 24.
int Code39Length(int dataCharacters) { return 26 + 26 * dataCharacters + 24; }

TEST_F(RenderDriverTest, DeviceSizesFollowTheScreenResolution) {
  struct Case { int dpi, narrow, wide, barHeight; };
  for (const Case c : {Case{72, 1, 2, 42}, Case{96, 2, 4, 56}, Case{120, 3, 6, 70}}) {
    SetScreenResolution(c.dpi, c.dpi);
    testing::RenderToSurface();
    EXPECT_EQ(DefaultContext().state.narrowWidth, c.narrow) << c.dpi;
    EXPECT_EQ(DefaultContext().state.wideWidth, c.wide) << c.dpi;
    EXPECT_EQ(DefaultContext().state.barHeight, c.barHeight) << c.dpi;
    EXPECT_EQ(DefaultContext().state.textBand, 20) << c.dpi;
  }
}

TEST_F(RenderDriverTest, TurnedSymbolsMeasureAlongTheVerticalResolution) {
  SetScreenResolution(96, 120);
  VnBasicInfo(kCode39, 0.07, 2.0, 1, 0);
  testing::RenderToSurface();
  EXPECT_EQ(DefaultContext().state.dpiAlong, 120);
  EXPECT_EQ(DefaultContext().state.dpiAcross, 96);
  EXPECT_EQ(DefaultContext().state.narrowWidth, 3);
  EXPECT_EQ(DefaultContext().state.barHeight, 56);
}

TEST_F(RenderDriverTest, NarrowElementIsAtLeastOneUnit) {
  VnBasicInfo(kCode39, 0.01, 2.0, 0, 0);  // 0.378 units
  testing::RenderToSurface();
  EXPECT_EQ(DefaultContext().state.narrowWidth, 1);
  EXPECT_EQ(DefaultContext().state.wideWidth, 2);

  SetScreenResolution(72, 72);
  VnBasicInfo(kCode39, 0.07, 1.2, 0, 0);  // wide and narrow come out equal
  testing::RenderToSurface();
  EXPECT_EQ(DefaultContext().state.narrowWidth, 1);
  EXPECT_EQ(DefaultContext().state.wideWidth, 1);
}

TEST_F(RenderDriverTest, SymbolIsCentredWithTruncatingDivisionThenClamped) {
  VnSetMessage("ABCDE");
  const int length = Code39Length(5);
  struct Case { int width, expectedOffsetX; };
  for (const Case c : {Case{length + 100, 50}, Case{length + 101, 50}, Case{length - 1, 0}, Case{length - 10, 0}}) {
    VnSetSize(c.width, 200);
    testing::RenderToSurface();
    EXPECT_EQ(DefaultContext().state.offsetX, c.expectedOffsetX) << c.width;
    EXPECT_EQ(DefaultContext().state.offsetY, 62) << c.width;
  }
  VnTextInfo(0, 0, 0);
  testing::RenderToSurface();
  EXPECT_EQ(DefaultContext().state.offsetY, 72);
}

TEST_F(RenderDriverTest, TurnedSymbolsAreCentredAlongTheHeight) {
  VnSetMessage("AB");
  VnBasicInfo(kCode39, 0.07, 2.0, 3, 0);
  VnSetSize(200, Code39Length(2) + 40);
  testing::RenderToSurface();
  EXPECT_EQ(DefaultContext().state.offsetX, 62);
  EXPECT_EQ(DefaultContext().state.offsetY, 20);
}

TEST_F(RenderDriverTest, DrawingPassStartsWithTheBackgroundAndDrawsEveryBarOfTheMeasuredSymbol) {
  VnSetMessage("A");
  const Surface surface = testing::RenderToSurface();
  const std::vector<Rect> fills = testing::RecordedFills(surface);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front(), (Rect{0, 0, 300, 200}));
  const int length = Code39Length(1);
  int leftmost = 300, rightmost = 0;
  for (std::size_t i = 1; i < fills.size(); ++i) {
    if (fills[i].bottom != 62 + 56) continue;  // bars only, not text cells
    leftmost = std::min(leftmost, fills[i].left);
    rightmost = std::max(rightmost, fills[i].right);
  }
  EXPECT_EQ(leftmost, (300 - length) / 2);
  EXPECT_EQ(rightmost, (300 - length) / 2 + length);
}

TEST_F(RenderDriverTest, TextRotationIsStoredIntoTheFont) {
  const int expected[] = {3600, 900, 1800, 2700};
  for (int orientation = 0; orientation < 4; ++orientation) {
    VnBasicInfo(kCode39, 0.07, 2.0, orientation, 0);
    testing::RenderToSurface();
    EXPECT_EQ(DefaultContext().settings.font.lfEscapement, expected[orientation]);
    EXPECT_EQ(DefaultContext().settings.font.lfOrientation, expected[orientation]);
  }
}

TEST_F(RenderDriverTest, RefusedDataDrawsOnlyTheMessageCentredInTheDefaultFont) {
  VnSetMessage("lower");
  const Surface surface = testing::RenderToSurface();
  ASSERT_EQ(surface.Operations().size(), 1u);
  ASSERT_EQ(surface.Operations()[0].kind, DrawOpKind::kText);
  const TextOp& text = surface.Text(surface.Operations()[0]);
  EXPECT_EQ(text.text, "Wrong Data Format");
  EXPECT_EQ(text.reference, (Point{150, 100}));
  EXPECT_EQ(text.clip, (Rect{0, 0, 300, 200}));
  EXPECT_EQ(text.align, 6u);
  EXPECT_EQ(text.options, 4u);
  EXPECT_FALSE(text.font.has_value());
  EXPECT_EQ(text.textColor, 0x000000u);
  EXPECT_EQ(text.backColor, DefaultContext().settings.backColor);
  EXPECT_STREQ(DefaultContext().state.workMessage, "lower");
}

TEST_F(RenderDriverTest, WorkMessageEqualsMessageAfterEveryRender) {
  VnSetMessage("CODE39");
  VnTextInfo(1, 1, 1);
  testing::RenderToSurface();
  EXPECT_STREQ(DefaultContext().state.workMessage, DefaultContext().settings.message);
  EXPECT_STREQ(DefaultContext().state.humanText, "CODE39W");
}

TEST_F(RenderDriverTest, RenderBeforeDefaultsPaintsABlackPictureOfNoSize) {
  DefaultContext().settings = SymbolSettings{};
  DefaultContext().state = RenderState{};
  testing::TempDir folder;
  const std::string path = folder.File("zero.bmp");
  ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1);
  EXPECT_EQ(testing::ReadFileBytes(path).size(), 62u);
  EXPECT_EQ(DefaultContext().state.barHeight, 0);
  EXPECT_EQ(DefaultContext().state.narrowWidth, 1);
}

}  // namespace
}  // namespace varnel
