// Which data each symbology accepts, and the message that takes the symbol's place otherwise, as the
// measure reports them: whether the data would be drawn, and the last error.
#include <gtest/gtest.h>

#include <string>

#include "base/settings.h"
#include "engine/validation.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

struct Case {
  int symbology;
  const char* data;
  const char* expected;  // nullptr: accepted
};

class ValidationTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(); }

  void Expect(const Case& c) {
    VnBasicInfo(c.symbology, 0.07, 2.0, 0, 0);
    VnSetMessage(c.data);
    const int accepted = VnMeasure(nullptr, nullptr);
    EXPECT_EQ(accepted, c.expected == nullptr ? 1 : 0) << c.symbology << " '" << c.data << "'";
    EXPECT_STREQ(VnGetLastError(), c.expected == nullptr ? "" : c.expected) << c.symbology << " '" << c.data << "'";
  }
};

TEST_F(ValidationTest, RetailSymbolsNeedTheirExactDigitCount) {
  for (const Case& c : {
           Case{kEan13, "590123412345", nullptr},
           Case{kEan13, "59012341234", "12 digits are required."},
           Case{kEan13, "5901234123457", "12 digits are required."},
           Case{kEan13, "59012341234A", "12 digits are required."},
           Case{kEan8, "9638507", nullptr},
           Case{kEan8, "963850", "7 digits are required."},
           Case{kIsbn, "0123456789", nullptr},
           Case{kIsbn, "012345678X", "10 digits are required."},
           Case{kUpcA, "03600029145", nullptr},
           Case{kUpcA, "0360002914", "11 digits are required."},
           Case{kUpcE, "04210000526", nullptr},
           Case{kUpcE, "0421000052", "11 digits are required."},
       }) {
    Expect(c);
  }
}

// A UPC-E symbol stands for the UPC-A number a scanner expands it to, and its check digit is that
// number's: data whose zeros are not where UPC-E leaves them out, or whose first digit is not the
// chosen number system, would come out as another number or as one no scanner reads.
TEST_F(ValidationTest, UpcENeedsANumberItCanStandFor) {
  struct UpcECase {
    const char* data;
    int numberSystem;
    const char* expected;
  };
  for (const UpcECase& c : {
           UpcECase{"04210000526", 0, nullptr},  // the four ways of leaving zeros out
           UpcECase{"01230000045", 0, nullptr},
           UpcECase{"01234000005", 0, nullptr},
           UpcECase{"01234500006", 0, nullptr},
           UpcECase{"14210000526", 1, nullptr},
           UpcECase{"01234567890", 0, "A zero-suppressible number is required."},  // no zeros to leave out
           UpcECase{"04210100526", 0, "A zero-suppressible number is required."},  // d7 of the 00-pair is 1
           UpcECase{"01230000145", 0, "A zero-suppressible number is required."},  // d9 of 000 is 1
           UpcECase{"01234000015", 0, "A zero-suppressible number is required."},  // d10 of 0000 is 1
           UpcECase{"01234500003", 0, "A zero-suppressible number is required."},  // last digit 0-4 names another rule
           UpcECase{"14210000526", 0, "The first digit must be the UPC-E number system."},
           UpcECase{"04210000526", 1, "The first digit must be the UPC-E number system."},
           UpcECase{"24210000526", 0, "The first digit must be the UPC-E number system."},
           UpcECase{"0421000052", 0, "11 digits are required."},
       }) {
    VnUPCESystem(c.numberSystem);
    Expect(Case{kUpcE, c.data, c.expected});
  }
}

TEST_F(ValidationTest, JanNeedsItsLengthFirstThenTheLeading49) {
  for (const Case& c : {
           Case{kJan13, "490123456789", nullptr},
           Case{kJan13, "450123456789", "The leading 49 are required."},
           Case{kJan13, "49012", "12 digits are required."},
           Case{kJan8, "4901234", nullptr},
           Case{kJan8, "1234567", "The leading 49 are required."},
           Case{kJan8, "49x1234", "7 digits are required."},
       }) {
    Expect(c);
  }
}

TEST_F(ValidationTest, DigitSymbologiesTakeAnyLengthOfDigits) {
  for (int symbology : {kInterleaved2of5, kMatrix2of5, kMsi, kPlanet, kPostnet}) {
    Expect({symbology, "", nullptr});
    Expect({symbology, "0123456789", nullptr});
    Expect({symbology, "12 34", "Only digits are allowed."});
    Expect({symbology, "1234a", "Only digits are allowed."});
  }
}

TEST_F(ValidationTest, CharacterTablesAcceptOneCharacterKeysAnywhere) {
  for (const Case& c : {
           Case{kCode39, "CODE-39 $/+%.", nullptr},
           Case{kCode39, "AB*CD", nullptr},
           Case{kCode39, "Code", "Wrong Data Format"},
           Case{kCode93, "TEST93", nullptr},
           Case{kCode93, "_1", "Wrong Data Format"},
           Case{kCodabar, "A123B", nullptr},
           Case{kCodabar, "1D2C3-$:/.+", nullptr},
           Case{kCodabar, "12#3", "Wrong Data Format"},
           Case{kCode11, "123-45", nullptr},
           Case{kCode11, "12A", "Wrong Data Format"},
           Case{kCode39, "", nullptr},
       }) {
    Expect(c);
  }
}

// The GS1 forms built on Code 128 draw their data as digit pairs in code set C, which has no other
// characters: a byte that would not be drawn is refused rather than printed under bars that lack it.
TEST_F(ValidationTest, UccFormsNeedAnEvenLengthThenDigitsOnly) {
  for (int symbology : {kSscc18, kUccEan128Ai01}) {
    Expect({symbology, "", nullptr});
    Expect({symbology, "376104250021234569", nullptr});
    Expect({symbology, "123", "The even length data is required."});
    Expect({symbology, "12A", "The even length data is required."});  // the length is checked first
    Expect({symbology, "ABCD", "Only digits are allowed."});
    Expect({symbology, "3761042500212345A9", "Only digits are allowed."});
    Expect({symbology, "1234 6", "Only digits are allowed."});
    Expect({symbology, "12\xCA\xCA", "Only digits are allowed."});  // no field separator after the one AI
  }
}

// The all-numeric form pairs its data from the first byte after a leading zero that an odd count
// gets; a pair of FNC1 bytes separates fields, and only where it falls on a pair of its own.
TEST_F(ValidationTest, AllNumericFormTakesDigitPairsAndWholeFnc1Pairs) {
  for (const Case& c : {
           Case{kUccEan128, "", nullptr},
           Case{kUccEan128, "123", nullptr},
           Case{kUccEan128, "0112345678901231\xCA\xCA" "10123456", nullptr},
           Case{kUccEan128, "1\xCA\xCA", nullptr},        // "01", then FNC1
           Case{kUccEan128, "\xCA\xCA", nullptr},
           Case{kUccEan128, "12A34", "Only digits are allowed."},
           Case{kUccEan128, "121A34", "Only digits are allowed."},
           Case{kUccEan128, "12 34", "Only digits are allowed."},
           Case{kUccEan128, "\xCA", "Only digits are allowed."},            // "0" and half of FNC1
           Case{kUccEan128, "12\xCA\xCA" "3", "Only digits are allowed."},  // "01", "2\xCA", "\xCA3"
           Case{kUccEan128, "12\xC8\xC8" "34", "Only digits are allowed."}, // code-set switches
           Case{kUccEan128, "12\xC9\xC9" "34", "Only digits are allowed."},
           Case{kUccEan128, "12\x7F" "3", "Only digits are allowed."},
       }) {
    Expect(c);
  }
}

TEST_F(ValidationTest, FreeFormSymbologiesAcceptAnything) {
  for (int symbology : {kCode128, kCode39Ascii}) {
    Expect({symbology, "", nullptr});
    Expect({symbology, "\x01\x7F\xCA\xFF lower", nullptr});
  }
}

TEST_F(ValidationTest, SupplementIsCheckedFirstAndOnlyForEanIsbnAndUpc) {
  VnSupplementInfo(1, "1", 0.5);
  Expect({kUpcA, "123", "Wrong Supplement 2"});  // reported even though the data is wrong too
  VnSupplementInfo(1, "12", 0.5);
  Expect({kUpcA, "03600029145", nullptr});
  VnSupplementInfo(2, "1234A", 0.5);
  Expect({kEan13, "590123412345", "Wrong Supplement 5"});
  Expect({kEan8, "9638507", "Wrong Supplement 5"});
  Expect({kIsbn, "0123456789", "Wrong Supplement 5"});
  Expect({kUpcE, "04210000526", "Wrong Supplement 5"});
  Expect({kJan13, "490123456789", nullptr});
  Expect({kJan8, "4901234", nullptr});
  Expect({kCode39, "ABC", nullptr});
  VnSupplementInfo(1, "", 0.5);
  Expect({kJan13, "490123456789", nullptr});
}

TEST_F(ValidationTest, IsDigitStringChecksLengthOnlyWhenAsked) {
  EXPECT_EQ(IsDigitString("", 0), 1);
  EXPECT_EQ(IsDigitString("", 2), 0);
  EXPECT_EQ(IsDigitString("12", 2), 1);
  EXPECT_EQ(IsDigitString("12", -1), 1);
  EXPECT_EQ(IsDigitString("1/", 0), 0);
  EXPECT_EQ(IsDigitString("1:", 2), 0);
}

// A refusal's message lasts until data is accepted, by the measure as by a picture.
TEST_F(ValidationTest, AcceptedDataEndsThePreviousRefusal) {
  Expect({kCode39, "abc", "Wrong Data Format"});
  Expect({kCode39, "ABC", nullptr});
  Expect({kEan8, "963850", "7 digits are required."});
  Expect({kEan8, "9638507", nullptr});
}

}  // namespace
}  // namespace varnel
