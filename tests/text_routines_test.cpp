// The small text routines over the engine's fixed-size buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "base/text_routines.h"

namespace varnel {
namespace {

TEST(TextRoutinesTest, DigitsToIntReadsDecimalDigits) {
  EXPECT_EQ(DigitsToInt("12"), 12);
  EXPECT_EQ(DigitsToInt(""), 0);
  EXPECT_EQ(DigitsToInt("0007"), 7);
  EXPECT_EQ(DigitsToInt("2147483647"), INT_MAX);
}

TEST(TextRoutinesTest, IntToDigitsWritesWithoutLeadingZeros) {
  char buffer[11];
  IntToDigits(buffer, 243);
  EXPECT_STREQ(buffer, "243");
  IntToDigits(buffer, 0);
  EXPECT_STREQ(buffer, "0");
  IntToDigits(buffer, INT_MAX);
  EXPECT_STREQ(buffer, "2147483647");
  for (int value : {1, 9, 10, 99, 100, 65535, 1000000000}) {
    IntToDigits(buffer, value);
    EXPECT_EQ(DigitsToInt(buffer), value);
  }
}

TEST(TextRoutinesTest, CopyCharsCopiesACountAndTerminates) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  CopyChars(buffer, "abcdef", 3);
  EXPECT_STREQ(buffer, "abc");
  CopyChars(buffer, "abcdef", 0);
  EXPECT_STREQ(buffer, "");
}

TEST(TextRoutinesTest, AppendsStopAtTheBufferEnd) {
  char buffer[6] = "abc";
  AppendText(buffer, "defgh");
  EXPECT_STREQ(buffer, "abcde");
  AppendChar(buffer, 'z');
  EXPECT_STREQ(buffer, "abcde");
  char full[1000];
  std::memset(full, 'q', sizeof full - 1);
  full[999] = '\0';
  AppendText(full, "more");
  EXPECT_EQ(std::strlen(full), 999u);
}

}  // namespace
}  // namespace varnel
