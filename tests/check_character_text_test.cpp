// The printed text of the symbologies with an optional check character: the check character is
// printed only when asked, and with the longest message every copy and append stops at the end of
// the 1000-byte text buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/settings.h"
#include "drawing/context.h"
#include "drawing/context.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

class CheckCharacterTextTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(); }
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
    VnBasicInfo(c.symbology, 0.07, 2.0, 0, 0);
    VnSetMessage(c.data);
    VnTextInfo(1, c.addCheckDigit, c.checkDigitInText);
    testing::RenderToSurface();
    const std::string where = "symbology " + std::to_string(c.symbology) + " \"" + c.data + "\" " +
                              std::to_string(c.addCheckDigit) + std::to_string(c.checkDigitInText);
    EXPECT_STREQ(DefaultContext().state.humanText, c.printed) << where;
    EXPECT_STREQ(DefaultContext().state.workMessage, c.data) << where;
  }
}

TEST_F(CheckCharacterTextTest, LongestMessageWithEverySwitchOnStaysWithinTheTextBuffers) {
  testing::TempDir folder;
  std::string digits;
  for (int i = 0; i < kMessageCapacity - 1; ++i) digits += static_cast<char>('0' + i % 10);
  VnSetMessage(digits.c_str());
  VnTextInfo(1, 1, 1);
  for (const int symbology : {kCodabar, kCode11, kInterleaved2of5, kMatrix2of5, kMsi, kPlanet, kPostnet}) {
    VnBasicInfo(symbology, 0.07, 2.0, 0, 1);
    DefaultContext().state.humanText[0] = '\0';  // a refused message would leave it as it is
    ASSERT_EQ(VnSaveAsBMP(folder.File("long.bmp").c_str()), 1) << symbology;
    // The 999 data digits fill the printed text; the check character finds no room after them (nor,
    // for Interleaved 2 of 5, whose odd count needs no pad, after the data it draws first).
    EXPECT_EQ(std::string(DefaultContext().state.humanText, strnlen(DefaultContext().state.humanText, sizeof DefaultContext().state.humanText)), digits) << symbology;
    EXPECT_EQ(std::string(DefaultContext().state.workMessage), digits) << symbology;
  }
}

}  // namespace
}  // namespace varnel
