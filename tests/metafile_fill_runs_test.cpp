// Fills of one colour in a row go into a metafile as one shape of several outlines. What the two
// independent readers draw of such shapes must still be our BMP, cell for cell: where the outlines
// overlap as well, and when there are more of them than one record holds.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "drawing/surface.h"
#include "writers/wmf_file.h"
#include "support/bmp_reader.h"
#include "support/metafile_readers.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

struct Reader {
  const char* name;
  std::optional<FileBytes> (*encode)(const Surface&);
  testing::ReaderRun (*read)(const std::string&);
};

const Reader kReaders[] = {
    {"wmf2svg", [](const Surface& s) { return EncodePlaceableWmf(s, 96); }, testing::ReadWithWmf2svg},
    {"emf2svg", [](const Surface& s) { return EncodeEmf(s, ScreenResolution{96, 96}); }, testing::ReadWithEmf2svg},
};

// What the reader draws of the surface's metafile, beside our BMP of it: the cells where the two
// differ in darkness, and the number of filled shapes the reader drew; -1 and a failure otherwise.
struct Comparison {
  std::string failure;
  int differingCells = -1;
  std::size_t drawnFills = 0;
};

Comparison Compare(const Surface& surface, const Reader& reader) {
  Comparison result;
  const testing::TempDir folder;
  const auto metafile = reader.encode(surface);
  const auto bmp = EncodeOneBitBmp(surface, Palette{kBlack, kWhite});
  if (!metafile || !bmp) {
    result.failure = "no file";
    return result;
  }
  const std::string path = folder.File("fills.metafile");
  testing::WriteFileBytes(path, *metafile);
  const testing::ReaderRun run = reader.read(path);
  if (run.exitStatus != 0 || run.svg.empty()) {
    result.failure = "the reader failed: " + run.errors;
    return result;
  }
  const auto ours = testing::ReadBmpBytes(*bmp);
  const auto drawn = testing::ParseReaderSvg(run.svg, surface.Width(), surface.Height(), &result.failure);
  if (!ours || !drawn) return result;
  const auto painted = testing::PaintFills(*drawn, surface.Width(), surface.Height());
  if (!painted) {
    result.failure = "a fill between cells";
    return result;
  }
  result.differingCells = testing::CountDarknessDifferences(*painted, *ours, {});
  result.drawnFills = drawn->fills.size();
  return result;
}

TEST(MetafileFillRunsTest, OverlappingFillsOfOneColourArePaintedWhereverAnyOfThemLies) {
  Surface surface(120, 60);
  surface.FillRect(Rect{0, 0, 120, 60}, Brush{kWhite});
  const Rect bars[] = {
      {10, 10, 20, 50},  {15, 5, 25, 40},   // overlapping in part
      {30, 10, 40, 50},  {30, 10, 40, 50},  // the same cells twice
      {50, 5, 80, 55},   {60, 20, 70, 30},  // one inside the other
      {85, 10, 95, 20},  {85, 20, 95, 30},  // edge to edge
      {100, 0, 130, 70},                    // past the picture
  };
  for (const Rect& bar : bars) surface.FillRect(bar, Brush{kBlack});
  for (const Reader& reader : kReaders) {
    const Comparison drawn = Compare(surface, reader);
    ASSERT_EQ(drawn.failure, "") << reader.name;
    EXPECT_EQ(drawn.differingCells, 0) << reader.name;
    EXPECT_EQ(drawn.drawnFills, 1 + std::size(bars)) << reader.name;
  }
}

// More bars than one record takes, then a fill of another colour over some of them: the run goes
// on in the next record, and the order of the colours holds.
TEST(MetafileFillRunsTest, RunsLongerThanARecordHoldsGoOnInTheNext) {
  Surface surface(300, 200);
  surface.FillRect(Rect{0, 0, 300, 200}, Brush{kWhite});
  constexpr int kBars = 4200;
  for (int i = 0; i < kBars; ++i) {
    const int x = (i * 7) % 299, y = (i / 43) * 2 % 190;
    surface.FillRect(Rect{x, y, x + 1 + i % 3, y + 3}, Brush{kBlack});
  }
  surface.FillRect(Rect{100, 50, 200, 150}, Brush{kWhite});
  for (const Reader& reader : kReaders) {
    const Comparison drawn = Compare(surface, reader);
    ASSERT_EQ(drawn.failure, "") << reader.name;
    EXPECT_EQ(drawn.differingCells, 0) << reader.name;
    EXPECT_EQ(drawn.drawnFills, 2u + kBars) << reader.name;
  }
}

}  // namespace
}  // namespace varnel
