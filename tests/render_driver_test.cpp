// The render driver: device sizes from centimetres, centring, the walks over the symbol, refused data.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "engine/render_driver.h"
#include "outputs/pictures.h"
#include "outputs/render_to_surface.h"
#include "platform/screen.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"

namespace varnel {
namespace {

class RenderDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary(context);
    SetBasicInfo(context, kCode39, 0.07, 2.0, 0, 0);
  }

  // The fills of a render but the background: the bars, then the text's box.
  std::vector<Rect> Bars() {
    std::vector<Rect> fills = testing::RecordedFills(RenderToSurface(context));
    if (!fills.empty()) fills.erase(fills.begin());
    return fills;
  }

  Context context;
};

// Code 39 at narrow 2 and wide 4 costs 26 units a character with its gap, and the stop 24.
int Code39Length(int dataCharacters) { return 26 + 26 * dataCharacters + 24; }

// The start character '*' begins with a narrow bar, a wide space, a narrow bar, a narrow space and a
// wide bar: the first and third bars of the symbol are one narrow and one wide element.
int Narrow(const std::vector<Rect>& bars) { return bars.at(0).right - bars.at(0).left; }
int Wide(const std::vector<Rect>& bars) { return bars.at(2).right - bars.at(2).left; }

TEST_F(RenderDriverTest, DeviceSizesFollowTheScreenResolution) {
  struct Case { int dpi, narrow, wide, barHeight; };
  for (const Case c : {Case{72, 1, 2, 42}, Case{96, 2, 4, 56}, Case{120, 3, 6, 70}}) {
    SetScreenResolution(c.dpi, c.dpi);
    const std::vector<Rect> bars = Bars();
    EXPECT_EQ(Narrow(bars), c.narrow) << c.dpi;
    EXPECT_EQ(Wide(bars), c.wide) << c.dpi;
    EXPECT_EQ(bars[0].bottom - bars[0].top, c.barHeight) << c.dpi;
    // The text band below the bars is the font height less 4, whatever the resolution.
    EXPECT_EQ(MeasureBarcode(context).value().thickness, c.barHeight + 20) << c.dpi;
  }
}

// Bars run across the picture's rows in orientation 1: their width along the symbol is a height.
TEST_F(RenderDriverTest, TurnedSymbolsMeasureAlongTheVerticalResolution) {
  SetScreenResolution(96, 120);
  SetBasicInfo(context, kCode39, 0.07, 2.0, 1, 0);
  const Rect bar = Bars().at(0);
  EXPECT_EQ(bar.bottom - bar.top, 3) << "0.07 cm at 120 pixels per inch along";
  EXPECT_EQ(bar.right - bar.left, 56) << "1.5 cm at 96 pixels per inch across";
}

TEST_F(RenderDriverTest, NarrowElementIsAtLeastOneUnit) {
  SetBasicInfo(context, kCode39, 0.01, 2.0, 0, 0);  // 0.378 units
  std::vector<Rect> bars = Bars();
  EXPECT_EQ(Narrow(bars), 1);
  EXPECT_EQ(Wide(bars), 2);

  SetScreenResolution(72, 72);
  SetBasicInfo(context, kCode39, 0.07, 1.2, 0, 0);  // wide and narrow come out equal
  bars = Bars();
  EXPECT_EQ(Narrow(bars), 1);
  EXPECT_EQ(Wide(bars), 1);
}

// The band of bars and text (56 + 20) and the symbol are centred: the first bar stands at the
// offsets, which a symbol larger than the picture clamps to 0.
TEST_F(RenderDriverTest, SymbolIsCentredWithTruncatingDivisionThenClamped) {
  SetMessage(context, "ABCDE");
  const int length = Code39Length(5);
  struct Case { int width, expectedOffsetX; };
  for (const Case c : {Case{length + 100, 50}, Case{length + 101, 50}, Case{length - 1, 0}, Case{length - 10, 0}}) {
    SetSize(context, c.width, 200);
    const Rect first = Bars().at(0);
    EXPECT_EQ(first.left, c.expectedOffsetX) << c.width;
    EXPECT_EQ(first.top, 62) << c.width;
  }
  SetTextInfo(context, 0, 0, 0);
  EXPECT_EQ(Bars().at(0).top, 72);
}

// Orientation 3 runs the symbol down the picture from the top, its band across from the left with
// the text band first: band 62 to 138, text to 82, then the 56 units of the bars.
TEST_F(RenderDriverTest, TurnedSymbolsAreCentredAlongTheHeight) {
  SetMessage(context, "AB");
  SetBasicInfo(context, kCode39, 0.07, 2.0, 3, 0);
  SetSize(context, 200, Code39Length(2) + 40);
  EXPECT_EQ(Bars().at(0), (Rect{82, 20, 138, 22}));
}

TEST_F(RenderDriverTest, DrawingPassStartsWithTheBackgroundAndDrawsEveryBarOfTheMeasuredSymbol) {
  SetMessage(context, "A");
  const std::vector<Rect> fills = testing::RecordedFills(RenderToSurface(context));
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

// The text turns with the symbol: its font carries the rotation, counter-clockwise in tenths of a
// degree.
TEST_F(RenderDriverTest, TextRotationIsStoredIntoTheFont) {
  const int expected[] = {3600, 900, 1800, 2700};
  for (int orientation = 0; orientation < 4; ++orientation) {
    SetBasicInfo(context, kCode39, 0.07, 2.0, orientation, 0);
    const std::vector<TextOp> texts = testing::RecordedTexts(RenderToSurface(context));
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_TRUE(texts[0].font.has_value());
    EXPECT_EQ(texts[0].font->lfEscapement, expected[orientation]);
    EXPECT_EQ(texts[0].font->lfOrientation, expected[orientation]);
  }
}

TEST_F(RenderDriverTest, RefusedDataDrawsOnlyTheMessageCentredInTheDefaultFont) {
  SetMessage(context, "lower");
  const Surface& surface = RenderToSurface(context);
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
  EXPECT_EQ(text.backColor, 0xFFFFFFu);
  // The refused render left the data as it was: a symbology that takes it prints it.
  SetBasicInfo(context, kCode128, 0.07, 2.0, 0, 0);
  EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), "lower");
}

// The check character the first walk adds is printed once, render after render.
TEST_F(RenderDriverTest, WorkMessageEqualsMessageAfterEveryRender) {
  SetMessage(context, "CODE39");
  SetTextInfo(context, 1, 1, 1);
  for (int render = 0; render < 2; ++render) {
    EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), "CODE39W") << render;
  }
}

// A context as it is before its defaults are set, zero throughout: a picture of no size in black on
// black, bars of no height, and narrow elements of at least one unit for all that.
TEST_F(RenderDriverTest, RenderBeforeDefaultsPaintsABlackPictureOfNoSize) {
  Context zero;
  testing::TempDir folder;
  const std::string path = folder.File("zero.bmp");
  ASSERT_TRUE(SaveAsBmp(zero, path.c_str()));
  const std::vector<std::uint8_t> file = testing::ReadFileBytes(path);
  ASSERT_EQ(file.size(), 62u) << "the headers and the colour table, no pixels";
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.end()), std::vector<std::uint8_t>(8, 0)) << "both colours black";
  // Codabar '1' without start and stop letters: five narrow and two wide elements and its gap, the
  // wide ones of no width at a ratio of 0, in a band as thick as bars of no height.
  SetMessage(zero, "1");
  const auto extent = MeasureBarcode(zero);
  ASSERT_TRUE(extent.has_value());
  EXPECT_EQ(extent->length, 6);
  EXPECT_EQ(extent->thickness, 0);
}

// Data a symbology may accept or refuse: mostly digits, some letters, punctuation, control and
// high bytes, of any length up to a few dozen.
std::string RandomData(std::mt19937& random) {
  static constexpr char kAlphabet[] = "0123456789012345678901234567890123456789ABCDEFXYZabc-$:/.+ %()*\x01\x1d\x7f\xe9";
  std::string data(std::uniform_int_distribution<int>(0, 30)(random), '0');
  for (char& c : data) c = kAlphabet[std::uniform_int_distribution<std::size_t>(0, sizeof kAlphabet - 2)(random)];
  return data;
}

// A symbol drawn from the picture's edge in one walk and shifted into place is the symbol measured
// first and drawn at its place: every symbology, orientation and frame, with text and check
// characters or without, its sample and random data, in pictures larger and smaller than the
// symbol, render after render on contexts that keep what each render leaves behind.
TEST(RenderWalksTest, OneWalkDrawsWhatTwoWalksDraw) {
  constexpr int kSizes[][2] = {{300, 200}, {720, 720}, {40, 30}, {301, 199}};
  std::mt19937 random(17);
  Context oneWalk, twoWalks;
  int sizeIndex = 0;
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      for (const int frame : {kNoFrame, kDashedFrame, kSolidFrame}) {
        for (const int textAndCheck : {0, 1, 2, 3}) {
          const std::string data = textAndCheck == 0 ? testing::SampleMessage(symbology) : RandomData(random);
          const auto* size = kSizes[sizeIndex++ % std::size(kSizes)];
          for (Context* context : {&oneWalk, &twoWalks}) {
            testing::ResetLibrary(*context);
            SetSize(*context, size[0], size[1]);
            SetBasicInfo(*context, symbology, 0.05, 2.5, orientation, frame);
            SetSymbology(*context, symbology);
            SetMessage(*context, data.c_str());
            SetTextInfo(*context, textAndCheck != 1, textAndCheck >= 2, textAndCheck == 3);
            SetCodabarInfo(*context, textAndCheck, 3 - textAndCheck);
            SetSupplementInfo(*context, textAndCheck % 3, textAndCheck == 1 ? "12" : "52495", 0.3);
          }
          for (int render = 0; render < 2; ++render) {
            const testing::Recording expected = testing::Record(RenderToSurface(twoWalks, RenderBarcodeInTwoWalks));
            ASSERT_EQ(testing::Record(RenderToSurface(oneWalk)), expected)
                << "symbology " << symbology << ", orientation " << orientation << ", frame " << frame << ", case "
                << textAndCheck << ", data \"" << data << "\", picture " << size[0] << "x" << size[1] << ", render " << render;
            ASSERT_STREQ(oneWalk.lastError, twoWalks.lastError);
          }
        }
      }
    }
  }
}

// Sizes near and past the limits of the coordinates: elements and pictures as large as one walk
// and a shift may be trusted with, and larger, where sums clamp and the symbol is measured first.
TEST(RenderWalksTest, SizesNearTheLimitsDrawWhatTwoWalksDraw) {
  struct Case { double narrowCm; int width, height; double barHeightCm; };
  constexpr double kCmPerPixel = 2.54 / 96;
  const Case cases[] = {
      {1023 * kCmPerPixel, (1 << 24) - 1, (1 << 24) - 1, ((1 << 24) - 1) * kCmPerPixel},
      {1024 * kCmPerPixel, 2000, 600, 1.0},
      {0.05, 0x7FFFFFFF, 0x7FFFFFFF, 1.0},
      {0.05, 2000, 600, 2.0e9 * kCmPerPixel},
      {3.0e6 * kCmPerPixel, 2000, 600, 1.0},
  };
  Context oneWalk, twoWalks;
  for (const Case& c : cases) {
    for (const int symbology : {kCode128, kEan13, kPostnet}) {
      for (int orientation = 0; orientation < 4; ++orientation) {
        for (Context* context : {&oneWalk, &twoWalks}) {
          testing::ResetLibrary(*context);
          SetSize(*context, c.width, c.height);
          SetBasicInfo(*context, symbology, c.narrowCm, 3.0, orientation, kNoFrame);
          SetSymbology(*context, symbology);
          SetMessage(*context, testing::SampleMessage(symbology));
          SetBarHeight(*context, c.barHeightCm);
          SetSupplementInfo(*context, kSupplement5, "52495", 0.3);
        }
        const testing::Recording expected = testing::Record(RenderToSurface(twoWalks, RenderBarcodeInTwoWalks));
        ASSERT_EQ(testing::Record(RenderToSurface(oneWalk)), expected)
            << "narrow " << c.narrowCm << " cm, picture " << c.width << "x" << c.height << ", bars " << c.barHeightCm
            << " cm, symbology " << symbology << ", orientation " << orientation;
      }
    }
  }
}

}  // namespace
}  // namespace varnel
