// The one-bit raster's fast paths against the plain definition of what they paint: fills and glyph
// masks cell by cell over pictures of random content, and whole pictures painted in bands against
// the same surfaces painted one operation after another.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "writers/one_bit_raster.h"
#include "drawing/surface.h"
#include "support/render_harness.h"
#include "support/simple_painter.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr Palette kBlackOnWhite{kBlack, kWhite};

// A raster over bytes of its own, started from random content (padding included) so that any cell
// a paint touches by mistake shows.
struct RandomRaster {
  RandomRaster(int width, int height, std::mt19937& random)
      : bytes(OneBitRaster::RowBytes(width) * static_cast<std::size_t>(height)), raster(nullptr, 0, 0) {
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    raster = OneBitRaster(bytes.data(), width, height);
  }
  std::vector<int> Cells() const {
    std::vector<int> cells;
    for (int y = 0; y < raster.Height(); ++y)
      for (int x = 0; x < raster.Width(); ++x) cells.push_back(raster.PixelIndex(x, y));
    return cells;
  }
  std::vector<std::uint8_t> bytes;
  OneBitRaster raster;
};

// The raster's bytes, padding included: painted in bands over random content (the raster a picture
// is painted into is not cleared beforehand), or one operation after another over a cleared raster.
std::vector<std::uint8_t> PictureBytes(const Surface& surface, bool banded) {
  static std::mt19937 random(5);
  std::vector<std::uint8_t> bytes(OneBitRaster::RowBytes(surface.Width()) * static_cast<std::size_t>(surface.Height()));
  OneBitRaster raster(bytes.data(), surface.Width(), surface.Height());
  if (banded) {
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    PaintPicture(surface, kBlackOnWhite, raster);
  } else {
    raster.Fill(Rect{0, 0, raster.Width(), raster.Height()}, NearestPaletteIndex(kBlackOnWhite, kBlack));
    testing::PaintOperationByOperation(surface, kBlackOnWhite, raster);
  }
  return bytes;
}

int Random(std::mt19937& random, int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); }

TEST(OneBitRasterTest, FillsPaintExactlyTheirCells) {
  std::mt19937 random(9);
  for (const int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 71, 72, 100, 300}) {
    for (int trial = 0; trial < 200; ++trial) {
      RandomRaster picture(width, 12, random);
      std::vector<int> expected = picture.Cells();
      const Rect rect{Random(random, -3, width + 2), Random(random, -3, 14), Random(random, -3, width + 2), Random(random, -3, 14)};
      const int index = Random(random, 0, 1);
      picture.raster.Fill(rect, index);
      for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, 12); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, width); ++x) expected[static_cast<std::size_t>(y * width + x)] = index;
      ASSERT_EQ(picture.Cells(), expected) << "width " << width << ", rect " << rect.left << "," << rect.top << ","
                                           << rect.right << "," << rect.bottom;
    }
  }
}

TEST(OneBitRasterTest, MasksPaintTheirSetBitsWithinTheClip) {
  std::mt19937 random(10);
  for (const int maskWidth : {1, 5, 10, 17, 56, 57, 63, 64, 65, 100, 130}) {
    const int wordsPerRow = (maskWidth + 63) / 64, maskHeight = 6;
    for (int trial = 0; trial < 150; ++trial) {
      std::vector<std::uint64_t> words(static_cast<std::size_t>(wordsPerRow * maskHeight));
      for (std::size_t i = 0; i < words.size(); ++i) {
        const int cellsInWord = std::min(64, maskWidth - static_cast<int>(i % wordsPerRow) * 64);
        words[i] = (std::uint64_t{random()} << 32 | random()) & (cellsInWord == 64 ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> cellsInWord));
      }
      const int width = Random(random, 1, 160);
      RandomRaster picture(width, 10, random);
      std::vector<int> expected = picture.Cells();
      const int x = Random(random, -70, width + 4), y = Random(random, -7, 11), index = Random(random, 0, 1);
      const Rect clip{Random(random, -5, width + 5), Random(random, -5, 12), Random(random, -5, width + 5), Random(random, -5, 12)};
      picture.raster.PaintBits(BitRows{words.data(), maskWidth, maskHeight, wordsPerRow}, x, y, clip, index);
      for (int row = 0; row < maskHeight; ++row) {
        for (int column = 0; column < maskWidth; ++column) {
          const int px = x + column, py = y + row;
          const std::uint64_t word = words[static_cast<std::size_t>(row * wordsPerRow + column / 64)];
          const bool set = ((word >> (63 - column % 64)) & 1) != 0;
          const bool inside = px >= std::max(clip.left, 0) && px < std::min(clip.right, width) &&
                              py >= std::max(clip.top, 0) && py < std::min(clip.bottom, 10);
          if (set && inside) expected[static_cast<std::size_t>(py * width + px)] = index;
        }
      }
      ASSERT_EQ(picture.Cells(), expected) << "mask " << maskWidth << " at " << x << "," << y << " in a picture " << width;
    }
  }
}

// Every symbology, in every orientation, framed or not, with and without its text: the banded
// picture is the picture painted one operation after another.
TEST(PicturePaintingTest, BandsPaintWhatOperationsPaintOneAfterAnother) {
  Context context;
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      for (const int frame : {kNoFrame, kDashedFrame, kSolidFrame}) {
        for (const int showText : {1, 0}) {
          testing::ResetLibrary(context);
          SetBasicInfo(context, symbology, 0.05, 2.5, orientation, frame);
          SetSymbology(context, symbology);
          SetMessage(context, testing::SampleMessage(symbology));
          SetSupplementInfo(context, kSupplement5, "12345", 0.3);
          SetTextInfo(context, showText, 1, 1);
          const Surface& surface = RenderToSurface(context);
          ASSERT_EQ(PictureBytes(surface, true), PictureBytes(surface, false))
              << "symbology " << symbology << ", orientation " << orientation << ", frame " << frame << ", text " << showText;
        }
      }
    }
  }
}

// Surfaces no render makes: overlapping fills in colours on either side of the palette, lines,
// clipped and unclipped text, and fills drawn after text, over it and beside it.
TEST(PicturePaintingTest, BandsKeepTheDrawingOrderWhereOperationsOverlap) {
  std::mt19937 random(11);
  const COLORREF colours[] = {kBlack, kWhite, 0x202020, 0xE0E0E0, 0x0000FF};
  for (int trial = 0; trial < 300; ++trial) {
    const int width = Random(random, 0, 90), height = Random(random, 0, 60);
    Surface surface(width, height);
    FontDescription font{};
    font.lfHeight = Random(random, 8, 30);
    font.lfEscapement = 900 * Random(random, 0, 3);
    surface.SelectFont(font);
    const int operations = Random(random, 0, 25);
    for (int i = 0; i < operations; ++i) {
      const Rect rect{Random(random, -10, width + 10), Random(random, -10, height + 10), Random(random, -10, width + 10),
                      Random(random, -10, height + 10)};
      switch (Random(random, 0, 6)) {
        case 0:
          surface.SetTextColor(colours[Random(random, 0, 4)]);
          surface.SetBkColor(colours[Random(random, 0, 4)]);
          surface.ExtTextOut(Point{rect.left, rect.top}, Random(random, 0, 1) != 0 ? kTextClipped : 0, rect, "Ag1", 3);
          break;
        case 6:  // a box cleared under a run, as printed digits are, in the run's background or not
          surface.SetBkColor(colours[Random(random, 0, 4)]);
          surface.FillRect(rect, Brush{colours[Random(random, 0, 4)]});
          surface.ExtTextOut(Point{(rect.left + rect.right) / 2, rect.top}, Random(random, 0, 3) != 0 ? kTextClipped : 0,
                             rect, "8", 1);
          break;
        case 1:
          surface.MoveTo(Point{rect.left, rect.top});
          surface.LineTo(Random(random, 0, 1) != 0 ? Point{rect.right, rect.top} : Point{rect.left, rect.bottom});
          break;
        default: surface.FillRect(rect, Brush{colours[Random(random, 0, 4)]}); break;
      }
    }
    ASSERT_EQ(PictureBytes(surface, true), PictureBytes(surface, false)) << "trial " << trial;
  }
}

}  // namespace
}  // namespace varnel
