// VnMeasure: the sizes it reports are those every output centres the symbol by, in every orientation,
// with text and without; refused data measures nothing; and measuring changes no later picture. The
// bar height it measures is VnSetBarHeight's, taken at the resolution across the symbol.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/settings.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

constexpr int kFontHeight = 24;  // the default font's cell height
constexpr int kAlong = 800;      // room for every sample symbol, add-on included
constexpr int kAcross = 300;     // room for the band and the ISBN caption above it

// Every symbology with its sample data, a 5-digit add-on where it takes one, and its check
// characters, at a resolution that differs across and along, so that a size taken in the wrong
// direction comes out wrong.
void ConfigureSample(int symbology, int orientation, int showText) {
  testing::ResetLibrary();
  VnSetScreenResolution(72, 96);
  VnBasicInfo(symbology, 0.07, 2.0, orientation, kNoFrame);
  VnSetSymbology(symbology);
  VnSetMessage(testing::SampleMessage(symbology));
  VnSupplementInfo(kSupplement5, "12345", 0.3);
  VnTextInfo(showText, 1, 1);
}

// Where the first bar of an upright picture stands: the first column with a dark run taller than
// a glyph of the font can be, and the top of that run.
struct BarCorner {
  int left;
  int top;
};

std::optional<BarCorner> FirstBar(const testing::Bitmap& upright) {
  for (int x = 0; x < upright.width; ++x) {
    int run = 0;
    for (int y = 0; y < upright.height; ++y) {
      run = testing::IsDark(upright, x, y) ? run + 1 : 0;
      if (run > kFontHeight) return BarCorner{x, y - run + 1};
    }
  }
  return std::nullopt;
}

// A size centred in a room whose difference is odd has its odd pixel after it in the picture's own
// coordinates, on the right or at the bottom. The symbol's start is always on the near side once the
// picture is turned upright; the top of its bars faces the far side when it is turned by 180 or 270
// degrees, and then has the larger half.
int MarginBeforeStart(int room, int length) { return (room - length) / 2; }

int MarginAboveBars(int room, int thickness, int orientation) {
  const int nearHalf = (room - thickness) / 2;
  return orientation >= 2 ? room - thickness - nearHalf : nearHalf;
}

class MeasureTest : public ::testing::TestWithParam<int> {};

// One picture can place a size only to within a pixel, as centring halves the margin; pictures one
// pixel apart in both directions settle it.
TEST_P(MeasureTest, SizesAreThoseThePictureIsCentredBy) {
  const int orientation = GetParam();
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (const int showText : {0, 1}) {
      for (const int larger : {0, 1}) {
        ConfigureSample(symbology, orientation, showText);
        const int along = kAlong + larger, across = kAcross + larger;
        if (orientation % 2 != 0) {
          VnSetSize(across, along);
        } else {
          VnSetSize(along, across);
        }
        int length = -1, thickness = -1;
        ASSERT_EQ(VnMeasure(&length, &thickness), 1) << symbology;
        ASSERT_GT(length, 0) << symbology;
        ASSERT_LT(length, along) << symbology;
        ASSERT_GT(thickness, 0) << symbology;
        ASSERT_LT(thickness, across) << symbology;

        const std::optional<BarCorner> bar = FirstBar(testing::Unrotate(testing::RenderToBitmap(), orientation));
        ASSERT_TRUE(bar.has_value()) << symbology;
        const std::string where = "symbology " + std::to_string(symbology) + ", text " + std::to_string(showText) +
                                  ", picture " + std::to_string(along) + " along";
        EXPECT_EQ(bar->left, MarginBeforeStart(along, length)) << where;
        EXPECT_EQ(bar->top, MarginAboveBars(across, thickness, orientation)) << where;
      }
    }
  }
}

// The measuring pass prepares the data for the drawing pass (a check digit appended, an ISBN turned
// into its EAN-13 number); a measure on its own must leave the next picture as it would have been.
TEST_P(MeasureTest, AMeasureChangesNoLaterPicture) {
  const int orientation = GetParam();
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    ConfigureSample(symbology, orientation, 1);
    const testing::Bitmap alone = testing::RenderToBitmap();
    int length = 0, thickness = 0;
    ASSERT_EQ(VnMeasure(&length, &thickness), 1) << symbology;
    int again = 0, againThickness = 0;
    ASSERT_EQ(VnMeasure(&again, &againThickness), 1) << symbology;
    EXPECT_EQ(again, length) << symbology;
    EXPECT_EQ(againThickness, thickness) << symbology;
    EXPECT_EQ(testing::RenderToBitmap().gray, alone.gray) << symbology;
  }
}

// The longest dark run down column x.
int TallestRunDown(const testing::Bitmap& picture, int x) {
  int tallest = 0, run = 0;
  for (int y = 0; y < picture.height; ++y) {
    run = testing::IsDark(picture, x, y) ? run + 1 : 0;
    tallest = std::max(tallest, run);
  }
  return tallest;
}

// Code 39 without text is bars of one height and nothing else. 2 cm is 2 / 2.54 inches: 75.6 pixels
// at the 96 dpi that lays out an upright or upside-down symbol here, and 56.7 at the 72 dpi across
// a turned one, both cut to whole pixels as every centimetre setting is.
TEST_P(MeasureTest, TheBarHeightIsTakenAtTheResolutionAcrossTheSymbol) {
  const int orientation = GetParam();
  const int expected = orientation % 2 == 0 ? 75 : 56;
  ConfigureSample(kCode39, orientation, 0);
  VnSetSize(orientation % 2 != 0 ? kAcross : kAlong, orientation % 2 != 0 ? kAlong : kAcross);
  VnSetBarHeight(2.0);
  int thickness = 0;
  ASSERT_EQ(VnMeasure(nullptr, &thickness), 1);
  EXPECT_EQ(thickness, expected);
  const testing::Bitmap upright = testing::Unrotate(testing::RenderToBitmap(), orientation);
  const std::optional<BarCorner> bar = FirstBar(upright);
  ASSERT_TRUE(bar.has_value());
  EXPECT_EQ(TallestRunDown(upright, bar->left), expected);

  // A context of the host's own takes it the same way, and keeps it from the default context's.
  VnContext* context = VnCreateContext();
  ASSERT_NE(context, nullptr);
  VnCtxBasicInfo(context, kCode39, 0.07, 2.0, orientation, kNoFrame);
  VnCtxTextInfo(context, 0, 0, 0);
  VnCtxSetBarHeight(context, 2.0);
  int contextThickness = 0;
  EXPECT_EQ(VnCtxMeasure(context, nullptr, &contextThickness), 1);
  EXPECT_EQ(contextThickness, expected);
  VnCtxSetBarHeight(context, 1.0);
  VnSetBarHeight(2.0);
  EXPECT_EQ(VnCtxMeasure(context, nullptr, &contextThickness), 1);
  EXPECT_EQ(contextThickness, orientation % 2 == 0 ? 37 : 28);
  VnDestroyContext(context);
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, MeasureTest, ::testing::Values(0, 1, 2, 3));

// Heights that are not above 0 leave the height as it was, as the narrow width's setter does; a
// height whose pixels would pass the int range makes the bars the largest int tall, and every
// output still draws a whole picture of them.
TEST(MeasureBarHeight, HeightsNotAboveZeroAreIgnoredAndHugeOnesSaturate) {
  testing::ResetLibrary();
  VnBasicInfo(kCode39, 0, 0, 0, kNoFrame);
  VnTextInfo(0, 0, 0);
  VnSetBarHeight(2.0);
  for (const double ignored : {0.0, -0.0, -2.0, -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::max()}) {
    VnSetBarHeight(ignored);
    int thickness = 0;
    ASSERT_EQ(VnMeasure(nullptr, &thickness), 1);
    EXPECT_EQ(thickness, 75) << ignored;
  }
  testing::TempDir folder;
  for (const double huge : {1e30, std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()}) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      for (const int symbology : {kCode39, kEan13, kPostnet, kUpcE}) {
        VnBasicInfo(symbology, 0, 0, orientation, kNoFrame);
        VnSetMessage(testing::SampleMessage(symbology));
        VnTextInfo(1, 0, 0);
        VnSetBarHeight(huge);
        const std::string where = std::to_string(huge) + " symbology " + std::to_string(symbology) + " orientation " +
                                  std::to_string(orientation);
        int thickness = 0;
        ASSERT_EQ(VnMeasure(nullptr, &thickness), 1) << where;
        EXPECT_EQ(thickness, INT_MAX) << where;
        // Too thick to centre, the band starts at the picture's edge: the bars cross the picture, but
        // for the text band where it lies within it (upside down and turned by 270 degrees the band
        // is mirrored, its text first).
        const testing::Bitmap upright = testing::Unrotate(testing::RenderToBitmap(), orientation);
        ASSERT_GT(upright.width, 0) << where;
        const std::optional<BarCorner> bar = FirstBar(upright);
        ASSERT_TRUE(bar.has_value()) << where;
        EXPECT_GE(TallestRunDown(upright, bar->left), upright.height - (kFontHeight - 4)) << where;
        EXPECT_EQ(VnSaveAsWMF(folder.File("huge.wmf").c_str()), 1) << where;
        EXPECT_EQ(VnSaveAsEMF(folder.File("huge.emf").c_str()), 1) << where;
        EXPECT_EQ(VnSaveAsSVG(folder.File("huge.svg").c_str()), 1) << where;
        EXPECT_EQ(VnSaveAsPNG(folder.File("huge.png").c_str()), 1) << where;
      }
    }
  }
}

TEST(MeasureRefusal, RefusedDataHasNoSizesAndItsMessage) {
  testing::ResetLibrary();
  VnBasicInfo(kEan13, 0, 0, 0, 0);
  VnSetMessage("590123412345");
  int length = 0, thickness = 0;
  ASSERT_EQ(VnMeasure(&length, &thickness), 1);
  ASSERT_GT(length, 0);

  // The sizes of the symbol before do not survive a refusal.
  VnSetMessage("12");
  EXPECT_EQ(VnMeasure(&length, &thickness), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(thickness, 0);
  EXPECT_STREQ(VnGetLastError(), "12 digits are required.");
  thickness = -1;
  EXPECT_EQ(VnMeasure(nullptr, &thickness), 0);
  EXPECT_EQ(thickness, 0);
  length = -1;
  EXPECT_EQ(VnMeasure(&length, nullptr), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(VnMeasure(nullptr, nullptr), 0);
}

TEST(MeasureRefusal, EitherSizeMayBeAskedForAlone) {
  testing::ResetLibrary();
  int length = 0, thickness = 0;
  ASSERT_EQ(VnMeasure(&length, &thickness), 1);
  int lengthAlone = 0, thicknessAlone = 0;
  EXPECT_EQ(VnMeasure(&lengthAlone, nullptr), 1);
  EXPECT_EQ(VnMeasure(nullptr, &thicknessAlone), 1);
  EXPECT_EQ(VnMeasure(nullptr, nullptr), 1);
  EXPECT_EQ(lengthAlone, length);
  EXPECT_EQ(thicknessAlone, thickness);
}

}  // namespace
}  // namespace varnel
