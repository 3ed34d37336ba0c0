// The setters: what they keep, what they refuse, and what they replace, each seen in the picture a
// context of the test's own draws with it, or set beside the picture of the value it should keep.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "engine/render_driver.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"

namespace varnel {
namespace {

class SettersTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  testing::Recording Drawn() { return testing::Record(RenderToSurface(context)); }
  std::string Printed() { return testing::PrintedText(RenderToSurface(context)); }

  // The picture of a context that starts from the defaults and is set up by `setUp` alone.
  static testing::Recording DrawnWith(const std::function<void(Context&)>& setUp) {
    Context other;
    testing::ResetLibrary(other);
    setUp(other);
    return testing::Record(RenderToSurface(other));
  }

  Context context;
};

// The defaults: "1234" in Codabar between A and B with no check character, 300 x 200 pixels, narrow
// elements of 0.07 cm (2 pixels at 96 per inch) and wide ones twice that, bars 1.5 cm (56 pixels)
// tall, the data printed in Arial 24, black on white.
TEST_F(SettersTest, DefaultsDescribeAnArialCodabarOf1234) {
  const testing::Recording drawn = Drawn();
  EXPECT_EQ(drawn.width, 300);
  EXPECT_EQ(drawn.height, 200);
  ASSERT_GT(drawn.fills.size(), 2u);
  EXPECT_EQ(drawn.fills.front().rect, (Rect{0, 0, 300, 200}));
  EXPECT_EQ(drawn.fills.front().color, 0xFFFFFFu);
  // The bars lie between the background and the text's box.
  for (std::size_t i = 1; i + 1 < drawn.fills.size(); ++i) {
    const Rect& bar = drawn.fills[i].rect;
    EXPECT_EQ(drawn.fills[i].color, kBlack) << i;
    EXPECT_EQ(bar.bottom - bar.top, 56) << i;
    EXPECT_TRUE(bar.right - bar.left == 2 || bar.right - bar.left == 4) << i;
    if (i > 1) {
      const int space = bar.left - drawn.fills[i - 1].rect.right;
      EXPECT_TRUE(space == 2 || space == 4) << i;
    }
  }
  ASSERT_EQ(drawn.texts.size(), 1u);
  const TextOp& text = drawn.texts[0];
  EXPECT_EQ(text.text, "1234");
  EXPECT_EQ(text.textColor, kBlack);
  ASSERT_TRUE(text.font.has_value());
  EXPECT_STREQ(text.font->lfFaceName, "Arial");
  EXPECT_EQ(text.font->lfHeight, 24);
  EXPECT_EQ(text.font->lfWeight, 400);
  EXPECT_EQ(text.font->lfCharSet, 1);
  // A reader finds the letters and no check character.
  EXPECT_EQ(testing::DecodeWithZbar(testing::WithQuietZone(testing::RenderToBitmap(context), 20)),
            std::vector<std::string>{"A1234B"});
  // The settings a setter can name are those values.
  EXPECT_EQ(drawn, DrawnWith([](Context& c) {
              SetSize(c, 300, 200);
              SetBasicInfo(c, kCodabar, 0.07, 2.0, 0, 0);
              SetMessage(c, "1234");
              SetTextInfo(c, 1, 0, 0);
              SetCodabarInfo(c, 0, 1);
              SetFont(c, "Arial", 24);
              SetBarColor(c, 0, 0, 0);
              SetBackColor(c, 255, 255, 255);
            }));
  // An add-on's gap is 0.5 cm until one is given.
  const auto withAddOn = [](double gapCm) {
    return [gapCm](Context& c) {
      SetBasicInfo(c, kEan13, 0.07, 2.0, 0, 0);
      SetMessage(c, "590123412345");
      SetSupplementInfo(c, kSupplement2, "12", gapCm);
    };
  };
  EXPECT_EQ(DrawnWith(withAddOn(0.0)), DrawnWith(withAddOn(0.5)));
  EXPECT_NE(DrawnWith(withAddOn(0.0)), DrawnWith(withAddOn(0.6)));
  // The defaults replace the data for the very next picture.
  SetMessage(context, "5678");
  SetDefault(context);
  EXPECT_EQ(Printed(), "1234");
}

TEST_F(SettersTest, SizeOfZeroOrLessFallsBackTo300By200) {
  struct Case { int width, height, expectedWidth, expectedHeight; };
  for (const Case c : {Case{0, -5, 300, 200}, Case{1, 1, 1, 1}, Case{INT_MIN, 7, 300, 7}, Case{640, 0, 640, 200}}) {
    SetSize(context, c.width, c.height);
    const Surface& surface = RenderToSurface(context);
    EXPECT_EQ(surface.Width(), c.expectedWidth) << c.width << " x " << c.height;
    EXPECT_EQ(surface.Height(), c.expectedHeight) << c.width << " x " << c.height;
  }
}

TEST_F(SettersTest, BasicInfoChecksEachArgumentOnItsOwn) {
  SetBasicInfo(context, kCode39, 0.1, 3.0, 2, 1);
  SetBasicInfo(context, kSymbologyCount, 0.0, -1.0, 4, 3);  // symbology and sizes kept, orientation and frame reset
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetBasicInfo(c, kCode39, 0.1, 3.0, 0, 0); }));
  SetBasicInfo(context, -1, -0.1, std::nan(""), 3, 2);
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetBasicInfo(c, kCode39, 0.1, 3.0, 3, 2); }));
  SetMessage(context, "04210000526");
  SetBasicInfo(context, kUpcE, 0.05, 2.5, -1, -1);
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) {
              SetMessage(c, "04210000526");
              SetBasicInfo(c, kUpcE, 0.05, 2.5, 0, 0);
            }));
}

// VnSetSymbology takes every number of the catalogue, as VnBasicInfo does for the classic ones, and
// leaves everything else VnBasicInfo set as it was; any other number changes nothing.
TEST_F(SettersTest, SetSymbologyChoosesAnyCatalogueNumberAndNothingElse) {
  SetBasicInfo(context, kCode39, 0.1, 3.0, 2, 1);
  for (int symbology = 0; symbology < kClassicSymbologyCount; ++symbology) {
    SetSymbology(context, symbology);
    EXPECT_EQ(Drawn(), DrawnWith([&](Context& c) { SetBasicInfo(c, symbology, 0.1, 3.0, 2, 1); })) << symbology;
  }
  // The numbers after the classic ones: VnBasicInfo leaves Code 39 chosen, VnSetSymbology chooses
  // them, as the printed text of their samples shows.
  const std::pair<int, const char*> newer[] = {{kGs1_128, "(01)09501101530003(3103)001250(10)Lot(7)"},
                                               {kItf14, "15400141288763"}};
  for (const auto& [symbology, printed] : newer) {
    const char* sample = testing::SampleMessage(symbology);
    SetMessage(context, sample);
    SetBasicInfo(context, kCode39, 0.1, 3.0, 2, 1);
    SetBasicInfo(context, symbology, 0.1, 3.0, 2, 1);
    EXPECT_EQ(Drawn(), DrawnWith([&](Context& c) {
                SetMessage(c, sample);
                SetBasicInfo(c, kCode39, 0.1, 3.0, 2, 1);
              })) << symbology;
    SetSymbology(context, symbology);
    EXPECT_EQ(Printed(), printed) << symbology;
  }
  SetMessage(context, "1234");
  SetSymbology(context, kCode39);
  for (const int outside : {-1, kSymbologyCount, INT_MAX, INT_MIN}) {
    SetSymbology(context, outside);
    EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetBasicInfo(c, kCode39, 0.1, 3.0, 2, 1); })) << outside;
  }
}

// Elements this wide lie beyond any picture whether their width is the largest float or infinite,
// so the rounding itself is read from the context's settings.
TEST_F(SettersTest, DoublesBeyondSinglePrecisionRoundToInfinity) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  SetBasicInfo(context, kCode39, 1e300, kInfinity, 0, 0);
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetBasicInfo(c, kCode39, kInfinity, kInfinity, 0, 0); }));
  EXPECT_TRUE(std::isinf(context.settings.narrowWidthCm));
  EXPECT_TRUE(std::isinf(context.settings.wideRatio));
  SetBasicInfo(context, kCode39, 3.4028234e38, 1e30, 0, 0);  // FLT_MAX itself and a large finite value survive
  EXPECT_EQ(context.settings.narrowWidthCm, std::numeric_limits<float>::max());
  EXPECT_EQ(context.settings.wideRatio, 1e30f);
}

TEST_F(SettersTest, ColourComponentsOutOfRangeAreTakenAsZero) {
  SetBarColor(context, 300, 10, -1);
  SetBackColor(context, 1, 2, 3);
  testing::Recording drawn = Drawn();
  ASSERT_GT(drawn.fills.size(), 1u);
  EXPECT_EQ(drawn.fills[0].color, 0x030201u);  // the background
  EXPECT_EQ(drawn.fills[1].color, 0x000A00u);  // a bar
  ASSERT_EQ(drawn.texts.size(), 1u);
  EXPECT_EQ(drawn.texts[0].textColor, 0x000A00u);
  SetBackColor(context, 255, 256, 255);
  drawn = Drawn();
  EXPECT_EQ(drawn.fills[0].color, 0xFF00FFu);
}

// Each value out of range keeps the letter before it, which is neither A nor D, so that a value
// wrapped round into range would show.
TEST_F(SettersTest, CodabarLettersAndUpceSystemKeepTheirValueWhenOutOfRange) {
  SetCodabarInfo(context, 1, 2);
  SetCodabarInfo(context, 4, -1);
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetCodabarInfo(c, 1, 2); }));
  SetCodabarInfo(context, 3, 5);
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) { SetCodabarInfo(c, 3, 2); }));

  // A UPC-A number of system 1 is drawn only while system 1 is chosen.
  SetBasicInfo(context, kUpcE, 0.07, 2.0, 0, 0);
  SetMessage(context, "14210000526");
  SetUpcESystem(context, 1);
  SetUpcESystem(context, 2);
  EXPECT_TRUE(MeasureBarcode(context).has_value());
  SetUpcESystem(context, 0);
  SetUpcESystem(context, -1);
  EXPECT_FALSE(MeasureBarcode(context).has_value());
  EXPECT_EQ(Printed(), "The first digit must be the UPC-E number system.");
}

TEST_F(SettersTest, TextSwitchesTakeAnyValueButZeroAsOn) {
  const auto code39 = [](int showText, int addCheckDigit, int checkDigitInText) {
    return [=](Context& c) {
      SetBasicInfo(c, kCode39, 0.07, 2.0, 0, 0);
      SetMessage(c, "CODE39");
      SetTextInfo(c, showText, addCheckDigit, checkDigitInText);
    };
  };
  code39(5, 0, 1)(context);
  EXPECT_EQ(Printed(), "CODE39");
  EXPECT_EQ(Drawn(), DrawnWith(code39(1, 0, 1)));
  code39(-2, 7, -9)(context);
  EXPECT_EQ(Printed(), "CODE39W");
  EXPECT_EQ(Drawn(), DrawnWith(code39(1, 1, 1)));
  code39(0, 3, 1)(context);
  EXPECT_TRUE(Drawn().texts.empty());
}

// A height of 0 or less leaves the text no room, but the band below the bars is still the height
// less 4: the band's thickness shows the height that was kept.
TEST_F(SettersTest, FontTakesAnyHeight) {
  struct Case { const char* face; int height; };
  for (const Case c : {Case{"Courier New", 0}, Case{"Arial", -30}, Case{"Arial", 30}}) {
    SetFont(context, c.face, c.height);
    const testing::Recording drawn = Drawn();
    ASSERT_EQ(drawn.texts.size(), 1u) << c.height;
    ASSERT_TRUE(drawn.texts[0].font.has_value());
    EXPECT_STREQ(drawn.texts[0].font->lfFaceName, c.face);
    EXPECT_EQ(drawn.texts[0].font->lfHeight, c.height);
    EXPECT_EQ(MeasureBarcode(context).value().thickness, 56 + c.height - 4) << c.height;
  }
}

TEST_F(SettersTest, SupplementDigitsAreAlwaysStored) {
  const auto ean13 = [](int kind, const char* digits, double gapCm) {
    return [=](Context& c) {
      SetBasicInfo(c, kEan13, 0.07, 2.0, 0, 0);
      SetMessage(c, "590123412345");
      SetSupplementInfo(c, kind, digits, gapCm);
    };
  };
  ean13(3, "12", 0.0)(context);  // no kind 3: still no add-on
  EXPECT_EQ(Drawn(), DrawnWith(ean13(kNoSupplement, "", 0.5)));
  ean13(kSupplement5, "52495", 0.0)(context);  // no gap given: 0.5 cm stays
  EXPECT_EQ(Drawn(), DrawnWith(ean13(kSupplement5, "52495", 0.5)));
  ean13(kSupplement5, "52495", 0.25)(context);
  // Kind and gap are kept; the digits are replaced even so, and five are now missing.
  SetSupplementInfo(context, -1, "", std::nan(""));
  EXPECT_EQ(Printed(), "Wrong Supplement 5");
  // JAN takes the empty add-on: it is the one asked for, 0.25 cm out.
  SetBasicInfo(context, kJan13, 0.07, 2.0, 0, 0);
  SetMessage(context, "490123456789");
  EXPECT_EQ(Drawn(), DrawnWith([](Context& c) {
              SetBasicInfo(c, kJan13, 0.07, 2.0, 0, 0);
              SetMessage(c, "490123456789");
              SetSupplementInfo(c, kSupplement5, "", 0.25);
            }));
}

// Printed by the first render, which draws the working copy, and by the next, which starts again
// from the data.
TEST_F(SettersTest, MessageIsCopiedIntoBothBuffers) {
  SetBasicInfo(context, kCode128, 0.07, 2.0, 0, 0);
  for (const char* message : {"CODE39", "", "\xC9\x01\xFF"}) {
    SetMessage(context, message);
    for (int render = 0; render < 2; ++render) EXPECT_EQ(Printed(), message) << render;
  }
}

TEST_F(SettersTest, LongTextsAreCutToTheirFields) {
  const std::string longText(5000, 'x');
  SetBasicInfo(context, kCode128, 0.07, 2.0, 0, 0);
  SetMessage(context, longText.c_str());
  for (int render = 0; render < 2; ++render) EXPECT_EQ(Printed(), std::string(999, 'x')) << render;
  SetFont(context, longText.c_str(), 10);
  const testing::Recording drawn = Drawn();
  ASSERT_EQ(drawn.texts.size(), 1u);
  EXPECT_EQ(std::string(drawn.texts[0].font->lfFaceName), std::string(31, 'x'));
  // No symbology prints add-on digits that it has not checked to be 2 or 5, so the cut to 11 shows
  // in no picture: it is read from the settings.
  SetSupplementInfo(context, kSupplement2, longText.c_str(), 1.0);
  EXPECT_EQ(std::strlen(context.settings.supplementText), 11u);
}

TEST_F(SettersTest, NullTextsAreEmptyTexts) {
  SetBasicInfo(context, kCode128, 0.07, 2.0, 0, 0);
  SetMessage(context, nullptr);
  EXPECT_EQ(Printed(), "");
  SetFont(context, nullptr, 12);
  const testing::Recording drawn = Drawn();
  ASSERT_EQ(drawn.texts.size(), 1u);
  EXPECT_STREQ(drawn.texts[0].font->lfFaceName, "");
  EXPECT_EQ(drawn.texts[0].font->lfHeight, 12);
  SetBasicInfo(context, kEan13, 0.07, 2.0, 0, 0);
  SetMessage(context, "590123412345");
  SetSupplementInfo(context, kSupplement2, "12", 1.0);
  SetSupplementInfo(context, kSupplement2, nullptr, 1.0);
  EXPECT_EQ(Printed(), "Wrong Supplement 2");
}

}  // namespace
}  // namespace varnel
