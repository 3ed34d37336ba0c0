// The enhanced metafile: a header that describes the picture and its reference screen, a record
// stream a player can follow, and what emf2svg draws from it set beside our BMP.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/surface.h"
#include "outputs/pictures.h"
#include "platform/font_engine.h"
#include "writers/emf_file.h"
#include "outputs/render_to_surface.h"
#include "support/metafile_readers.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

constexpr std::uint32_t kStock = 0x80000000;

// The record stream read as a player reads it. Objects are created at the index their record names,
// which must be free; selecting or deleting names a live object (or a stock one, to select), and an
// object is never deleted while selected.
struct EmfWalk {
  std::string fault;  // empty when the stream holds together
  std::vector<std::uint32_t> types;
  std::vector<std::size_t> offsets;
  std::uint32_t highestIndex = 0;
  std::size_t liveAtEnd = 0;
};

constexpr std::uint32_t kCreatePen = 38, kCreateBrush = 39, kCreateFont = 82, kSelect = 37, kDelete = 40;

// Stock objects 0 to 5 are brushes, 6 to 8 pens, the rest fonts and palettes.
std::uint32_t StockKind(std::uint32_t number) {
  if (number <= 5) return kCreateBrush;
  if (number <= 8) return kCreatePen;
  return kCreateFont;
}

EmfWalk Walk(const std::vector<std::uint8_t>& file) {
  EmfWalk walk;
  std::map<std::uint32_t, std::uint32_t> live;      // index -> the type of record that made it
  std::map<std::uint32_t, std::uint32_t> selected;  // the kind of object -> the index selected
  std::size_t at = 0;
  while (at < file.size()) {
    if (at + 8 > file.size()) {
      walk.fault = "a record header cut off at " + std::to_string(at);
      return walk;
    }
    const std::uint32_t type = U32(file, at), size = U32(file, at + 4);
    if (size < 8 || size % 4 != 0 || at + size > file.size()) {
      walk.fault = "record " + std::to_string(type) + " has size " + std::to_string(size);
      return walk;
    }
    walk.types.push_back(type);
    walk.offsets.push_back(at);
    if (type == kCreatePen || type == kCreateBrush || type == kCreateFont) {
      const std::uint32_t index = U32(file, at + 8);
      if (index == 0 || index >= kStock || live.count(index) != 0) {
        walk.fault = "an object created at index " + std::to_string(index);
        return walk;
      }
      live[index] = type;
      walk.highestIndex = std::max(walk.highestIndex, index);
    } else if (type == kSelect || type == kDelete) {
      const std::uint32_t index = U32(file, at + 8);
      const bool stock = (index & kStock) != 0;
      if ((stock && type == kDelete) || (!stock && live.count(index) == 0)) {
        walk.fault = "a record names the missing object " + std::to_string(index);
        return walk;
      }
      if (type == kSelect) selected[stock ? StockKind(index & ~kStock) : live[index]] = index;
      if (type == kDelete) {
        if (selected[live[index]] == index) {
          walk.fault = "object " + std::to_string(index) + " deleted while selected";
          return walk;
        }
        live.erase(index);
      }
    }
    at += size;
  }
  walk.liveAtEnd = live.size();
  return walk;
}

// Runs that go from one font to another and back: every run's advances, which a reader that
// substitutes the face keeps, are the font engine's for that run's own font.
TEST(EmfText, EachRunCarriesTheAdvancesOfItsOwnFont) {
  FontDescription large{}, small{};
  large.lfHeight = 48;
  small.lfHeight = 12;
  Surface surface(400, 200);
  const Rect picture{0, 0, 400, 200};
  const FontDescription runFonts[] = {large, small, small, large};
  for (std::size_t i = 0; i < std::size(runFonts); ++i) {
    surface.SelectFont(runFonts[i]);
    surface.ExtTextOut(Point{10 + 90 * static_cast<int>(i), 50}, 0, picture, "WiW", 3);
  }
  const auto file = EncodeEmf(surface, ScreenResolution{96, 96});
  ASSERT_TRUE(file.has_value());
  const std::vector<std::uint8_t> bytes(file->begin(), file->end());
  const EmfWalk walk = Walk(bytes);
  ASSERT_EQ(walk.fault, "");
  std::size_t run = 0;
  constexpr std::uint32_t kExtTextOutW = 84;
  for (std::size_t r = 0; r < walk.types.size(); ++r) {
    if (walk.types[r] != kExtTextOutW) continue;
    ASSERT_LT(run, std::size(runFonts));
    const std::size_t at = walk.offsets[r];
    ASSERT_EQ(U32(bytes, at + 44), 3u);  // characters
    const std::size_t advances = at + U32(bytes, at + 72);
    FontLease font(runFonts[run]);
    for (std::size_t c = 0; c < 3; ++c)
      EXPECT_EQ(I32(bytes, advances + 4 * c), font.Advance(static_cast<std::uint8_t>("WiW"[c])))
          << "run " << run << ", character " << c;
    ++run;
  }
  EXPECT_EQ(run, std::size(runFonts));
}

class EmfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
    testing::ResetLibrary(context);
    SetBasicInfo(context, kCode39, 0.07, 2.0, 0, 0);
  }
  std::vector<std::uint8_t> Save() {
    const std::string path = folder.File("picture.emf");
    EXPECT_EQ(VnSaveAsEMF(path.c_str()), 1);
    return testing::ReadFileBytes(path);
  }
  testing::TempDir folder;
  // The suites that set a reader's drawing beside the render's recording draw on a context of their own.
  Context context;
};

TEST_F(EmfTest, HeaderDescribesThePictureAndAScreenOfItsResolution) {
  struct Case {
    int dpiX, dpiY;
  };
  for (const Case c : {Case{96, 96}, Case{120, 120}, Case{120, 72}}) {
    VnSetScreenResolution(c.dpiX, c.dpiY);
    const std::vector<std::uint8_t> file = Save();
    const EmfWalk walk = Walk(file);
    ASSERT_EQ(walk.fault, "") << c.dpiX;
    ASSERT_GE(file.size(), 108u);
    EXPECT_EQ(U32(file, 0), 1u);
    EXPECT_EQ(U32(file, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(U32(file, 48), file.size());
    EXPECT_EQ(U32(file, 52), walk.types.size());
    EXPECT_EQ(static_cast<std::uint32_t>(file[56] | file[57] << 8), walk.highestIndex + 1) << c.dpiX;
    // Bounds: the picture's cells, inclusive.
    EXPECT_EQ((std::vector<std::int32_t>{I32(file, 8), I32(file, 12), I32(file, 16), I32(file, 20)}),
              (std::vector<std::int32_t>{0, 0, 299, 199}));
    // Frame: the picture's size on this screen in hundredths of a millimetre, inclusive.
    EXPECT_EQ(I32(file, 24), 0);
    EXPECT_EQ(I32(file, 28), 0);
    EXPECT_NEAR(I32(file, 32) + 1, 300 * 2540.0 / c.dpiX, 0.5) << c.dpiX;
    EXPECT_NEAR(I32(file, 36) + 1, 200 * 2540.0 / c.dpiY, 0.5) << c.dpiY;
    // The reference screen's pixels per millimetre are the resolution, in both directions and in
    // the micrometre sizes too.
    EXPECT_EQ(std::int64_t{I32(file, 72)} * 254, std::int64_t{I32(file, 80)} * 10 * c.dpiX);
    EXPECT_EQ(std::int64_t{I32(file, 76)} * 254, std::int64_t{I32(file, 84)} * 10 * c.dpiY);
    EXPECT_EQ(I32(file, 100), I32(file, 80) * 1000);
    EXPECT_EQ(I32(file, 104), I32(file, 84) * 1000);
  }
}

TEST_F(EmfTest, AScreenResolutionBelowOneLeavesThatDirectionAsItWas) {
  VnSetScreenResolution(120, 72);
  VnSetScreenResolution(0, -1);
  const std::vector<std::uint8_t> file = Save();
  ASSERT_GE(file.size(), 108u);
  EXPECT_EQ(std::int64_t{I32(file, 72)} * 254, std::int64_t{I32(file, 80)} * 10 * 120);
  EXPECT_EQ(std::int64_t{I32(file, 76)} * 254, std::int64_t{I32(file, 84)} * 10 * 72);
}

TEST_F(EmfTest, RecordsFormAMetafileAPlayerCanFollow) {
  for (const char* message : {"CODE-39", "lower case is refused"}) {
    VnBasicInfo(kCode39, 0.07, 2.0, 1, kSolidFrame);
    VnSetMessage(message);
    const std::vector<std::uint8_t> file = Save();
    const EmfWalk walk = Walk(file);
    ASSERT_EQ(walk.fault, "") << message;
    EXPECT_EQ(walk.liveAtEnd, 0u) << message << ": objects left undeleted";
    // Mapping mode 1, window extent and origin before anything else.
    ASSERT_GE(walk.types.size(), 5u);
    EXPECT_EQ(walk.types[1], 17u);
    EXPECT_EQ(U32(file, walk.offsets[1] + 8), 1u);
    EXPECT_EQ(walk.types[2], 9u);
    EXPECT_EQ(I32(file, walk.offsets[2] + 8), 300);
    EXPECT_EQ(I32(file, walk.offsets[2] + 12), 200);
    EXPECT_EQ(walk.types[3], 10u);
    EXPECT_EQ(I32(file, walk.offsets[3] + 8), 0);
    EXPECT_EQ(I32(file, walk.offsets[3] + 12), 0);
    // EMR_EOF last, its final field its own size.
    EXPECT_EQ(walk.types.back(), 14u);
    const std::size_t eof = walk.offsets.back();
    EXPECT_EQ(U32(file, eof + U32(file, eof + 4) - 4), U32(file, eof + 4));
  }
}

TEST_F(EmfTest, Emf2svgDrawsTheBarsWhereOurBmpHasThemInEveryOrientation) {
  const char* const kMessages[] = {"EMF-3", "EMF-39", "EMF-39A", "EMF-39AB"};
  for (int orientation = 0; orientation < 4; ++orientation) {
    SetBasicInfo(context, kCode39, 0.07, 2.0, orientation, 0);
    SetSize(context, orientation % 2 == 0 ? 300 : 200, orientation % 2 == 0 ? 200 : 300);
    // Texts of every length modulo 4, for the string padding of both formats.
    SetMessage(context, kMessages[orientation]);
    const auto verdict = testing::SetBesideBmp(folder, context, SaveAsEmf, testing::ReadWithEmf2svg);
    ASSERT_EQ(verdict.failure, "") << orientation;
    EXPECT_EQ(verdict.drawn.fills.size(), verdict.recordedFills) << orientation;
    EXPECT_EQ(verdict.differingCells, 0) << orientation;
    EXPECT_EQ(testing::AllText(verdict.drawn), verdict.recordedText) << orientation;
    EXPECT_FALSE(verdict.recordedText.empty());
    for (const auto& text : verdict.drawn.texts) EXPECT_EQ(text.angle, 90 * orientation) << orientation;
  }
}

TEST_F(EmfTest, Emf2svgPaintsTheSettingsColoursAndTheFrameLines) {
  SetBasicInfo(context, kCode39, 0.07, 2.0, 0, kSolidFrame);
  SetBarColor(context, 0x12, 0x34, 0x56);
  SetBackColor(context, 0xFE, 0xDC, 0xBA);
  const auto verdict = testing::SetBesideBmp(folder, context, SaveAsEmf, testing::ReadWithEmf2svg);
  ASSERT_EQ(verdict.failure, "");
  std::set<std::uint32_t> colours;
  for (const auto& fill : verdict.drawn.fills) colours.insert(fill.rgb);
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x123456, 0xFEDCBA}));

  const std::vector<LineOp> recorded = testing::RecordedLines(RenderToSurface(context));
  ASSERT_EQ(verdict.drawn.lines.size(), recorded.size());
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    const auto& line = verdict.drawn.lines[i];
    EXPECT_NEAR(line.x1, recorded[i].from.x, 0.02) << i;
    EXPECT_NEAR(line.y1, recorded[i].from.y, 0.02) << i;
    EXPECT_NEAR(line.x2, recorded[i].to.x, 0.02) << i;
    EXPECT_NEAR(line.y2, recorded[i].to.y, 0.02) << i;
  }
}

}  // namespace
}  // namespace varnel
