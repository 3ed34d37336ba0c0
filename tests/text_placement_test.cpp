// Where the human-readable text goes, and the frame around the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/settings.h"
#include "drawing/context.h"
#include "engine/frame.h"
#include "engine/human_readable.h"
#include "drawing/context.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

class TextPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    DefaultContext().state.surface = &surface;
    DefaultContext().state.originX = 0;
    DefaultContext().state.originY = 0;
    DefaultContext().state.barHeight = 56;
    DefaultContext().state.textBand = 20;
    DefaultContext().state.backBrush = Brush{DefaultContext().settings.backColor};
  }
  void TearDown() override { DefaultContext().state.surface = nullptr; }

  std::vector<TextOp> Texts() const {
    std::vector<TextOp> texts;
    for (const DrawOp& op : surface.Operations())
      if (op.kind == DrawOpKind::kText) texts.push_back(surface.Text(op));
    return texts;
  }
  std::vector<LineOp> Lines() const {
    std::vector<LineOp> lines;
    for (const DrawOp& op : surface.Operations())
      if (op.kind == DrawOpKind::kLine) lines.push_back(surface.Line(op));
    return lines;
  }

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
    surface = Surface(300, 200);
    DefaultContext().settings.orientation = static_cast<std::int16_t>(c.orientation);
    DefaultContext().state.offsetX = c.offsetX;
    DefaultContext().state.offsetY = c.offsetY;
    DrawTextRun(DefaultContext(), 40, 100, 118, "abc", 3);
    ASSERT_EQ(surface.Operations().size(), 2u);
    const FillOp& fill = surface.Fill(surface.Operations()[0]);
    EXPECT_EQ(fill.rect, c.box) << "orientation " << c.orientation;
    EXPECT_EQ(fill.color, DefaultContext().settings.backColor);
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
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, orientation, 0);
    VnSetSize(orientation == 2 ? 300 : 201, orientation == 2 ? 201 : 300);
    VnSetMessage("AB");
    const Surface rendered = testing::RenderToSurface();
    const std::vector<Rect> fills = testing::RecordedFills(rendered);
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
  DefaultContext().settings.orientation = 0;
  DefaultContext().state.offsetY = 62;
  DrawSpreadText(DefaultContext(), 10, 40, 118, "ABCD", 4);
  std::vector<Rect> cells;
  for (const TextOp& text : Texts()) cells.push_back(text.clip);
  ASSERT_EQ(cells.size(), 4u);
  const int lefts[] = {10, 18, 26, 33}, rights[] = {18, 26, 33, 40};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cells[i].left, lefts[i]) << i;
    EXPECT_EQ(cells[i].right, rights[i]) << i;
    EXPECT_EQ(Texts()[i].text, std::string(1, "ABCD"[i]));
  }
  surface = Surface(300, 200);
  DrawSpreadText(DefaultContext(), 0, 96, 118, "123456", 6);
  for (const TextOp& text : Texts()) EXPECT_EQ(text.clip.right - text.clip.left, 16);
}

TEST_F(TextPlacementTest, LongTextIsDrawnWhole) {
  DefaultContext().settings.orientation = 0;
  const std::string text(500, 'X');
  DrawTextRun(DefaultContext(), 0, 300, 118, text.c_str(), 500);
  EXPECT_EQ(Texts().at(0).text.size(), 500u);
}

TEST_F(TextPlacementTest, Code39PrintsOneLineOneUnitBelowTheBars) {
  DefaultContext().state.surface = nullptr;
  VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
  VnSetMessage("AB");
  const Surface rendered = testing::RenderToSurface();
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
  EXPECT_EQ(text.textColor, DefaultContext().settings.barColor);
}

TEST_F(TextPlacementTest, TextSwitchedOffPrintsNothingButStillFillsTheHumanText) {
  DefaultContext().state.surface = nullptr;
  VnBasicInfo(kCode39Ascii, 0.07, 2.0, 0, 0);
  VnTextInfo(0, 0, 0);
  VnSetMessage("\x01\x02");
  const Surface rendered = testing::RenderToSurface();
  for (const DrawOp& op : rendered.Operations()) EXPECT_NE(op.kind, DrawOpKind::kText);
  EXPECT_STREQ(DefaultContext().state.humanText, "\x01\x02");
  EXPECT_EQ(DefaultContext().state.textBand, 0);
}

TEST_F(TextPlacementTest, SolidFrameTracesThePictureEdges) {
  DrawFrame(DefaultContext(), 1);
  const std::vector<LineOp> lines = Lines();
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
