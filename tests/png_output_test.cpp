// The PNG export: libpng decodes it to exactly the BMP's pixels, zbar reads the symbol in it, and
// its header, palette and resolution say what the picture is.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/decoders.h"
#include "support/png_reader.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

struct Picture {
  const char* name;
  int symbology;
  const char* data;
  int orientation;
  int frame;
  int width;
  int height;
};

TEST(PngOutput, PixelsAreTheBmpsPixels) {
  // Widths around the byte and word boundaries, every orientation, frames, refused data.
  const Picture pictures[] = {
      {"Code 39", kCode39, "CODE 39", 0, kNoFrame, 300, 200},
      {"Code 128 turned", kCode128, "Varnel", 1, kDashedFrame, 201, 333},
      {"EAN-13 upside down", kEan13, "590123412345", 2, kSolidFrame, 257, 150},
      {"POSTNET", kPostnet, "12345", 3, kDashedFrame, 97, 401},
      {"one pixel wide", kCode39, "A", 0, kSolidFrame, 1, 9},
      {"seven wide", kCode39, "A", 0, kDashedFrame, 7, 3},
      {"refused", kEan8, "12", 0, kNoFrame, 300, 200},
  };
  testing::TempDir folder;
  for (const Picture& p : pictures) {
    testing::ResetLibrary();
    VnSetSize(p.width, p.height);
    VnBasicInfo(p.symbology, 0, 0, p.orientation, p.frame);
    VnSetMessage(p.data);
    VnSetBarColor(0x20, 0x10, 0x90);
    VnSetBackColor(0xF0, 0xFF, 0xE0);
    const std::string png = folder.File("p.png"), bmp = folder.File("p.bmp");
    ASSERT_EQ(VnSaveAsPNG(png.c_str()), 1) << p.name;
    ASSERT_EQ(VnSaveAsBMP(bmp.c_str()), 1) << p.name;
    const auto read = testing::ReadPng(png);
    ASSERT_TRUE(read.has_value()) << p.name;
    const auto expected = testing::ReadBmp(bmp);
    ASSERT_TRUE(expected.has_value()) << p.name;
    EXPECT_EQ(read->pixels.width, p.width) << p.name;
    EXPECT_EQ(read->pixels.height, p.height) << p.name;
    EXPECT_TRUE(read->pixels.rgb == expected->rgb) << p.name;
    EXPECT_EQ(read->bitDepth, 1) << p.name;
    EXPECT_EQ(read->colourType, 3) << p.name;
    EXPECT_EQ(read->palette, (std::vector<std::uint32_t>{0x201090, 0xF0FFE0})) << p.name;
  }
}

TEST(PngOutput, ZbarReadsTheSymbolInEveryOrientation) {
  struct Symbol {
    int symbology;
    const char* data;
    const char* read;
  };
  const Symbol symbols[] = {
      {kCode39, "PNG-1", "PNG-1"},
      {kCode128, "Varnel 32", "Varnel 32"},
      {kEan13, "590123412345", "5901234123457"},
  };
  testing::TempDir folder;
  for (const Symbol& s : symbols) {
    for (const int orientation : {0, 1, 2, 3}) {
      testing::ResetLibrary();
      VnSetSize(360, 360);
      VnBasicInfo(s.symbology, 0, 0, orientation, kNoFrame);
      VnSetMessage(s.data);
      const std::string path = folder.File("z.png");
      ASSERT_EQ(VnSaveAsPNG(path.c_str()), 1);
      const auto read = testing::ReadPng(path);
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(testing::DecodeWithZbar(testing::WithQuietZone(read->pixels, 20)), std::vector<std::string>{s.read})
          << s.data << " at " << orientation;
    }
  }
}

TEST(PngOutput, TheScreenResolutionIsStoredInPixelsPerMetre) {
  struct Case {
    int dpiX, dpiY;
    std::uint32_t perMetreX, perMetreY;
  };
  // An inch is 0.0254 m: 96 / 0.0254 = 3779.5, 300 / 0.0254 = 11811.0, 150 / 0.0254 = 5905.5.
  const Case cases[] = {{96, 96, 3780, 3780}, {300, 150, 11811, 5906}, {1, 72, 39, 2835}};
  testing::TempDir folder;
  for (const Case& c : cases) {
    testing::ResetLibrary();
    VnSetScreenResolution(c.dpiX, c.dpiY);
    const std::string path = folder.File("dpi.png");
    ASSERT_EQ(VnSaveAsPNG(path.c_str()), 1);
    const auto read = testing::ReadPngChunks(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->hasPhys);
    EXPECT_EQ(read->physUnit, 1) << "the metre";
    EXPECT_EQ(read->pixelsPerUnitX, c.perMetreX) << c.dpiX;
    EXPECT_EQ(read->pixelsPerUnitY, c.perMetreY) << c.dpiY;
  }
  testing::ResetLibrary();
}

// libpng refuses pictures over a million pixels across unless told otherwise; a long symbol at a
// fine resolution can be wider.
TEST(PngOutput, PicturesOverAMillionPixelsAcrossAreWritten) {
  testing::ResetLibrary();
  VnSetSize(1'200'000, 2);
  testing::TempDir folder;
  const std::string path = folder.File("wide.png");
  ASSERT_EQ(VnSaveAsPNG(path.c_str()), 1);
  const auto read = testing::ReadPngChunks(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->width, 1'200'000u);
  EXPECT_EQ(read->height, 2u);
}

TEST(PngOutput, PicturesTooLargeToHoldReturnZeroAndKeepTheOldFile) {
  testing::ResetLibrary();
  testing::TempDir folder;
  const std::string path = folder.File("kept.png");
  const std::vector<std::uint8_t> old(10, 1);
  testing::WriteFileBytes(path, old);
  VnSetSize(INT_MAX, INT_MAX);
  EXPECT_EQ(VnSaveAsPNG(path.c_str()), 0);
  EXPECT_EQ(testing::ReadFileBytes(path), old);
}

}  // namespace
}  // namespace varnel
