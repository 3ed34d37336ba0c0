// Where the human-readable text goes, and the frame around the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "engine/frame.h"
#include "engine/human_readable.h"
#include "engine/render_driver.h"
#include "outputs/render_to_surface.h"
#include "support/drawing_pass.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

// Bars 56 tall over a 20-unit text band in the default 300 x 200 picture.
class TextPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary(context);
    Start(0, 0, 62);
  }

  void Start(int orientation, int offsetX, int offsetY) {
    SetBasicInfo(context, kCode39, 0.07, 2.0, orientation, 0);
    surface = Surface(300, 200);
    testing::StartPass(context, surface, {offsetX, offsetY, 56, 20, 2, 4, 0});
  }

  Context context;
  Surface surface{300, 200};
};

TEST_F(TextPlacementTest, RunBoxesAndReferencePointsInTheFourOrientations) {
  struct Case { int orientation, offsetX, offsetY; Rect box; Point reference; };
  const Case cases[] = {
      {0, 0, 62, Rect{40, 118, 100, 142}, Point{70, 118}},
      {1, 112, 0, Rect{118, 100, 142, 160}, Point{118, 130}},
      {2, 0, 62, Rect{200, 58, 260, 82}, Point{230, 82}},
      {3, 112, 0, Rect{158, 40, 182, 100}, Point{182, 70}},
  };
  for (const Case& c : cases) {
    Start(c.orientation, c.offsetX, c.offsetY);
    DrawTextRun(context, 40, 100, 118, "abc", 3);
    ASSERT_EQ(surface.Operations().size(), 2u);
    const FillOp& fill = surface.Fill(surface.Operations()[0]);
    EXPECT_EQ(fill.rect, c.box) << "orientation " << c.orientation;
    EXPECT_EQ(fill.color, 0xFFFFFFu) << "the box is cleared to the background";
    const TextOp& text = surface.Text(surface.Operations()[1]);
    EXPECT_EQ(text.reference, c.reference) << "orientation " << c.orientation;
    EXPECT_EQ(text.clip, c.box);
    EXPECT_EQ(text.options, 4u);
    EXPECT_EQ(text.text, "abc");
  }
}

TEST_F(TextPlacementTest, TurnedTextStaysAgainstItsBarsInPicturesOfOddSize) {
  // The bars of orientations 2 and 3 are mirrored within their band; the text must follow them
  // there, or its background erases a row of bars when the picture's free space is odd.
  for (int orientation : {2, 3}) {
    testing::ResetLibrary(context);
    SetBasicInfo(context, kCode39, 0.07, 2.0, orientation, 0);
    SetSize(context, orientation == 2 ? 300 : 201, orientation == 2 ? 201 : 300);
    SetMessage(context, "AB");
    const std::vector<Rect> fills = testing::RecordedFills(RenderToSurface(context));
    const Rect bar = fills[1];  // the start character's first bar
    const Rect textBox = fills.back();
    if (orientation == 2) {
      EXPECT_EQ(textBox.bottom + 1, bar.top) << "one unit between bars and text";  // text row T + 1
    } else {
      EXPECT_EQ(textBox.right + 1, bar.left) << "one unit between bars and text";
    }
  }
}

TEST_F(TextPlacementTest, SpreadTextGivesTheRemainderToTheFirstCells) {
  DrawSpreadText(context, 10, 40, 118, "ABCD", 4);
  const std::vector<TextOp> texts = testing::RecordedTexts(surface);
  ASSERT_EQ(texts.size(), 4u);
  const int lefts[] = {10, 18, 26, 33}, rights[] = {18, 26, 33, 40};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i].clip.left, lefts[i]) << i;
    EXPECT_EQ(texts[i].clip.right, rights[i]) << i;
    EXPECT_EQ(texts[i].text, std::string(1, "ABCD"[i]));
  }
  surface = Surface(300, 200);
  DrawSpreadText(context, 0, 96, 118, "123456", 6);
  for (const TextOp& text : testing::RecordedTexts(surface)) EXPECT_EQ(text.clip.right - text.clip.left, 16);
}

TEST_F(TextPlacementTest, LongTextIsDrawnWhole) {
  const std::string text(500, 'X');
  DrawTextRun(context, 0, 300, 118, text.c_str(), 500);
  EXPECT_EQ(testing::RecordedTexts(surface).at(0).text.size(), 500u);
}

TEST_F(TextPlacementTest, Code39PrintsOneLineOneUnitBelowTheBars) {
  SetMessage(context, "AB");
  const Surface& rendered = RenderToSurface(context);
  ASSERT_EQ(rendered.Operations().back().kind, DrawOpKind::kText);
  const TextOp& text = rendered.Text(rendered.Operations().back());
  EXPECT_EQ(text.text, "AB");
  EXPECT_EQ(text.clip.top, 62 + 56 + 1);
  EXPECT_EQ(text.clip.bottom, 62 + 56 + 1 + 24);
  const int length = 26 * 3 + 24;
  EXPECT_EQ(text.clip.left, (300 - length) / 2);
  EXPECT_EQ(text.clip.right, (300 - length) / 2 + length);
  ASSERT_TRUE(text.font.has_value());
  EXPECT_STREQ(text.font->lfFaceName, "Arial");
  EXPECT_EQ(text.textColor, kBlack);
}

// Switched off, the text prints nothing and takes no room: the band is the bars alone, centred.
TEST_F(TextPlacementTest, TextSwitchedOffPrintsNothingAndLeavesNoTextBand) {
  SetBasicInfo(context, kCode39Ascii, 0.07, 2.0, 0, 0);
  SetTextInfo(context, 0, 0, 0);
  SetMessage(context, "\x01\x02");
  const Surface& rendered = RenderToSurface(context);
  for (const DrawOp& op : rendered.Operations()) EXPECT_NE(op.kind, DrawOpKind::kText);
  const std::vector<Rect> fills = testing::RecordedFills(rendered);
  ASSERT_GT(fills.size(), 1u);
  EXPECT_EQ(fills[1].top, (200 - 56) / 2);
  EXPECT_EQ(MeasureBarcode(context).value().thickness, 56);
}

TEST_F(TextPlacementTest, SolidFrameTracesThePictureEdges) {
  DrawFrame(context, 1);
  const std::vector<LineOp> lines = testing::RecordedLines(surface);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].from, (Point{0, 0}));
  EXPECT_EQ(lines[0].to, (Point{300, 0}));
  EXPECT_EQ(lines[1].from, (Point{299, 0}));
  EXPECT_EQ(lines[1].to, (Point{299, 200}));
  EXPECT_EQ(lines[2].from, (Point{300, 199}));
  EXPECT_EQ(lines[2].to, (Point{0, 199}));
  EXPECT_EQ(lines[3].from, (Point{0, 200}));
  EXPECT_EQ(lines[3].to, (Point{0, 0}));
}

// The frame as pixels: an independent reading of the BMP, row by row and column by column.
class FramePixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 1);
    VnTextInfo(0, 0, 0);
    VnSetMessage("");
  }
  static std::string Row(const testing::Bitmap& b, int y) {
    std::string s;
    for (int x = 0; x < b.width; ++x) s += testing::IsDark(b, x, y) ? '#' : '.';
    return s;
  }
  static std::string Column(const testing::Bitmap& b, int x) {
    std::string s;
    for (int y = 0; y < b.height; ++y) s += testing::IsDark(b, x, y) ? '#' : '.';
    return s;
  }
};

TEST_F(FramePixelsTest, DashedFrameAt300By200) {
  const testing::Bitmap bitmap = testing::RenderToBitmap();
  std::string top;
  for (int x = 0; x < 296; x += 8) top += "####....";
  top += "###.";  // the last dash, 296 to 299, stretched to the limit
  EXPECT_EQ(Row(bitmap, 1), top);
  EXPECT_EQ(Row(bitmap, 199), top);
  EXPECT_EQ(Row(bitmap, 0).find('#'), std::string::npos) << "the top dashes lie on row 1";
  // 300 / 4 is odd, so the sides start with a gap.
  std::string side = "....";
  for (int y = 4; y < 196; y += 8) side += "####....";
  side.resize(196, '.');
  side += "###.";
  std::string left = Column(bitmap, 0);
  left[1] = '.';  // the top and bottom rows' own dashes cross the sides
  left[199] = '.';
  EXPECT_EQ(left, side);
}

TEST_F(FramePixelsTest, DashedFrameSevenWide) {
  VnSetSize(7, 200);
  const testing::Bitmap bitmap = testing::RenderToBitmap();
  EXPECT_EQ(Row(bitmap, 1), "######.");
}

TEST_F(FramePixelsTest, SolidFrameAt300By200) {
  VnBasicInfo(kCode39, 0.07, 2.0, 0, 2);
  const testing::Bitmap bitmap = testing::RenderToBitmap();
  EXPECT_EQ(Row(bitmap, 0), std::string(300, '#'));
  EXPECT_EQ(Row(bitmap, 199), std::string(300, '#'));
  EXPECT_EQ(Column(bitmap, 0), std::string(200, '#'));
  EXPECT_EQ(Column(bitmap, 299), std::string(200, '#'));
  EXPECT_EQ(Row(bitmap, 1), "#" + std::string(298, '.') + "#");
}

}  // namespace
}  // namespace varnel
