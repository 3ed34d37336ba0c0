// Which data each symbology accepts, and the message that takes the symbol's place otherwise, as the
// measure reports them: whether the data would be drawn, and the last error.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "base/settings.h"
#include "engine/validation.h"
#include "symbologies/gs1_dictionary.h"
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
    VnSetSymbology(c.symbology);
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

// GS1-128 reads element strings in either kind of bracket and refuses, naming the problem, anything
// that is not element strings GS1 has defined.
TEST_F(ValidationTest, Gs1_128RefusesWhatIsNotElementStrings) {
  for (const Case& c : {
           Case{kGs1_128, "(01)09501101530003(17)260101(10)ABC123", nullptr},
           Case{kGs1_128, "[01]09501101530003[10]A(B)C", nullptr},  // parentheses are data in square brackets
           Case{kGs1_128, "(00)376104250021234569", nullptr},
           Case{kGs1_128, "", "Element strings are needed, each an AI in brackets before its data: (01)09501101530003."},
           Case{kGs1_128, "0109501101530003", "Element strings are needed, each an AI in brackets before its data: (01)09501101530003."},
           Case{kGs1_128, "GTIN:(01)09501101530003", "'GTIN:' before the first AI is no element string: each AI goes in brackets before its data, as (01)09501101530003."},
           Case{kGs1_128, "(01", "Unbalanced brackets: a '(' is not closed."},
           Case{kGs1_128, "(01)09501101530003(10", "Unbalanced brackets: a '(' is not closed."},
           Case{kGs1_128, "((01)09501101530003", "Unbalanced brackets: a '(' is not closed."},
           Case{kGs1_128, "[01]09501101530003]", "Unbalanced brackets: a ']' closes nothing."},
           Case{kGs1_128, "(01)09501101530003(10)A)B", "Unbalanced brackets: a ')' closes nothing. If the data of (10) holds brackets, write each AI in square brackets, as [10]."},
           Case{kGs1_128, "(01)09501101530003(10)A(B", "Unbalanced brackets: a '(' is not closed. If the data of (10) holds brackets, write each AI in square brackets, as [10]."},
           Case{kGs1_128, "(01)09501101530003(10)A(B)C", "(B) is not an AI: an AI is 2 to 4 digits in brackets. If the data of (10) holds brackets, write each AI in square brackets, as [10]."},
           Case{kGs1_128, "()1", "() is not an AI: an AI is 2 to 4 digits in brackets."},
           Case{kGs1_128, "(1)1", "(1) is not an AI: an AI is 2 to 4 digits in brackets."},
           Case{kGs1_128, "(12345)1", "(12345) is not an AI: an AI is 2 to 4 digits in brackets."},
           Case{kGs1_128, "(1\x01)1", "An AI is 2 to 4 digits in brackets."},
           Case{kGs1_128, "(23)1", "AI (23) is not one GS1 has assigned."},
           Case{kGs1_128, "(3106)000100", "AI (3106) is not one GS1 has assigned."},  // 3100 to 3105 are
           Case{kGs1_128, "(01)09501101530003(10)", "AI (10): its data is missing."},
           Case{kGs1_128, "(00)", "AI (00): its data is missing."},
       }) {
    Expect(c);
  }
}

// Each AI's data as GS1's dictionary defines it: its length and characters, with GS1's own worked
// examples of check characters (the GTIN 09501101530003, the SSCC 376104250021234569, the Global
// Model Number 1987654Ad4X4bL5ttr2310c with its pair 2K).
TEST_F(ValidationTest, Gs1_128RefusesDataItsAiDoesNotTake) {
  for (const Case& c : {
           Case{kGs1_128, "(01)0950110153000", "AI (01): 14 digits are required, not 13."},
           Case{kGs1_128, "(01)095011015300034", "AI (01): 14 digits are required, not 15."},
           Case{kGs1_128, "(01)0950110153000A", "AI (01): 'A' is not a digit."},
           Case{kGs1_128, "(01)09501101530004", "AI (01): check digit should be 3."},
           Case{kGs1_128, "(00)376104250021234560", "AI (00): check digit should be 9."},
           Case{kGs1_128, "(01)09501101530003(10)123456789012345678901", "AI (10): at most 20 characters are allowed, not 21."},
           Case{kGs1_128, "(01)09501101530003(10)12345678901234567890", nullptr},
           Case{kGs1_128, "(01)09501101530003(10)AB~", "AI (10): '~' is not in GS1 character set 82."},
           Case{kGs1_128, "(01)09501101530003(10)A B", "AI (10): ' ' is not in GS1 character set 82."},
           Case{kGs1_128, "(01)09501101530003(10)AB\x1D" "C", "AI (10): the control character 0x1D is not in GS1 character set 82."},
           Case{kGs1_128, "(01)09501101530003(10)\xE9", "AI (10): byte 0xE9 is not in GS1 character set 82."},
           Case{kGs1_128, "(8010)9501AB#-/12", nullptr},                 // set 39
           Case{kGs1_128, "(8010)ab", "AI (8010): 'a' is not in GS1 character set 39."},
           Case{kGs1_128, "(8013)1987654Ad4X4bL5ttr2310c2K", nullptr},
           Case{kGs1_128, "(8013)1987654Ad4X4bL5ttr2310c2L", "AI (8013): check characters should be 2K."},
           Case{kGs1_128, "(8013)2K", "AI (8013): 2K has no room for its two check characters."},
           // Fixed components then a variable one (AI 421: a country, then a postal code).
           Case{kGs1_128, "(421)8401234", nullptr},
           Case{kGs1_128, "(421)840", "AI (421): at least 4 characters are required, not 3."},
           Case{kGs1_128, "(421)84", "AI (421): at least 4 characters are required, not 2."},
           // Optional fixed components, each whole or left out (AI 8008: date, hour, [minutes], [seconds]).
           Case{kGs1_128, "(01)09501101530003(8008)26010112", nullptr},
           Case{kGs1_128, "(01)09501101530003(8008)2601011230", nullptr},
           Case{kGs1_128, "(01)09501101530003(8008)260101123059", nullptr},
           Case{kGs1_128, "(01)09501101530003(8008)260101123", "AI (8008): 8, 10 or 12 digits are allowed, not 9."},
           Case{kGs1_128, "(01)09501101530003(423)0400", "AI (423): 3, 6, 9, 12 or 15 digits are allowed, not 4."},
           Case{kGs1_128, "(01)09501101530003(423)040276", nullptr},
           // base64url pads its data with '=' to a multiple of 4 characters, once or twice.
           Case{kGs1_128, "(00)376104250021234569(8030)AB==", nullptr},
           Case{kGs1_128, "(00)376104250021234569(8030)ABCDE", nullptr},
           Case{kGs1_128, "(00)376104250021234569(8030)AB=", "AI (8030): '=' may only pad base64url data to a multiple of 4 characters, at most twice."},
           Case{kGs1_128, "(00)376104250021234569(8030)ABC==", "AI (8030): '=' may only pad base64url data to a multiple of 4 characters, at most twice."},
           Case{kGs1_128, "(00)376104250021234569(8030)A===", "AI (8030): '=' may only pad base64url data to a multiple of 4 characters, at most twice."},
           Case{kGs1_128, "(01)09501101530003(8008)2601011", "AI (8008): at least 8 digits are required, not 7."},
           Case{kGs1_128, "(01)09501101530003(8008)2601011230599", "AI (8008): at most 12 digits are allowed, not 13."},
       }) {
    Expect(c);
  }
}

// The content checks the dictionary names, each with a value it takes and one it refuses.
TEST_F(ValidationTest, Gs1_128ChecksContentAsTheDictionaryNamesIt) {
  for (const Case& c : {
           // Dates: 2024 is a leap year and 2026 is not; DD 00 is the whole month where the dictionary says so.
           Case{kGs1_128, "(01)09501101530003(17)240229", nullptr},
           Case{kGs1_128, "(01)09501101530003(17)260229", "AI (17): 260229 is not a date."},
           Case{kGs1_128, "(01)09501101530003(17)260231", "AI (17): 260231 is not a date."},
           Case{kGs1_128, "(01)09501101530003(17)261301", "AI (17): 261301 is not a date."},
           Case{kGs1_128, "(01)09501101530003(17)260000", "AI (17): 260000 is not a date."},
           Case{kGs1_128, "(01)09501101530003(17)260400", nullptr},
           Case{kGs1_128, "(01)09501101530003(7006)260400", "AI (7006): 260400 is not a date."},
           Case{kGs1_128, "(01)09501101530003(7006)260430", nullptr},
           Case{kGs1_128, "(01)09501101530003(7006)260431", "AI (7006): 260431 is not a date."},
           Case{kGs1_128, "(8018)123456789012345675(7250)20000229", nullptr},
           Case{kGs1_128, "(8018)123456789012345675(7250)19000229", "AI (7250): 19000229 is not a date."},
           Case{kGs1_128, "(8018)123456789012345675(7250)21000228", nullptr},
           // Hours, minutes, seconds and times of day.
           Case{kGs1_128, "(01)09501101530003(8008)26010124", "AI (8008): 24 is not an hour."},
           Case{kGs1_128, "(01)09501101530003(8008)2601012360", "AI (8008): 60 is not a minute."},
           Case{kGs1_128, "(01)09501101530003(8008)260101235960", "AI (8008): 60 is not a second."},
           Case{kGs1_128, "(01)09501101530003(7003)2601012359", nullptr},
           Case{kGs1_128, "(01)09501101530003(7003)2601012400", "AI (7003): 2400 is not a time of day."},
           // Zero and not zero, yes or no, winding directions and sex codes.
           Case{kGs1_128, "(01)09501101530003(8001)12340050001010", nullptr},
           Case{kGs1_128, "(01)09501101530003(8001)00000050001010", "AI (8001): 0000 must not be zero."},
           Case{kGs1_128, "(01)09501101530003(8001)12340050001020", "AI (8001): 2 is not a winding direction (0, 1 or 9)."},
           Case{kGs1_128, "(8003)0095011015300710", nullptr},
           Case{kGs1_128, "(8003)1095011015300710", "AI (8003): 1 must be 0."},
           Case{kGs1_128, "(00)376104250021234569(4321)1", nullptr},
           Case{kGs1_128, "(00)376104250021234569(4321)2", "AI (4321): 2 is not 0 (no) or 1 (yes)."},
           Case{kGs1_128, "(8018)123456789012345675(7252)9", nullptr},
           Case{kGs1_128, "(8018)123456789012345675(7252)3", "AI (7252): 3 is not an ISO/IEC 5218 sex code (0, 1, 2 or 9)."},
           // A piece of a total: neither zero, the piece not beyond the total.
           Case{kGs1_128, "(8006)095011015300030202", nullptr},
           Case{kGs1_128, "(8006)095011015300030302", "AI (8006): piece 03 is beyond the total of 02."},
           Case{kGs1_128, "(8006)095011015300030002", "AI (8006): the piece number in 0002 is zero."},
           Case{kGs1_128, "(8006)095011015300030100", "AI (8006): the total of pieces in 0100 is zero."},
           // ISO countries (Germany 276, the United Kingdom GB) and currencies (the euro 978).
           Case{kGs1_128, "(01)09501101530003(422)276", nullptr},
           Case{kGs1_128, "(01)09501101530003(422)999", "AI (422): 999 is not an ISO 3166 country code."},
           Case{kGs1_128, "(01)09501101530003(7030)999ABC", nullptr},
           Case{kGs1_128, "(01)09501101530003(7030)998ABC", "AI (7030): 998 is not an ISO 3166 country code or 999."},
           Case{kGs1_128, "(00)376104250021234569(4307)GB", nullptr},
           Case{kGs1_128, "(00)376104250021234569(4307)UK", "AI (4307): UK is not an ISO 3166 alpha-2 country code."},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)978100", nullptr},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)000100", "AI (3912): 000 is not an ISO 4217 currency code."},
           // The currencies as GS1 holds them: the kuna, the old leone, the convertible peso and the
           // Zimbabwe dollar are withdrawn; Zimbabwe Gold and the Arab accounting dinar are current.
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)191100", "AI (3912): 191 is not an ISO 4217 currency code."},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)694100", "AI (3912): 694 is not an ISO 4217 currency code."},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)931100", "AI (3912): 931 is not an ISO 4217 currency code."},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)932100", "AI (3912): 932 is not an ISO 4217 currency code."},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)924100", nullptr},
           Case{kGs1_128, "(8020)ABC(415)9501101530003(3912)396100", nullptr},
           // A hyphen, percent-encoding and a key that must hold a letter.
           Case{kGs1_128, "(00)376104250021234569(4330)000123-", nullptr},
           Case{kGs1_128, "(00)376104250021234569(4330)000123+", "AI (4330): '+' is not a hyphen."},
           Case{kGs1_128, "(00)376104250021234569(4300)ACME%20Ltd", nullptr},
           Case{kGs1_128, "(00)376104250021234569(4300)ACME%2", "AI (4300): a '%' is not followed by two hexadecimal digits."},
           Case{kGs1_128, "(00)376104250021234569(4300)100%G0", "AI (4300): a '%' is not followed by two hexadecimal digits."},
           Case{kGs1_128, "(01)09501101530003(8014)1987654Ad4X4bL5ttr2310c2K", nullptr},
           Case{kGs1_128, "(01)09501101530003(8014)12345678904L", nullptr},
           Case{kGs1_128, "(01)09501101530003(8014)100096", "AI (8014): 100096 needs a character that is not a digit."},
           // A GS1 Company Prefix of at least four digits begins the key (gcppos1; gcppos2's keys are all digits).
           Case{kGs1_128, "(401)95011015ABC", nullptr},
           Case{kGs1_128, "(401)950A1015", "AI (401): 'A' is not a digit, where a GS1 Company Prefix begins."},
           Case{kGs1_128, "(401)950", "AI (401): 950 is too short to hold a GS1 Company Prefix."},
           // Coupons: GS1's example of AI (8110), and an AI (8112) offer of funder 1234567, serial 666666.
           Case{kGs1_128, "(8110)106141416543213500110000310123196000", nullptr},
           Case{kGs1_128, "(8110)706141416543213500110000310123196000", "AI (8110): the coupon's company prefix length is 7, not 0, 1, 2, 3, 4, 5 or 6."},
           Case{kGs1_128, "(8110)1061414165432135001150003", "AI (8110): the coupon's purchase requirement code is 5, not 0, 1, 2, 3, 4 or 9."},
           Case{kGs1_128, "(8110)10614141654321350011000031012319600", "AI (8110): the coupon ends within its don't multiply flag."},
           Case{kGs1_128, "(8110)1061414165432135001100003101231310101", "AI (8110): the coupon's optional field 3 is out of order."},
           Case{kGs1_128, "(8110)10614141654321350011000031012314110101", "AI (8110): the coupon expires on 101231, before it starts on 110101."},
           Case{kGs1_128, "(8112)0112345679999990666666", nullptr},
           Case{kGs1_128, "(8112)21123456799999906666666", "AI (8112): the coupon's format code is 2, not 0 or 1."},
           Case{kGs1_128, "(8112)01123456799999906666667", "AI (8112): the coupon goes on after its serial number."},
           // An IBAN, NO93 8601 1117 947, its check digits and its country.
           Case{kGs1_128, "(8020)A(415)9501101530003(8007)NO9386011117947", nullptr},
           Case{kGs1_128, "(8020)A(415)9501101530003(8007)NO9486011117947", "AI (8007): IBAN check digits should be 93."},
           Case{kGs1_128, "(8020)A(415)9501101530003(8007)UK9386011117947", "AI (8007): UK is not the country an IBAN begins with."},
           // An importer index, latitude and longitude, a media type, a serial without leading zeros.
           Case{kGs1_128, "(7040)1AB_", nullptr},
           Case{kGs1_128, "(7040)1AB+", "AI (7040): '+' is not an importer index (a digit, a letter, '-' or '_')."},
           Case{kGs1_128, "(00)376104250021234569(4309)18000000003599999999", nullptr},
           Case{kGs1_128, "(00)376104250021234569(4309)18000000010000000000", "AI (4309): 1800000001 is not a latitude: at most 1800000000."},
           Case{kGs1_128, "(00)376104250021234569(4309)00000000003600000000", "AI (4309): 3600000000 is not a longitude: at most 3599999999."},
           Case{kGs1_128, "(8018)123456789012345675(7241)10", nullptr},
           Case{kGs1_128, "(8018)123456789012345675(7241)11", "AI (7241): 11 is not an AIDC media type (01 to 10, or 80 to 99)."},
           Case{kGs1_128, "(8010)95011015ABC(8011)100", nullptr},
           Case{kGs1_128, "(8010)95011015ABC(8011)0100", "AI (8011): 0100 must not begin with 0."},
           // A package type of GS1's list, and a birth's position in its sequence.
           Case{kGs1_128, "(00)376104250021234569(7041)BX", nullptr},
           Case{kGs1_128, "(00)376104250021234569(7041)BXX", "AI (7041): BXX is not a GS1 package type code."},
           Case{kGs1_128, "(8018)123456789012345675(7258)2/2(7259)A", nullptr},
           Case{kGs1_128, "(8018)123456789012345675(7258)3/2(7259)A", "AI (7258): 3/2 is not a position within a sequence, as 1/2."},
       }) {
    Expect(c);
  }
}

// The AIs each needs beside it (one of its alternatives whole) and those it may not appear with.
TEST_F(ValidationTest, Gs1_128RefusesMissingAndExcludedAis) {
  for (const Case& c : {
           Case{kGs1_128, "[21]A1B2", "AI (21) requires (01), (03) or (8006)."},
           Case{kGs1_128, "[01]09501101530003[21]A1B2", nullptr},
           Case{kGs1_128, "[21]A1B2[01]09501101530003", nullptr},  // anywhere in the data
           Case{kGs1_128, "(01)09501101530003(250)X", "AI (250) requires (01) with (21), (03) with (21) or (8006) with (21)."},
           Case{kGs1_128, "(01)09501101530003(21)7(250)X", nullptr},
           Case{kGs1_128, "(01)09501101530003(392)9", "AI (392) is not one GS1 has assigned."},
           Case{kGs1_128, "(01)09501101530003(3922)995", "AI (3922) requires (01) with (30), (01) with one of (3100) to (3199), (01) with one of (3200) to (3299), (01) with one of (3500) to (3599) or (01) with one of (3600) to (3699)."},
           Case{kGs1_128, "(01)09501101530003(3102)000250(3922)995", nullptr},  // 31nn is any AI of four digits from 31
           Case{kGs1_128, "(02)09501101530003(01)09501101530003(37)5", "AIs (02) and (01) may not be used together."},
           Case{kGs1_128, "(01)09501101530003(3102)000250(3103)000025", "AIs (3102) and (3103) may not be used together."},
           Case{kGs1_128, "(01)09501101530003(3102)000250(3102)000250", nullptr},  // an AI does not exclude itself
           // An AI repeated with its value says nothing new; with another, a reader cannot tell which holds.
           Case{kGs1_128, "(01)09501101530003(10)AB(10)AC", "AI (10) appears more than once, with different values."},
           // A digital signature signs an instance: a key with its serial, which GDTI, GCN and GRAI hold last.
           Case{kGs1_128, "(253)4719512002889(8030)AB==", "AI (8030) requires (00), (01) with (21), (03) with (21), (253) with its serial, (255) with its serial, (8003) with its serial, (8004), (8006) with (21), (8010) with (8011), (8017) or (8018)."},
           Case{kGs1_128, "(253)47195120028891234(8030)AB==", nullptr},
           Case{kGs1_128, "(8003)00950110153007(8030)AB==", "AI (8030) requires (00), (01) with (21), (03) with (21), (253) with its serial, (255) with its serial, (8003) with its serial, (8004), (8006) with (21), (8010) with (8011), (8017) or (8018)."},
           Case{kGs1_128, "(8003)0095011015300710(8030)AB==", nullptr},
       }) {
    Expect(c);
  }
}

// GS1-128 carries at most 48 data characters: the AIs, their data and the FNC1s between element
// strings, but not the FNC1 after the start.
TEST_F(ValidationTest, Gs1_128HoldsFortyEightDataCharacters) {
  // 2 + 30 = 32, a separator, then 2 + 13 = 48 in all; one more is refused.
  const std::string thirty(30, 'A');
  Expect({kGs1_128, ("(90)" + thirty + "(91)" + std::string(13, 'B')).c_str(), nullptr});
  Expect({kGs1_128, ("(90)" + thirty + "(91)" + std::string(14, 'B')).c_str(),
          "The element strings take 49 data characters; GS1-128 holds 48."});
  // After a predefined length no separator is drawn, so it does not count: 16 + 2 + 30 = 48.
  Expect({kGs1_128, ("(01)09501101530003(91)" + thirty).c_str(), nullptr});
  Expect({kGs1_128, ("(01)09501101530003(91)" + thirty + "1").c_str(),
          "The element strings take 49 data characters; GS1-128 holds 48."});
  Expect({kGs1_128, ("(91)" + std::string(90, '1')).c_str(), "The element strings take 92 data characters; GS1-128 holds 48."});
}

// Every content check GS1's dictionary names is either made or listed in the README as one that is
// not, so a new release's new checks cannot pass unnoticed.
TEST(Gs1Dictionary, EveryCheckItNamesIsMadeOrListedAsUnchecked) {
  std::set<std::string> named;
  std::ifstream dictionary(VARNEL_GS1_DICTIONARY);
  ASSERT_TRUE(dictionary) << VARNEL_GS1_DICTIONARY;
  const std::regex component(R"(\[?[NXYZ](\.\.)?\d+\]?((,[a-z0-9]+)+))");
  for (std::string line; std::getline(dictionary, line);) {
    if (line.empty() || line[0] == '#') continue;
    line = line.substr(0, line.find('#'));
    for (std::sregex_iterator it(line.begin(), line.end(), component), end; it != end; ++it) {
      std::istringstream checks((*it)[2].str().substr(1));
      for (std::string check; std::getline(checks, check, ',');) named.insert(check);
    }
  }
  ASSERT_GT(named.size(), 10u);

  std::ifstream readme(VARNEL_README);
  std::stringstream text;
  text << readme.rdbuf();
  const std::string all = text.str();
  // The README lists the checks not made after these words, or has no such list when all are.
  const std::size_t from = all.find("content checks are not made");
  const std::string sentence = from == std::string::npos ? "" : all.substr(from, all.find('.', from) - from);
  std::set<std::string> unchecked;
  const std::regex quoted("`([a-z0-9]+)`");
  for (std::sregex_iterator it(sentence.begin(), sentence.end(), quoted), end; it != end; ++it) unchecked.insert((*it)[1]);

  std::set<std::string> made;
  for (const Gs1LinterName& known : kGs1LinterNames) made.insert(std::string(known.name));
  for (const std::string& check : named) {
    EXPECT_NE(made.count(check) != 0, unchecked.count(check) != 0) << check << ": made, or listed as not made, once";
  }
  for (const std::string& check : unchecked) EXPECT_EQ(named.count(check), 1u) << check << " is not in the dictionary";
}

// ITF-14 takes the thirteen digits of a GTIN, adding their check digit, or all fourteen with the
// right one: 1540014128876 weighs 97, so its check digit is 3.
TEST_F(ValidationTest, Itf14TakesAGtinWithOrWithoutItsCheckDigit) {
  for (const Case& c : {
           Case{kItf14, "1540014128876", nullptr},
           Case{kItf14, "15400141288763", nullptr},
           Case{kItf14, "15400141288764", "The check digit should be 3."},
           Case{kItf14, "15400141288760", "The check digit should be 3."},
           Case{kItf14, "00000000000000", nullptr},
           Case{kItf14, "154001412887", "13 or 14 digits are required."},
           Case{kItf14, "154001412887630", "13 or 14 digits are required."},
           Case{kItf14, "154001412887A", "13 or 14 digits are required."},
           Case{kItf14, "", "13 or 14 digits are required."},
       }) {
    Expect(c);
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
