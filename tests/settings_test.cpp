// The setters: what they store, what they refuse, and what they replace.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "base/settings.h"
#include "drawing/context.h"
#include "drawing/context.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

class SettersTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(); }
};

TEST_F(SettersTest, DefaultsDescribeAnArialCodabarOf1234) {
  EXPECT_EQ(DefaultContext().settings.symbology, 0);
  EXPECT_STREQ(DefaultContext().settings.message, "1234");
  EXPECT_STREQ(DefaultContext().state.workMessage, "1234");
  EXPECT_EQ(DefaultContext().settings.width, 300);
  EXPECT_EQ(DefaultContext().settings.height, 200);
  EXPECT_EQ(DefaultContext().settings.narrowWidthCm, 0.07f);
  EXPECT_EQ(DefaultContext().settings.wideRatio, 2.0f);
  EXPECT_EQ(DefaultContext().settings.barHeightCm, 1.5f);
  EXPECT_EQ(DefaultContext().settings.showText, 1);
  EXPECT_EQ(DefaultContext().settings.addCheckDigit, 0);
  EXPECT_EQ(DefaultContext().settings.codabarStart, 'A');
  EXPECT_EQ(DefaultContext().settings.codabarStop, 'B');
  EXPECT_EQ(DefaultContext().settings.supplementGapCm, 0.5f);
  EXPECT_EQ(DefaultContext().settings.font.lfHeight, 24);
  EXPECT_EQ(DefaultContext().settings.font.lfWeight, 400);
  EXPECT_EQ(DefaultContext().settings.font.lfCharSet, 1);
  EXPECT_EQ(DefaultContext().settings.font.lfEscapement, 0);
  EXPECT_STREQ(DefaultContext().settings.font.lfFaceName, "Arial");
  EXPECT_EQ(DefaultContext().settings.barColor, 0x000000u);
  EXPECT_EQ(DefaultContext().settings.backColor, 0xFFFFFFu);
}

TEST_F(SettersTest, SizeOfZeroOrLessFallsBackTo300By200) {
  VnSetSize(0, -5);
  EXPECT_EQ(DefaultContext().settings.width, 300);
  EXPECT_EQ(DefaultContext().settings.height, 200);
  VnSetSize(1, 1);
  EXPECT_EQ(DefaultContext().settings.width, 1);
  EXPECT_EQ(DefaultContext().settings.height, 1);
  VnSetSize(std::numeric_limits<int>::min(), 7);
  EXPECT_EQ(DefaultContext().settings.width, 300);
  EXPECT_EQ(DefaultContext().settings.height, 7);
}

TEST_F(SettersTest, BasicInfoChecksEachArgumentOnItsOwn) {
  VnBasicInfo(5, 0.1, 3.0, 2, 1);
  EXPECT_EQ(DefaultContext().settings.symbology, 5);
  VnBasicInfo(21, 0.0, -1.0, 4, 3);  // symbology and sizes kept, orientation and frame reset
  EXPECT_EQ(DefaultContext().settings.symbology, 5);
  EXPECT_EQ(DefaultContext().settings.narrowWidthCm, 0.1f);
  EXPECT_EQ(DefaultContext().settings.wideRatio, 3.0f);
  EXPECT_EQ(DefaultContext().settings.orientation, 0);
  EXPECT_EQ(DefaultContext().settings.frameStyle, 0);
  VnBasicInfo(-1, -0.1, std::nan(""), 3, 2);
  EXPECT_EQ(DefaultContext().settings.symbology, 5);
  EXPECT_EQ(DefaultContext().settings.narrowWidthCm, 0.1f);
  EXPECT_EQ(DefaultContext().settings.wideRatio, 3.0f);
  EXPECT_EQ(DefaultContext().settings.orientation, 3);
  EXPECT_EQ(DefaultContext().settings.frameStyle, 2);
  VnBasicInfo(20, 0.05, 2.5, -1, -1);
  EXPECT_EQ(DefaultContext().settings.symbology, 20);
  EXPECT_EQ(DefaultContext().settings.narrowWidthCm, static_cast<float>(0.05));
  EXPECT_EQ(DefaultContext().settings.orientation, 0);
  EXPECT_EQ(DefaultContext().settings.frameStyle, 0);
}

TEST_F(SettersTest, DoublesBeyondSinglePrecisionRoundToInfinity) {
  VnBasicInfo(3, 1e300, std::numeric_limits<double>::infinity(), 0, 0);
  EXPECT_TRUE(std::isinf(DefaultContext().settings.narrowWidthCm));
  EXPECT_TRUE(std::isinf(DefaultContext().settings.wideRatio));
  VnBasicInfo(3, 3.4028234e38, 1e30, 0, 0);  // FLT_MAX itself and a large finite value survive
  EXPECT_EQ(DefaultContext().settings.narrowWidthCm, std::numeric_limits<float>::max());
  EXPECT_EQ(DefaultContext().settings.wideRatio, 1e30f);
}

TEST_F(SettersTest, ColourComponentsOutOfRangeAreTakenAsZero) {
  VnSetBarColor(300, 10, -1);
  EXPECT_EQ(DefaultContext().settings.barColor, 0x000A00u);
  VnSetBackColor(1, 2, 3);
  EXPECT_EQ(DefaultContext().settings.backColor, 0x030201u);
  VnSetBackColor(255, 256, 255);
  EXPECT_EQ(DefaultContext().settings.backColor, 0xFF00FFu);
}

TEST_F(SettersTest, CodabarLettersAndUpceSystemKeepTheirValueWhenOutOfRange) {
  VnCodaBarInfo(4, 3);
  EXPECT_EQ(DefaultContext().settings.codabarStart, 'A');
  EXPECT_EQ(DefaultContext().settings.codabarStop, 'D');
  VnCodaBarInfo(2, -1);
  EXPECT_EQ(DefaultContext().settings.codabarStart, 'C');
  EXPECT_EQ(DefaultContext().settings.codabarStop, 'D');
  VnUPCESystem(1);
  VnUPCESystem(2);
  EXPECT_EQ(DefaultContext().settings.upceSystem, 1);
  VnUPCESystem(0);
  EXPECT_EQ(DefaultContext().settings.upceSystem, 0);
}

TEST_F(SettersTest, TextSwitchesAreStoredUnchanged) {
  VnTextInfo(5, 0, 1);
  EXPECT_EQ(DefaultContext().settings.showText, 5);
  EXPECT_EQ(DefaultContext().settings.addCheckDigit, 0);
  EXPECT_EQ(DefaultContext().settings.checkDigitInText, 1);
}

TEST_F(SettersTest, FontTakesAnyHeight) {
  VnFontInfo("Courier New", 0);
  EXPECT_STREQ(DefaultContext().settings.font.lfFaceName, "Courier New");
  EXPECT_EQ(DefaultContext().settings.font.lfHeight, 0);
  VnFontInfo("Arial", -30);
  EXPECT_EQ(DefaultContext().settings.font.lfHeight, -30);
}

TEST_F(SettersTest, SupplementDigitsAreAlwaysStored) {
  VnSupplementInfo(3, "12", 0.0);
  EXPECT_EQ(DefaultContext().settings.supplementKind, 0);
  EXPECT_EQ(DefaultContext().settings.supplementGapCm, 0.5f);
  EXPECT_STREQ(DefaultContext().settings.supplementText, "12");
  VnSupplementInfo(2, "52495", 0.25);
  EXPECT_EQ(DefaultContext().settings.supplementKind, 2);
  EXPECT_EQ(DefaultContext().settings.supplementGapCm, 0.25f);
  VnSupplementInfo(-1, "", std::nan(""));
  EXPECT_EQ(DefaultContext().settings.supplementKind, 2);
  EXPECT_EQ(DefaultContext().settings.supplementGapCm, 0.25f);
  EXPECT_STREQ(DefaultContext().settings.supplementText, "");
}

TEST_F(SettersTest, MessageIsCopiedIntoBothBuffers) {
  VnSetMessage("CODE39");
  EXPECT_STREQ(DefaultContext().settings.message, "CODE39");
  EXPECT_STREQ(DefaultContext().state.workMessage, "CODE39");
  VnSetMessage("");
  EXPECT_STREQ(DefaultContext().settings.message, "");
  EXPECT_STREQ(DefaultContext().state.workMessage, "");
  VnSetMessage("\xC9\x01\xFF");
  EXPECT_STREQ(DefaultContext().settings.message, "\xC9\x01\xFF");
}

TEST_F(SettersTest, LongTextsAreCutToTheirFields) {
  const std::string longText(5000, 'x');
  VnSetMessage(longText.c_str());
  EXPECT_EQ(std::strlen(DefaultContext().settings.message), 999u);
  EXPECT_EQ(std::strlen(DefaultContext().state.workMessage), 999u);
  VnSupplementInfo(1, longText.c_str(), 1.0);
  EXPECT_EQ(std::strlen(DefaultContext().settings.supplementText), 11u);
  VnFontInfo(longText.c_str(), 10);
  EXPECT_EQ(std::strlen(DefaultContext().settings.font.lfFaceName), 31u);
}

TEST_F(SettersTest, NullTextsAreEmptyTexts) {
  VnSetMessage(nullptr);
  EXPECT_STREQ(DefaultContext().settings.message, "");
  VnSupplementInfo(1, nullptr, 1.0);
  EXPECT_STREQ(DefaultContext().settings.supplementText, "");
  VnFontInfo(nullptr, 12);
  EXPECT_STREQ(DefaultContext().settings.font.lfFaceName, "");
  EXPECT_EQ(DefaultContext().settings.font.lfHeight, 12);
}

}  // namespace
}  // namespace varnel
