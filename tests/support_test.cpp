// The BMP reader is the eye every other suite looks through, so it is checked
// against files assembled byte by byte here rather than against our writer.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/bmp_reader.h"

namespace {

using varnel::testing::Bitmap;
using varnel::testing::IsDark;
using varnel::testing::ReadBmp;
using varnel::testing::ReadBmpBytes;
using varnel::testing::WithQuietZone;

// Top row first; '1' is dark.
const std::vector<std::string> kPattern = {
    "1010101010",
    "0101010101",
    "1111100000",
};

// 10 x 3 at 1 bit per pixel: each row is 10 bits, padded to 4 bytes.
std::vector<uint8_t> BottomUpBlackFirst() {
  return {
      'B', 'M', 74, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // file header
      40, 0, 0, 0,                                     // info header size
      10, 0, 0, 0,                                     // width
      3, 0, 0, 0,                                      // height > 0: last row first
      1, 0, 1, 0,                                      // planes, bits per pixel
      0, 0, 0, 0,                                      // uncompressed
      12, 0, 0, 0,                                     // pixel bytes
      0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,              // 2835 pixels per metre
      2, 0, 0, 0, 2, 0, 0, 0,                          // colours used, important
      0, 0, 0, 0,                                      // index 0: black
      0xFF, 0xFF, 0xFF, 0,                             // index 1: white
      0x07, 0xC0, 0, 0,                                // "1111100000"
      0xAA, 0x80, 0, 0,                                // "0101010101"
      0x55, 0x40, 0, 0,                                // "1010101010"
  };
}

// The same picture stored top row first, with the palette the other way round.
std::vector<uint8_t> TopDownWhiteFirst() {
  return {
      'B', 'M', 74, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,
      40, 0, 0, 0,
      10, 0, 0, 0,
      0xFD, 0xFF, 0xFF, 0xFF,  // height -3: first row first
      1, 0, 1, 0,
      0, 0, 0, 0,
      12, 0, 0, 0,
      0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,
      2, 0, 0, 0, 2, 0, 0, 0,
      0xFF, 0xFF, 0xFF, 0,  // index 0: white
      0, 0, 0, 0,           // index 1: black
      0xAA, 0x80, 0, 0,     // "1010101010"
      0x55, 0x40, 0, 0,     // "0101010101"
      0xF8, 0x00, 0, 0,     // "1111100000"
  };
}

void ExpectPattern(const Bitmap& bitmap) {
  ASSERT_EQ(bitmap.width, 10);
  ASSERT_EQ(bitmap.height, 3);
  ASSERT_EQ(bitmap.gray.size(), 30u);
  ASSERT_EQ(bitmap.rgb.size(), 30u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool dark = kPattern[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '1';
      const std::size_t i = static_cast<std::size_t>(y * 10 + x);
      EXPECT_EQ(IsDark(bitmap, x, y), dark) << "x=" << x << " y=" << y;
      EXPECT_EQ(bitmap.gray[i], dark ? 0 : 255) << "x=" << x << " y=" << y;
      EXPECT_EQ(bitmap.rgb[i], dark ? 0x000000u : 0xFFFFFFu) << "x=" << x << " y=" << y;
    }
  }
}

TEST(BmpReader, ReadsBottomUpOneBitFile) {
  const std::string path = ::testing::TempDir() + "varnel_support_bottom_up.bmp";
  {
    const std::vector<uint8_t> bytes = BottomUpBlackFirst();
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good());
  }
  const std::optional<Bitmap> bitmap = ReadBmp(path);
  std::remove(path.c_str());
  ASSERT_TRUE(bitmap.has_value());
  ExpectPattern(*bitmap);
}

TEST(BmpReader, ReadsTopDownRowsThroughThePalette) {
  const std::optional<Bitmap> bitmap = ReadBmpBytes(TopDownWhiteFirst());
  ASSERT_TRUE(bitmap.has_value());
  ExpectPattern(*bitmap);
}

TEST(BmpReader, ReadsTwentyFourBitPixels) {
  const std::vector<uint8_t> bytes = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
      40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
      16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,  // bottom row: red, green
      0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0,  // top row: black, white
  };
  const std::optional<Bitmap> bitmap = ReadBmpBytes(bytes);
  ASSERT_TRUE(bitmap.has_value());
  ASSERT_EQ(bitmap->width, 2);
  ASSERT_EQ(bitmap->height, 2);
  EXPECT_EQ(bitmap->rgb, (std::vector<uint32_t>{0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00}));
  EXPECT_EQ(bitmap->gray[0], 0);
  EXPECT_EQ(bitmap->gray[1], 255);
  EXPECT_TRUE(IsDark(*bitmap, 0, 0));
  EXPECT_FALSE(IsDark(*bitmap, 1, 0));
}

TEST(BmpReader, RejectsTruncatedFile) {
  std::vector<uint8_t> bytes = BottomUpBlackFirst();
  bytes.pop_back();
  EXPECT_FALSE(ReadBmpBytes(bytes).has_value());
  bytes.resize(30);
  EXPECT_FALSE(ReadBmpBytes(bytes).has_value());
  EXPECT_FALSE(ReadBmpBytes({}).has_value());
}

TEST(BmpReader, RejectsHeadersThatDisagreeWithTheData) {
  std::vector<uint8_t> wrong_size = BottomUpBlackFirst();
  wrong_size[2] = 75;  // file size field one byte too large
  EXPECT_FALSE(ReadBmpBytes(wrong_size).has_value());

  std::vector<uint8_t> too_tall = BottomUpBlackFirst();
  too_tall[22] = 4;  // a fourth row the file does not hold
  too_tall[34] = 0;  // and no pixel byte count to contradict it
  EXPECT_FALSE(ReadBmpBytes(too_tall).has_value());

  std::vector<uint8_t> compressed = BottomUpBlackFirst();
  compressed[30] = 1;  // run-length encoded
  EXPECT_FALSE(ReadBmpBytes(compressed).has_value());
}

TEST(BmpReader, MissingFileIsNotAnImage) {
  EXPECT_FALSE(ReadBmp(::testing::TempDir() + "varnel_support_no_such_file.bmp").has_value());
}

TEST(WithQuietZone, SurroundsTheImageWithWhite) {
  const std::optional<Bitmap> bitmap = ReadBmpBytes(BottomUpBlackFirst());
  ASSERT_TRUE(bitmap.has_value());
  const Bitmap padded = WithQuietZone(*bitmap, 4);
  ASSERT_EQ(padded.width, 18);
  ASSERT_EQ(padded.height, 11);
  for (int y = 0; y < padded.height; ++y) {
    for (int x = 0; x < padded.width; ++x) {
      const bool inside = x >= 4 && x < 14 && y >= 4 && y < 7;
      EXPECT_EQ(IsDark(padded, x, y), inside && IsDark(*bitmap, x - 4, y - 4)) << "x=" << x << " y=" << y;
    }
  }
  EXPECT_EQ(padded.rgb.front(), 0xFFFFFFu);
  EXPECT_EQ(padded.gray.back(), 255);
}

}  // namespace
