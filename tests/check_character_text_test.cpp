// The printed text of the symbologies with an optional check character: the check character is
// printed only when asked, and with the longest message every copy and append stops at the end of
// the 1000-byte text buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

class CheckCharacterTextTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  Context context;
};

TEST_F(CheckCharacterTextTest, CheckCharacterIsPrintedOnlyWhenAsked) {
  struct Case {
    int symbology;
    const char* data;
    int addCheckDigit, checkDigitInText;
    const char* printed;
  };
  const Case cases[] = {
      {kCodabar, "40156", 1, 1, "40156+"},
      {kCodabar, "40156", 1, 0, "40156"},
      {kCodabar, "40156", 0, 1, "40156"},
      {kCode11, "123-45", 1, 1, "123-455"},
      {kCode11, "0123456789012", 1, 1, "0123456789012-"},
      {kCode11, "123-45", 1, 0, "123-45"},
      {kCode11, "123-45", 0, 1, "123-45"},
      // Interleaved 2 of 5 prints the digits it drew, pad included, whenever the check digit is
      // printed or would be.
      {kInterleaved2of5, "123", 1, 1, "1236"},
      {kInterleaved2of5, "1234", 1, 1, "012348"},
      {kInterleaved2of5, "123", 0, 1, "0123"},
      {kInterleaved2of5, "123", 1, 0, "123"},
      {kMsi, "1234567", 1, 1, "12345674"},
      {kMsi, "", 1, 1, "0"},
      {kMsi, "1234567", 1, 0, "1234567"},
      {kMsi, "1234567", 0, 1, "1234567"},
      {kPostnet, "12345", 1, 1, "123455"},
      {kPostnet, "12345", 1, 0, "12345"},
      {kPostnet, "12345", 0, 1, "12345"},
      {kPlanet, "12345", 1, 1, "123455"},
      {kMatrix2of5, "12345", 1, 1, "12345"},
  };
  for (const Case& c : cases) {
    SetBasicInfo(context, c.symbology, 0.07, 2.0, 0, 0);
    SetMessage(context, c.data);
    SetTextInfo(context, 1, c.addCheckDigit, c.checkDigitInText);
    const std::string where = "symbology " + std::to_string(c.symbology) + " \"" + c.data + "\" " +
                              std::to_string(c.addCheckDigit) + std::to_string(c.checkDigitInText);
    // Twice: a check character kept in the message would be printed twice by the second render.
    for (int render = 0; render < 2; ++render) {
      EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), c.printed) << where << " render " << render;
    }
  }
}

TEST_F(CheckCharacterTextTest, LongestMessageWithEverySwitchOnStaysWithinTheTextBuffers) {
  std::string digits;
  for (int i = 0; i < kMessageCapacity - 1; ++i) digits += static_cast<char>('0' + i % 10);
  SetMessage(context, digits.c_str());
  SetTextInfo(context, 1, 1, 1);
  for (const int symbology : {kCodabar, kCode11, kInterleaved2of5, kMatrix2of5, kMsi, kPlanet, kPostnet}) {
    SetBasicInfo(context, symbology, 0.07, 2.0, 0, 1);
    ASSERT_GT(testing::RenderToBitmap(context).width, 0) << symbology;
    // The 999 data digits fill the printed text; the check character finds no room after them (nor,
    // for Interleaved 2 of 5, whose odd count needs no pad, after the data it draws first). The
    // next render prints them again: the message is what it was.
    for (int render = 0; render < 2; ++render) {
      EXPECT_EQ(testing::PrintedText(RenderToSurface(context)), digits) << symbology << " render " << render;
    }
  }
}

}  // namespace
}  // namespace varnel
