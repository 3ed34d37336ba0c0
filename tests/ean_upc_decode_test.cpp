// Round trips of the EAN/UPC family through two independent readers: every symbology, without an
// add-on and with each kind of add-on, drawn in all four orientations with its text, must read back
// from our BMP as the number it encodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

struct Symbol {
  int symbology;
  const char* data;
  const char* number;      // what a reader reports for the main symbol
  const char* zbarFormat;  // zbar's name for it
};

struct AddOn {
  int kind;
  const char* digits;
  const char* zbarFormat;
};

// The numbers with their check digits as published (EAN-13, EAN-8, UPC-A and UPC-E examples) or
// computed by hand. ISBN 0-123-45678-9 reads as EAN-13 978012345678 and its check digit 6.
constexpr Symbol kSymbols[] = {
    {kEan13, "590123412345", "5901234123457", "EAN-13"}, {kJan13, "490123456789", "4901234567894", "EAN-13"},
    {kIsbn, "0123456789", "9780123456786", "EAN-13"},    {kEan8, "9638507", "96385074", "EAN-8"},
    {kJan8, "4912345", "49123456", "EAN-8"},             {kUpcA, "03600029145", "036000291452", "UPC-A"},
    {kUpcE, "04210000526", "04252614", "UPC-E"},
};

constexpr AddOn kAddOns[] = {
    {kNoSupplement, "", ""}, {kSupplement2, "53", "EAN-2"}, {kSupplement5, "52495", "EAN-5"}};

testing::Bitmap Render(const Symbol& symbol, const AddOn& addOn, int orientation, int upceSystem = 0) {
  testing::ResetLibrary();
  // Room for the longest symbol (EAN-13 with a 5-digit add-on is 302 pixels) and a quiet zone.
  if (orientation % 2 == 0) {
    VnSetSize(600, 300);
  } else {
    VnSetSize(300, 600);
  }
  VnBasicInfo(symbol.symbology, 0.07, 2.0, orientation, 0);
  VnSetMessage(symbol.data);
  VnSupplementInfo(addOn.kind, addOn.digits, 0.5);
  VnUPCESystem(upceSystem);
  return testing::RenderToBitmap();
}

std::string WithoutSpaces(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// ZXing reports the add-on's digits after the main number (joined by a space), and from scan lines
// that miss the add-on also the main number alone; every reading must be one of the two, and the full
// one must be among them.
void ExpectZxingReads(const testing::Bitmap& bitmap, const std::string& number, const std::string& addOn,
                      const std::string& where) {
  const std::vector<testing::Decoded> found = testing::DecodeWithZxing(bitmap);
  ASSERT_FALSE(found.empty()) << where;
  bool full = false;
  for (const testing::Decoded& d : found) {
    const std::string text = WithoutSpaces(d.text);
    EXPECT_TRUE(text == number || text == number + addOn) << where << ": " << d.text;
    full = full || text == number + addOn;
  }
  EXPECT_TRUE(full) << where;
}

TEST(EanUpcDecodeTest, ZbarAndZxingReadEverySymbolWithEveryAddOnInEveryOrientation) {
  for (const Symbol& symbol : kSymbols) {
    for (const AddOn& addOn : kAddOns) {
      for (int orientation = 0; orientation < 4; ++orientation) {
        const std::string where = std::string(symbol.data) + "+" + addOn.digits + " o" + std::to_string(orientation);
        const testing::Bitmap bitmap = Render(symbol, addOn, orientation);

        const std::vector<testing::Decoded> zbar = testing::DecodeWithZbarSymbols(bitmap);
        ASSERT_EQ(zbar.size(), addOn.kind == kNoSupplement ? 1u : 2u) << where;
        EXPECT_EQ(zbar[0].format, symbol.zbarFormat) << where;
        EXPECT_EQ(zbar[0].text, symbol.number) << where;
        if (addOn.kind != kNoSupplement) {
          EXPECT_EQ(zbar[1].format, addOn.zbarFormat) << where;
          EXPECT_EQ(zbar[1].text, addOn.digits) << where;
        }
        ExpectZxingReads(bitmap, symbol.number, addOn.digits, where);
      }
    }
  }
}

// Number system 1 is carried by inverting every parity of the six digits. zbar knows only the
// parities of number system 0 and reads nothing here, so ZXing is the reader for this one.
TEST(EanUpcDecodeTest, UpcENumberSystem1ReadsBack) {
  const Symbol symbol{kUpcE, "14210000526", "14252611", "UPC-E"};
  for (const AddOn& addOn : kAddOns) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      const std::string where = std::string("+") + addOn.digits + " o" + std::to_string(orientation);
      ExpectZxingReads(Render(symbol, addOn, orientation, 1), symbol.number, addOn.digits, where);
    }
  }
}

// The UPC-A number that the six digits of a UPC-E symbol stand for, as the GS1 tables expand it:
// number system, manufacturer (five digits) and item (five digits).
std::string ExpandUpcE(char numberSystem, const std::string& six) {
  const char last = six[5];
  std::string manufacturer, item;
  if (last <= '2') {
    manufacturer = six.substr(0, 2) + last + "00";
    item = "00" + six.substr(2, 3);
  } else if (last == '3') {
    manufacturer = six.substr(0, 3) + "00";
    item = "000" + six.substr(3, 2);
  } else if (last == '4') {
    manufacturer = six.substr(0, 4) + "0";
    item = "0000" + six.substr(4, 1);
  } else {
    manufacturer = six.substr(0, 5);
    item = std::string("0000") + last;
  }
  return numberSystem + manufacturer + item;
}

char UpcACheckDigit(const std::string& number) {
  int sum = 0;
  for (std::size_t i = 0; i < number.size(); ++i) sum += (number[i] - '0') * (i % 2 == 0 ? 3 : 1);
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Random UPC-E symbols in both number systems, each given to the library as the UPC-A number it
// stands for: ZXing must read back the same six digits, and the check digit of that number. The
// six digits are drawn as GS1 writes them, in the shortest form: a 3 at the end needs a third digit
// of 3 or more, a 4 a fourth digit other than 0, 5 to 9 a fifth digit other than 0.
TEST(EanUpcDecodeTest, EveryUpcEFormReadsBackFromItsUpcANumber) {
  std::mt19937 random(20261207);
  const auto digit = [&random](char low) { return static_cast<char>(low + random() % ('9' - low + 1)); };
  for (int i = 0; i < 40; ++i) {
    std::string six;
    for (int k = 0; k < 6; ++k) six += digit('0');
    if (six[5] == '3') six[2] = digit('3');
    if (six[5] == '4') six[3] = digit('1');
    if (six[5] >= '5') six[4] = digit('1');
    const int numberSystem = i % 2;
    const std::string number = ExpandUpcE(static_cast<char>('0' + numberSystem), six);
    const std::string where = number + " system " + std::to_string(numberSystem);

    const Symbol symbol{kUpcE, number.c_str(), "", "UPC-E"};
    const testing::Bitmap bitmap = Render(symbol, kAddOns[0], i % 4, numberSystem);
    ASSERT_STREQ(VnGetLastError(), "") << where;
    const std::vector<testing::Decoded> found = testing::DecodeWithZxing(bitmap);
    ASSERT_FALSE(found.empty()) << where;
    EXPECT_EQ(found[0].text, static_cast<char>('0' + numberSystem) + six + UpcACheckDigit(number)) << where;
  }
}

}  // namespace
}  // namespace varnel
