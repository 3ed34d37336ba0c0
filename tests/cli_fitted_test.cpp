// The tool's pictures without --size: the symbol, its quiet zones and its text, and no more. Held
// to what a reader of the picture finds: zbar and ZXing read every symbology they know from the
// picture as it is, with no margin added, in all four orientations, and the light space measured
// before and after the bars is the symbology's quiet zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../tools/symbology_conventions.h"
#include "support/bmp_reader.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/row_scan.h"
#include "support/symbol_scan.h"
#include "support/tool_runs.h"
#include "symbologies/catalogue.h"

namespace varnel {
namespace {

using testing::Varnel;

// 3 pixels a module leave room for the digits EAN and UPC print in their quiet zones at the
// default 24-pixel font: the zones, not the digits, set the margins.
constexpr int kNarrow = 3;
constexpr int kDpi = 96;

struct Sample {
  const char* name;
  std::vector<std::string> options;
  const char* data;
  // What each reader reports, every symbol in its order; empty where the reader has no decoder
  // for the symbology.
  std::vector<std::string> zbar;
  // ZXing joins an add-on's digits to the main number with a space.
  const char* zxing;
};

// The data as people have it where the tool takes that form (check digits, the 978 number, the
// digits under a UPC-E symbol), and the check characters the tool draws by default.
const Sample kSamples[] = {
    {"codabar", {"--start", "C", "--stop", "D"}, "40156", {"C40156D"}, "40156"},
    {"code11", {"--check"}, "123-45", {}, nullptr},
    {"code128", {}, "Varnel-128", {"Varnel-128"}, "Varnel-128"},
    {"code39", {}, "VARNEL-32", {"VARNEL-32"}, "VARNEL-32"},
    {"code39-ascii", {}, "ASCII 39", {"ASCII 39"}, "ASCII 39"},
    {"code93", {}, "VARNEL 93", {"VARNEL 93"}, "VARNEL 93"},
    {"ean128", {}, "0195012345678903", {"0195012345678903"}, "0195012345678903"},
    {"ean13", {}, "5901234123457", {"5901234123457"}, "5901234123457"},
    {"ean13", {"--addon", "52495"}, "5901234123457", {"5901234123457", "52495"}, "5901234123457 52495"},
    {"ean8", {}, "96385074", {"96385074"}, "96385074"},
    {"itf", {}, "1234567890", {"1234567890"}, "1234567890"},
    {"isbn", {}, "9780306406157", {"9780306406157"}, "9780306406157"},
    {"jan13", {}, "4901234567894", {"4901234567894"}, "4901234567894"},
    {"jan8", {}, "49123456", {"49123456"}, "49123456"},
    {"matrix2of5", {}, "1234567890", {}, nullptr},
    {"msi", {"--check"}, "80523", {}, nullptr},
    {"planet", {"--check"}, "40123456789", {}, nullptr},
    {"postnet", {"--check"}, "555551237", {}, nullptr},
    {"sscc18", {}, "376104250021234569", {"00376104250021234569"}, "00376104250021234569"},
    {"ean128-ai01", {}, "09501101530003", {"0109501101530003"}, "0109501101530003"},
    {"upc-a", {}, "036000291452", {"036000291452"}, "036000291452"},
    {"upc-a", {"--addon", "53"}, "036000291452", {"036000291452", "53"}, "036000291452 53"},
    {"upc-e", {}, "04252614", {"04252614"}, "04252614"},
    {"gs1-128", {}, "(01)09501101530003(10)AB-1", {"010950110153000310AB-1"}, "010950110153000310AB-1"},
    // The box of bearer bars holds the quiet zones: the picture starts at its edge.
    {"itf-14", {}, "1540014128876", {"15400141288763"}, "15400141288763"},
};

std::vector<std::string> Texts(const std::vector<testing::Decoded>& decoded) {
  std::vector<std::string> texts;
  for (const testing::Decoded& d : decoded) texts.push_back(d.text);
  return texts;
}

// ZXing reads a symbol from each scan line it tries: lines that miss an add-on give the main number
// alone. Every reading must be the full one or that number, and the full one must be among them.
void ExpectZxingReads(const testing::Bitmap& picture, const std::string& full, const std::string& where) {
  const std::vector<std::string> readings = Texts(testing::DecodeWithZxing(picture));
  const std::string main = full.substr(0, full.find(' '));
  for (const std::string& reading : readings) {
    EXPECT_TRUE(reading == full || reading == main) << where << ": " << reading;
  }
  EXPECT_NE(std::find(readings.begin(), readings.end(), full), readings.end()) << where;
}

const SymbologyRow& RowNamed(std::string_view name) {
  return *std::find_if(std::begin(kSymbologies), std::end(kSymbologies),
                       [&](const SymbologyRow& row) { return row.name == name; });
}

// The quiet zone the table gives, in pixels; the library centres the symbol, so both sides get the
// larger of the two.
int ExpectedQuietZone(const SymbologyRow& row, bool addOn) {
  const tool::QuietZone& zone = tool::ConventionsOf(row.number).quietZone;
  const int modules = std::max(zone.modulesBefore, addOn ? zone.modulesAfterAddOn : zone.modulesAfter);
  return modules * kNarrow + static_cast<int>(std::ceil(zone.inchesAlong * kDpi));
}

// The library centres the symbol by the length VnMeasure gives, which for a few symbologies is not
// the bars' own extent, so the exact fit leaves one side a little more than its zone. Code 11 and
// Matrix 2 of 5 count the gap after their stop character: that gap adds to the space after the
// bars. PLANET and POSTNET stop two narrow widths short of their closing bar's end: the picture
// fitted to the clear zone after that bar leaves as much more, less the pixel centring rounds
// away, before the first bar.
struct Surplus {
  int before = 0;
  int after = 0;
};

Surplus CentringSurplus(const SymbologyRow& row) {
  if (row.number == kCode11 || row.number == kMatrix2of5) return {0, kNarrow};
  if (row.number == kPlanet || row.number == kPostnet) return {2 * kNarrow - 1, 0};
  return {};
}

// The bars stand at the top of an upright picture and the text below them, where UPC-E's digits
// and guard bars can cross more edges than its bars do.
testing::Bitmap TopHalf(testing::Bitmap bitmap) {
  bitmap.height /= 2;
  bitmap.gray.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
  bitmap.rgb.resize(bitmap.gray.size());
  return bitmap;
}

// The space before the first bar and after the last along the row that crosses every bar, in the
// top half of an upright picture, where the bars stand.
std::pair<int, int> MeasuredQuietZones(const testing::Bitmap& upright) {
  const int row = testing::RowCrossingEveryBar(TopHalf(upright));
  int first = 0;
  while (first < upright.width && !testing::IsDark(upright, first, row)) ++first;
  int last = upright.width - 1;
  while (last >= 0 && !testing::IsDark(upright, last, row)) --last;
  return {first, upright.width - 1 - last};
}

// Nothing dark on the ring of pixels `inset` in from the picture's edge: nothing reaches it.
bool RingIsLight(const testing::Bitmap& bitmap, int inset = 0) {
  const int right = bitmap.width - 1 - inset;
  const int bottom = bitmap.height - 1 - inset;
  for (int x = inset; x <= right; ++x) {
    if (testing::IsDark(bitmap, x, inset) || testing::IsDark(bitmap, x, bottom)) return false;
  }
  for (int y = inset; y <= bottom; ++y) {
    if (testing::IsDark(bitmap, inset, y) || testing::IsDark(bitmap, right, y)) return false;
  }
  return true;
}

TEST(CliFittedTest, EverySymbologyScansInEveryOrientationWithItsQuietZones) {
  const testing::TempDir dir;
  const char* const degrees[] = {"0", "90", "180", "270"};
  for (const Sample& sample : kSamples) {
    const SymbologyRow& row = RowNamed(sample.name);
    const bool addOn = std::find(sample.options.begin(), sample.options.end(), "--addon") != sample.options.end();
    for (int orientation = 0; orientation < 4; ++orientation) {
      std::vector<std::string> arguments = {"-s", sample.name, "--x-dim", std::to_string(kNarrow) + "px",
                                            "--orientation", degrees[orientation], "-o", dir.File("fitted.bmp")};
      arguments.insert(arguments.end(), sample.options.begin(), sample.options.end());
      arguments.push_back(sample.data);
      const std::string where = testing::Joined(arguments);
      const testing::ProgramResult run = Varnel(arguments);
      ASSERT_EQ(run.exitCode, 0) << where << "\n" << run.err;
      EXPECT_EQ(run.err, "") << where;
      const std::optional<testing::Bitmap> picture = testing::ReadBmp(dir.File("fitted.bmp"));
      ASSERT_TRUE(picture) << where;

      if (!row.bearerBox) {
        EXPECT_TRUE(RingIsLight(*picture)) << where << ": something reaches the picture's edge";
      }
      const auto [before, after] = MeasuredQuietZones(testing::Unrotate(*picture, orientation));
      const int quietZone = ExpectedQuietZone(row, addOn);
      const Surplus surplus = CentringSurplus(row);
      EXPECT_EQ(before, quietZone + surplus.before) << where << ": before the first bar";
      EXPECT_EQ(after, quietZone + surplus.after) << where << ": after the last bar";

      if (!sample.zbar.empty()) {
        EXPECT_EQ(Texts(testing::DecodeWithZbarSymbols(*picture)), sample.zbar) << where;
      }
      if (sample.zxing) ExpectZxingReads(*picture, sample.zxing, where);
    }
  }
}

// --quiet-zone sets the space before and after the bars in narrow widths, whatever the symbology's.
TEST(CliFittedTest, TheQuietZoneOptionSetsTheSpaceBesideTheBars) {
  const testing::TempDir dir;
  for (const char* symbology : {"code128", "ean13"}) {
    for (const int modules : {0, 4, 15}) {
      const std::vector<std::string> arguments = {"-s", symbology, "--no-text", "--x-dim",
                                                  std::to_string(kNarrow) + "px", "--quiet-zone",
                                                  std::to_string(modules), "-o", dir.File("zone.bmp"), "590123412345"};
      const testing::ProgramResult run = Varnel(arguments);
      ASSERT_EQ(run.exitCode, 0) << testing::Joined(arguments) << "\n" << run.err;
      const std::optional<testing::Bitmap> picture = testing::ReadBmp(dir.File("zone.bmp"));
      ASSERT_TRUE(picture);
      EXPECT_EQ(MeasuredQuietZones(*picture), std::make_pair(modules * kNarrow, modules * kNarrow))
          << testing::Joined(arguments);
    }
  }
}

// The part of a picture at (x, y), width by height.
testing::Bitmap Window(const testing::Bitmap& bitmap, int x, int y, int width, int height) {
  testing::Bitmap window{width, height, {}, {}};
  for (int row = y; row < y + height; ++row) {
    const auto from = static_cast<std::ptrdiff_t>(row) * bitmap.width + x;
    window.gray.insert(window.gray.end(), bitmap.gray.begin() + from, bitmap.gray.begin() + from + width);
    window.rgb.insert(window.rgb.end(), bitmap.rgb.begin() + from, bitmap.rgb.begin() + from + width);
  }
  return window;
}

testing::Bitmap Drawn(const std::vector<std::string>& arguments, const std::string& path) {
  std::vector<std::string> all = {"-o", path};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const testing::ProgramResult run = Varnel(all);
  EXPECT_EQ(run.exitCode, 0) << testing::Joined(all) << "\n" << run.err;
  return testing::ReadBmp(path).value_or(testing::Bitmap{});
}

// The fitted picture, which holds all the library draws: drawn larger by a margin on each side, the
// library's centring puts that margin around it, and nothing lies in the margin.
testing::Bitmap FittedHoldingAllItDraws(const std::vector<std::string>& arguments, const testing::TempDir& dir) {
  constexpr int kMargin = 8;
  const std::string where = testing::Joined(arguments);
  const testing::Bitmap fitted = Drawn(arguments, dir.File("fitted.bmp"));
  const std::string larger =
      std::to_string(fitted.width + 2 * kMargin) + "x" + std::to_string(fitted.height + 2 * kMargin);
  const testing::Bitmap roomy = Drawn(testing::With(arguments, {"--size", larger}), dir.File("larger.bmp"));
  EXPECT_EQ(roomy.width, fitted.width + 2 * kMargin) << where;
  if (roomy.width != fitted.width + 2 * kMargin) return fitted;
  bool marginLight = true;
  for (int ring = 0; ring < kMargin; ++ring) marginLight = marginLight && RingIsLight(roomy, ring);
  EXPECT_TRUE(marginLight) << where << ": the fitted picture cuts something off";
  EXPECT_EQ(Window(roomy, kMargin, kMargin, fitted.width, fitted.height).gray, fitted.gray) << where;
  return fitted;
}

// Text and bars that reach past the band VnMeasure gives, at sizes where they reach past the quiet
// zones too, are not cut off: EAN's first digit and UPC's last beside the bars, the ISBN caption
// above them, guard bars below them with the text off, an add-on's digits over bars shorter than
// they are, text under bars with a large font: the fitted picture holds all of it.
TEST(CliFittedTest, NothingIsCutOffWhereTextOutgrowsTheQuietZones) {
  const std::vector<std::string> cases[] = {
      {"-s", "ean13", "--x-dim", "1px", "--font-height", "40", "590123412345"},
      {"-s", "upc-a", "--x-dim", "1px", "--font-height", "40", "03600029145"},
      {"-s", "upc-e", "--x-dim", "1px", "--font-height", "40", "04210000526"},
      // UPC's last digit stands 3 pixels further out than its first: with a small font, that is
      // what sets the space after the bars.
      {"-s", "upc-a", "--x-dim", "1px", "--font-height", "11", "03600029145"},
      {"-s", "upc-e", "--x-dim", "1px", "--font-height", "11", "04210000526"},
      {"-s", "isbn", "--x-dim", "1px", "--font-height", "40", "0306406152"},
      {"-s", "ean8", "--no-text", "--font-height", "60", "9638507"},
      {"-s", "ean13", "--addon", "12", "--bar-height", "2px", "--font-height", "60", "590123412345"},
      {"--font-height", "60", "--bar-height", "5px", "Tall text"},
      {"-s", "postnet", "--font-height", "40", "555551237"},
  };
  const testing::TempDir dir;
  for (const std::vector<std::string>& arguments : cases) {
    for (const char* degrees : {"0", "90", "180", "270"}) {
      const std::vector<std::string> turned = testing::With(arguments, {"--orientation", degrees});
      FittedHoldingAllItDraws(turned, dir);
    }
  }
}

// A frame is drawn on the picture's edge; the fitted picture grows by its width, so that it covers
// none of what the picture would hold without it (a dashed frame's top dashes lie a row in).
TEST(CliFittedTest, AFrameGoesAroundTheFittedPicture) {
  const testing::TempDir dir;
  const std::vector<std::string> arguments = {"-s", "ean13", "--x-dim", "1px", "--font-height", "40", "590123412345"};
  for (const auto& [style, inset] : {std::pair<const char*, int>{"solid", 1}, {"dashed", 2}}) {
    for (const char* degrees : {"0", "90", "180", "270"}) {
      const std::vector<std::string> turned = testing::With(arguments, {"--orientation", degrees});
      const testing::Bitmap plain = Drawn(turned, dir.File("plain.bmp"));
      const testing::Bitmap framed = Drawn(testing::With(turned, {"--frame", style}), dir.File("framed.bmp"));
      const std::string where = testing::Joined(turned) + " --frame " + style;
      ASSERT_EQ(framed.width, plain.width + 2 * inset) << where;
      ASSERT_EQ(framed.height, plain.height + 2 * inset) << where;
      EXPECT_EQ(Window(framed, inset, inset, plain.width, plain.height).gray, plain.gray) << where;
    }
  }
}

// At print sizes, every symbology turned every way, with text (which keeps two rings from the edge)
// and without: the fitted picture holds all the library draws, and grows by a frame that covers none.
TEST(CliFittedTest, TheFittedPictureHoldsAllTheDrawingInsideItsFrame) {
  const testing::TempDir dir;
  for (const Sample& sample : kSamples) {
    const SymbologyRow& row = RowNamed(sample.name);
    for (const bool text : {true, false}) {
      for (int orientation = 0; orientation < 4; ++orientation) {
        std::vector<std::string> arguments = {"-s", sample.name, "--dpi", "300", "--x-dim", "0.33mm",
                                              "--orientation", std::to_string(90 * orientation)};
        if (!text) arguments.push_back("--no-text");
        arguments.insert(arguments.end(), sample.options.begin(), sample.options.end());
        arguments.push_back(sample.data);
        const std::string where = testing::Joined(arguments);
        const testing::Bitmap fitted = FittedHoldingAllItDraws(arguments, dir);
        EXPECT_TRUE(row.bearerBox || !text || (RingIsLight(fitted, 0) && RingIsLight(fitted, 1))) << where;
        for (const auto& [style, inset] : {std::pair<const char*, int>{"solid", 1}, {"dashed", 2}}) {
          const testing::Bitmap framed = Drawn(testing::With(arguments, {"--frame", style}), dir.File("framed.bmp"));
          const int grows = row.bearerBox ? 0 : inset;  // the box of bearer bars replaces the frame
          ASSERT_EQ(framed.width, fitted.width + 2 * grows) << where << " --frame " << style;
          EXPECT_EQ(Window(framed, grows, grows, fitted.width, fitted.height).gray, fitted.gray) << where << style;
        }
      }
    }
  }
}

// The dark pixels after the main symbol in the font height of rows from the bars' top: an add-on's digits.
int AddOnTextInk(const testing::Bitmap& picture, int fontHeight) {
  int top = 0, mainEnd = picture.width - 1, ink = 0;
  while (top < picture.height && testing::NextDarkX(picture, top, 0) < 0) ++top;
  while (mainEnd > 0 && !testing::IsDark(picture, mainEnd, top)) --mainEnd;
  for (int y = top; y < std::min(top + fontHeight, picture.height); ++y) {
    for (int x = mainEnd + 1; x < picture.width; ++x) ink += testing::IsDark(picture, x, y) ? 1 : 0;
  }
  return ink;
}

// Over 1-pixel bars an add-on's 24-pixel digits have all the ink they have over 4-pixel bars.
TEST(CliFittedTest, AnAddOnsDigitsAreDrawnInFullOverNarrowBars) {
  const testing::TempDir dir;
  for (const char* addOn : {"52495", "12"}) {
    const std::vector<std::string> arguments = {"-s", "ean13", "--addon", addOn, "5901234123457", "--x-dim"};
    const int full = AddOnTextInk(Drawn(testing::With(arguments, {"4px"}), dir.File("wide.bmp")), 24);
    EXPECT_GT(full, 0) << addOn;
    EXPECT_EQ(AddOnTextInk(Drawn(testing::With(arguments, {"1px"}), dir.File("narrow.bmp")), 24), full) << addOn;
  }
}

}  // namespace
}  // namespace varnel
