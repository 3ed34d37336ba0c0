// The placeable Windows metafile: its header byte for byte, a record stream that a player can
// follow, what libwmf's wmf2svg draws from it set beside our BMP, and the file rules shared by both
// metafile exports.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "outputs/pictures.h"
#include "outputs/render_to_surface.h"
#include "support/metafile_readers.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

constexpr std::size_t kRecordsStart = 22 + 18;

// The record stream read as a player reads it, keeping the object table the way the format says a
// player does: a created object takes the lowest free slot.
struct WmfWalk {
  std::string fault;  // empty when the stream holds together
  std::vector<std::uint16_t> functions;
  std::vector<std::vector<std::int16_t>> parameters;
  std::uint32_t largestRecord = 0;
  std::size_t slotsNeeded = 0;
  std::size_t liveAtEnd = 0;
  std::set<std::uint32_t> brushColours;
};

WmfWalk Walk(const std::vector<std::uint8_t>& file) {
  constexpr std::uint16_t kCreatePen = 0x02FA, kCreateFont = 0x02FB, kCreateBrush = 0x02FC;
  constexpr std::uint16_t kSelect = 0x012D, kDelete = 0x01F0;
  WmfWalk walk;
  std::vector<bool> slots;
  std::size_t at = kRecordsStart;
  while (true) {
    if (at + 6 > file.size()) {
      walk.fault = "the records run past the end without META_EOF";
      return walk;
    }
    const std::uint32_t words = U32(file, at);
    const std::uint16_t function = U16(file, at + 4);
    if (words < 3 || at + std::size_t{words} * 2 > file.size()) {
      walk.fault = "a record of impossible size at " + std::to_string(at);
      return walk;
    }
    walk.functions.push_back(function);
    walk.parameters.emplace_back();
    for (std::size_t p = at + 6; p < at + std::size_t{words} * 2; p += 2)
      walk.parameters.back().push_back(static_cast<std::int16_t>(U16(file, p)));
    walk.largestRecord = std::max(walk.largestRecord, words);
    if (function == kCreatePen || function == kCreateFont || function == kCreateBrush) {
      std::size_t slot = 0;
      while (slot < slots.size() && slots[slot]) ++slot;
      if (slot == slots.size()) slots.push_back(false);
      slots[slot] = true;
      walk.slotsNeeded = std::max(walk.slotsNeeded, slot + 1);
      if (function == kCreateBrush) walk.brushColours.insert(U32(file, at + 8));
    }
    if (function == kSelect || function == kDelete) {
      const std::uint16_t slot = U16(file, at + 6);
      if (slot >= slots.size() || !slots[slot]) {
        walk.fault = "a record names the empty slot " + std::to_string(slot);
        return walk;
      }
      if (function == kDelete) slots[slot] = false;
    }
    at += std::size_t{words} * 2;
    if (function == 0) break;
  }
  if (at != file.size()) walk.fault = "bytes after META_EOF";
  for (const bool live : slots) walk.liveAtEnd += live ? 1 : 0;
  return walk;
}

class WmfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
    testing::ResetLibrary(context);
    SetBasicInfo(context, kCode39, 0.07, 2.0, 0, 0);
  }
  std::vector<std::uint8_t> Save() {
    const std::string path = folder.File("picture.wmf");
    EXPECT_EQ(VnSaveAsWMF(path.c_str()), 1);
    return testing::ReadFileBytes(path);
  }
  testing::TempDir folder;
  // The suites that set a reader's drawing beside the render's recording draw on a context of their own.
  Context context;
};

TEST_F(WmfTest, PlaceableHeaderHoldsTheBoxTheResolutionAndTheChecksum) {
  struct Case {
    int dpi;
    std::vector<std::uint8_t> header;
  };
  // The worked values: 300 x 200 at 96 pixels per inch, checksum 0x5695; at 120, 0x568D.
  const Case cases[] = {
      {96, {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0xC8, 0x00, 0x60, 0x00, 0, 0, 0, 0, 0x95, 0x56}},
      {120, {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0xC8, 0x00, 0x78, 0x00, 0, 0, 0, 0, 0x8D, 0x56}},
  };
  for (const Case& c : cases) {
    VnSetScreenResolution(c.dpi, c.dpi);
    const std::vector<std::uint8_t> file = Save();
    ASSERT_GE(file.size(), kRecordsStart) << c.dpi;
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 22), c.header) << c.dpi;
  }
}

// A coloured, framed symbol with text uses every kind of record; a refused message is drawn in the
// surface's default font.
TEST_F(WmfTest, RecordsFormAMetafileAPlayerCanFollow) {
  struct Case {
    const char* message;
    int frame;
  };
  for (const Case c : {Case{"CODE-39", kSolidFrame}, Case{"lower case is refused", kDashedFrame}}) {
    VnBasicInfo(kCode39, 0.07, 2.0, 0, c.frame);
    VnSetBarColor(0x12, 0x34, 0x56);
    VnSetBackColor(0xFE, 0xDC, 0xBA);
    VnSetMessage(c.message);
    const std::vector<std::uint8_t> file = Save();
    const WmfWalk walk = Walk(file);
    ASSERT_EQ(walk.fault, "") << c.message;

    // META_HEADER: a memory metafile of nine header words, version 3.0, its size in words, the
    // object table's size and the largest record.
    EXPECT_EQ(U16(file, 22), 1);
    EXPECT_EQ(U16(file, 24), 9);
    EXPECT_EQ(U16(file, 26), 0x0300);
    EXPECT_EQ(U32(file, 28), (file.size() - 22) / 2);
    EXPECT_EQ(U16(file, 32), walk.slotsNeeded) << c.message;
    EXPECT_EQ(U32(file, 34), walk.largestRecord) << c.message;
    EXPECT_EQ(walk.liveAtEnd, 0u) << c.message << ": objects left undeleted";

    // Window extent (y first) and origin before anything else, and no mapping mode anywhere.
    ASSERT_GE(walk.functions.size(), 3u);
    EXPECT_EQ(walk.functions[0], 0x020C);
    EXPECT_EQ(walk.parameters[0], (std::vector<std::int16_t>{200, 300}));
    EXPECT_EQ(walk.functions[1], 0x020B);
    EXPECT_EQ(walk.parameters[1], (std::vector<std::int16_t>{0, 0}));
    EXPECT_EQ(std::count(walk.functions.begin(), walk.functions.end(), 0x0103), 0) << c.message;
    EXPECT_EQ(walk.functions.back(), 0x0000);
  }
  // The symbol's brushes are its two colours, as COLORREF (red in the low byte).
  VnSetMessage("CODE-39");
  EXPECT_EQ(Walk(Save()).brushColours, (std::set<std::uint32_t>{0x563412, 0xBADCFE}));
}

TEST_F(WmfTest, Wmf2svgDrawsTheBarsWhereOurBmpHasThemInEveryOrientation) {
  const char* const kMessages[] = {"WMF-3", "WMF-39", "WMF-39A", "WMF-39AB"};
  for (int orientation = 0; orientation < 4; ++orientation) {
    SetBasicInfo(context, kCode39, 0.07, 2.0, orientation, 0);
    SetSize(context, orientation % 2 == 0 ? 300 : 200, orientation % 2 == 0 ? 200 : 300);
    // Texts of every length modulo 4, for the string padding of both formats.
    SetMessage(context, kMessages[orientation]);
    const auto verdict = testing::SetBesideBmp(folder, context, SaveAsWmf, testing::ReadWithWmf2svg);
    ASSERT_EQ(verdict.failure, "") << orientation;
    EXPECT_EQ(verdict.drawn.fills.size(), verdict.recordedFills) << orientation;
    EXPECT_EQ(verdict.differingCells, 0) << orientation;
    EXPECT_EQ(testing::AllText(verdict.drawn), verdict.recordedText) << orientation;
    EXPECT_FALSE(verdict.recordedText.empty());
    for (const auto& text : verdict.drawn.texts) EXPECT_EQ(text.angle, 90 * orientation) << orientation;
  }
}

TEST_F(WmfTest, Wmf2svgDrawsTheFrameLinesFromTheirRecordedEnds) {
  for (const int frame : {kSolidFrame, kDashedFrame}) {
    SetBasicInfo(context, kCode39, 0.07, 2.0, 0, frame);
    const auto verdict = testing::SetBesideBmp(folder, context, SaveAsWmf, testing::ReadWithWmf2svg);
    ASSERT_EQ(verdict.failure, "") << frame;
    const std::vector<LineOp> recorded = testing::RecordedLines(RenderToSurface(context));
    ASSERT_EQ(verdict.drawn.lines.size(), recorded.size()) << frame;
    for (std::size_t i = 0; i < recorded.size(); ++i) {
      const auto& line = verdict.drawn.lines[i];
      EXPECT_NEAR(line.x1, recorded[i].from.x, 0.02) << frame << " line " << i;
      EXPECT_NEAR(line.y1, recorded[i].from.y, 0.02) << frame << " line " << i;
      EXPECT_NEAR(line.x2, recorded[i].to.x, 0.02) << frame << " line " << i;
      EXPECT_NEAR(line.y2, recorded[i].to.y, 0.02) << frame << " line " << i;
    }
  }
}

// Sixteen-bit fields cannot hold these pictures; a cut value would draw something else, so there
// is no file, and the old one stays.
TEST_F(WmfTest, PicturesBeyondSixteenBitsAreRefusedAndTheOldFileStays) {
  const std::string path = folder.File("old.wmf");
  const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
  struct Case {
    const char* what;
    int width, height, dpi, fontHeight;
  };
  const Case cases[] = {
      {"width 32768", 32768, 200, 96, 24},
      {"height 32768", 300, 32768, 96, 24},
      {"65536 pixels per inch", 300, 200, 65536, 24},
      {"a 40000-unit font", 300, 200, 96, 40000},
  };
  for (const Case& c : cases) {
    testing::ResetLibrary();
    testing::WriteFileBytes(path, old);
    VnSetSize(c.width, c.height);
    VnSetScreenResolution(c.dpi, c.dpi);
    VnFontInfo("Arial", c.fontHeight);
    EXPECT_EQ(VnSaveAsWMF(path.c_str()), 0) << c.what;
    EXPECT_EQ(testing::ReadFileBytes(path), old) << c.what;
  }
  // The largest picture the format holds is still written.
  testing::ResetLibrary();
  VnSetSize(32767, 20);
  EXPECT_EQ(VnSaveAsWMF(path.c_str()), 1);
  EXPECT_EQ(Walk(testing::ReadFileBytes(path)).fault, "");
}

// Both metafile exports: a file is replaced whole, and a failure never costs the old file.
TEST(MetafileFiles, AFileIsReplacedWholeOrNotAtAll) {
  struct Export {
    const char* name;
    VnBool (*save)(const char*);
  };
  for (const Export e : {Export{"WMF", VnSaveAsWMF}, Export{"EMF", VnSaveAsEMF}}) {
    testing::ResetLibrary();
    testing::TempDir folder;
    EXPECT_EQ(e.save(nullptr), 0) << e.name;

    const std::string missing = folder.File("no/such/folder/picture");
    EXPECT_EQ(e.save(missing.c_str()), 0) << e.name;
    EXPECT_FALSE(std::filesystem::exists(missing)) << e.name;

    const std::string subfolder = folder.File("a-folder");
    std::filesystem::create_directory(subfolder);
    testing::WriteFileBytes(subfolder + "/inside", std::vector<std::uint8_t>{'x'});
    EXPECT_EQ(e.save(subfolder.c_str()), 0) << e.name;
    EXPECT_TRUE(std::filesystem::is_directory(subfolder)) << e.name;
    EXPECT_EQ(testing::ReadFileBytes(subfolder + "/inside"), std::vector<std::uint8_t>{'x'}) << e.name;

    const std::string fresh = folder.File("fresh"), reused = folder.File("reused");
    ASSERT_EQ(e.save(fresh.c_str()), 1) << e.name;
    testing::WriteFileBytes(reused, std::vector<std::uint8_t>(100000, 0xEE));
    ASSERT_EQ(e.save(reused.c_str()), 1) << e.name;
    EXPECT_EQ(testing::ReadFileBytes(reused), testing::ReadFileBytes(fresh)) << e.name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3)
        << e.name << ": a temporary file was left behind";
  }
}

}  // namespace
}  // namespace varnel
