// The PNG export: libpng decodes it to exactly the BMP's pixels, zbar reads the symbol in it, its
// header, palette and resolution say what the picture is, and a transparent background is clear
// exactly where the BMP shows the background.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/decoders.h"
#include "support/file_outputs.h"
#include "support/png_reader.h"
#include "support/render_harness.h"
#include "varnel32.h"
#include "writers/huffman_code.h"
#include "writers/row_deflate.h"

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

// The picture's settings, drawn in colours whose palette entries tell bars from background.
void SetUpLibrary(const Picture& p) {
  testing::ResetLibrary();
  VnSetSize(p.width, p.height);
  VnBasicInfo(p.symbology, 0, 0, p.orientation, p.frame);
  VnSetMessage(p.data);
  VnSetBarColor(0x20, 0x10, 0x90);
  VnSetBackColor(0xF0, 0xFF, 0xE0);
}

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
    SetUpLibrary(p);
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
    EXPECT_EQ(read->palette, (std::vector<std::uint32_t>{0xF0FFE0, 0x201090})) << p.name;
  }
}

// With a transparent background the background's entry has alpha 0 and the bars' 255, so that a
// reader sees through exactly the pixels the BMP paints in the background colour (the boxes behind
// the text and a refused symbol's message included) and sees the BMP's colours everywhere else.
// Off, there is no alpha at all; any nonzero value is on.
TEST(PngOutput, ATransparentBackgroundIsClearExactlyWhereTheBackgroundIs) {
  const Picture pictures[] = {
      {"Code 39 with text", kCode39, "CODE 39", 0, kDashedFrame, 300, 200},
      {"EAN-13 turned", kEan13, "590123412345", 1, kSolidFrame, 257, 301},
      {"refused", kEan8, "12", 2, kNoFrame, 300, 200},
  };
  constexpr std::uint32_t kBackground = 0xF0FFE0;
  testing::TempDir folder;
  for (const Picture& p : pictures) {
    SetUpLibrary(p);
    const std::string png = folder.File("p.png"), bmp = folder.File("p.bmp"), again = folder.File("again.png");
    ASSERT_EQ(VnSaveAsBMP(bmp.c_str()), 1) << p.name;
    VnSetTransparentBackground(1);
    ASSERT_EQ(VnSaveAsPNG(png.c_str()), 1) << p.name;
    VnSetTransparentBackground(-7);
    ASSERT_EQ(VnSaveAsPNG(again.c_str()), 1) << p.name;
    EXPECT_EQ(testing::ReadFileBytes(again), testing::ReadFileBytes(png)) << p.name;

    const auto read = testing::ReadPng(png);
    const auto expected = testing::ReadBmp(bmp);
    ASSERT_TRUE(read.has_value() && expected.has_value()) << p.name;
    EXPECT_EQ(read->paletteAlpha, (std::vector<std::uint8_t>{0})) << p.name;
    ASSERT_EQ(read->alpha.size(), expected->rgb.size()) << p.name;
    int clear = 0, wrong = 0;
    for (std::size_t i = 0; i < expected->rgb.size(); ++i) {
      const bool background = expected->rgb[i] == kBackground;
      clear += background ? 1 : 0;
      wrong += read->alpha[i] != (background ? 0 : 255) || (!background && read->pixels.rgb[i] != expected->rgb[i]);
    }
    EXPECT_EQ(wrong, 0) << p.name;
    EXPECT_GT(clear, 0) << p.name;

    VnSetTransparentBackground(0);
    ASSERT_EQ(VnSaveAsPNG(png.c_str()), 1) << p.name;
    const auto opaque = testing::ReadPng(png);
    ASSERT_TRUE(opaque.has_value()) << p.name;
    EXPECT_TRUE(opaque->paletteAlpha.empty()) << p.name;
    EXPECT_EQ(opaque->alpha, std::vector<std::uint8_t>(opaque->alpha.size(), 255)) << p.name;
  }
}

// The setting is the PNG's and the SVG's: the BMP and the metafiles are the same bytes whatever it
// says, and VnSetDefault turns it off.
TEST(PngOutput, ATransparentBackgroundChangesOnlyThePngAndTheSvg) {
  testing::TempDir folder;
  for (const testing::FileOutput& output : testing::kFileOutputs) {
    const std::string opaque = folder.File(std::string("opaque.") + output.name);
    const std::string clear = folder.File(std::string("clear.") + output.name);
    const std::string reset = folder.File(std::string("reset.") + output.name);
    testing::ResetLibrary();
    VnBasicInfo(kCode128, 0, 0, 0, kSolidFrame);
    ASSERT_EQ(output.save(opaque.c_str()), 1) << output.name;
    VnSetTransparentBackground(1);
    ASSERT_EQ(output.save(clear.c_str()), 1) << output.name;
    VnSetDefault();
    VnBasicInfo(kCode128, 0, 0, 0, kSolidFrame);
    ASSERT_EQ(output.save(reset.c_str()), 1) << output.name;
    const bool changes = output.format == VN_FORMAT_PNG || output.format == VN_FORMAT_SVG;
    EXPECT_EQ(testing::ReadFileBytes(clear) != testing::ReadFileBytes(opaque), changes) << output.name;
    EXPECT_EQ(testing::ReadFileBytes(reset), testing::ReadFileBytes(opaque)) << output.name;
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

namespace varnel {
namespace {

// The image data's compressor, held to zlib's own decoder on data no barcode makes: noise, which is
// all literals and spans many blocks; rows too wide for a match to reach the row above; one byte;
// bytes of very uneven frequency, whose best code would be longer than deflate allows; and bands of
// rows, each band one row of noise repeated, the last row cut short, and one row repeated more
// times than the checksum's modulus: the checksum adds a row's repeats all at once. One thread
// compresses them all in turn, large and small, so that what an earlier call left in the
// compressor's tables must not reach into a later one.
std::vector<std::uint8_t> Inflated(const FileBytes& stream, std::size_t size) {
  std::vector<std::uint8_t> data(size + 1);
  uLongf length = data.size();
  if (uncompress(data.data(), &length, stream.data(), stream.size()) != Z_OK) return {};
  data.resize(length);
  return data;
}

TEST(PngOutput, ImageDataInflatesBackWithZlib) {
  std::mt19937 random(20261207);
  const auto noise = [&](std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
  };
  // Bytes 0..24 with Fibonacci frequencies, in a random order.
  std::vector<std::uint8_t> uneven;
  for (std::uint64_t symbol = 0, a = 1, b = 1; symbol < 25; ++symbol, b = a + b, a = b - a) uneven.insert(uneven.end(), a, static_cast<std::uint8_t>(symbol));
  std::shuffle(uneven.begin(), uneven.end(), random);
  std::vector<std::uint8_t> wideRows = noise(40000);
  wideRows.insert(wideRows.end(), wideRows.begin(), wideRows.end());
  constexpr std::size_t kBandRow = 37;
  std::vector<std::uint8_t> bands;
  for (int band = 0; band < 60; ++band) {
    const auto row = noise(kBandRow);
    for (auto copies = random() % 40 + 1; copies > 0; --copies) bands.insert(bands.end(), row.begin(), row.end());
  }
  bands.resize(bands.size() - kBandRow / 2);
  // More copies of one row than the checksum's modulus (65521), an odd number of them.
  std::vector<std::uint8_t> manyCopies;
  for (int copy = 0; copy < 140001; ++copy) manyCopies.insert(manyCopies.end(), {0x01, 0xFE, 0x7F});

  const struct {
    const char* name;
    std::vector<std::uint8_t> data;
    std::size_t rowLength;
  } cases[] = {
      {"noise", noise(300000), 1000},
      {"rows beyond a match's reach", wideRows, 40000},
      {"one byte", {0x5A}, 1},
      {"uneven frequencies", uneven, 97},
      {"one row repeated", std::vector<std::uint8_t>(100000, 0xFF), 50},
      {"bands of repeated rows", bands, kBandRow},
      {"a row repeated past the checksum's modulus", manyCopies, 3},
  };
  for (const auto& c : cases) {
    FileBytes stream;
    AppendZlibRows(stream, c.data, c.rowLength);
    EXPECT_EQ(Inflated(stream, c.data.size()), c.data) << c.name;
  }
  FileBytes onlyRepeats;
  AppendZlibRows(onlyRepeats, cases[4].data, cases[4].rowLength);
  EXPECT_LT(onlyRepeats.size(), 200u) << "a band of identical rows is a few matches";
}

// Every code the compressor makes is complete and within deflate's limit, however uneven the
// frequencies, so that any decoder takes it.
TEST(PngOutput, HuffmanCodesAreCompleteAndWithinTheLimit) {
  std::vector<std::uint32_t> fibonacci(30);
  for (std::size_t i = 0; i < fibonacci.size(); ++i) fibonacci[i] = i < 2 ? 1 : fibonacci[i - 1] + fibonacci[i - 2];
  const std::vector<std::vector<std::uint32_t>> frequencies = {fibonacci, {0, 0, 7, 0}, {0, 0}, {1, 1, 1, 1, 1}};
  for (const auto& counts : frequencies) {
    for (const int limit : {7, 15}) {
      std::vector<std::uint8_t> lengths(counts.size());
      const deflate::CodedSymbols listed = deflate::CodeLengths(counts, limit, lengths);
      double kraft = 0;
      int coded = 0;
      // The symbols given a code are listed, in increasing order, as the canonical codes need them.
      std::vector<std::size_t> withCodes;
      for (std::size_t s = 0; s < counts.size(); ++s) {
        EXPECT_LE(lengths[s], limit);
        if (counts[s] != 0) {
          EXPECT_GT(lengths[s], 0) << "symbol " << s << " occurs";
        }
        if (lengths[s] != 0) {
          kraft += std::ldexp(1.0, -lengths[s]);
          ++coded;
          withCodes.push_back(s);
        }
      }
      EXPECT_EQ(std::vector<std::size_t>(listed.List().begin(), listed.List().end()), withCodes);
      EXPECT_EQ(coded, std::max<int>(2, static_cast<int>(std::count_if(counts.begin(), counts.end(), [](auto n) { return n != 0; }))));
      EXPECT_EQ(kraft, 1.0) << counts.size() << " symbols, limit " << limit;
    }
  }
}

}  // namespace
}  // namespace varnel
