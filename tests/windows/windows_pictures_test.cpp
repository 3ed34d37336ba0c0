// The Windows DLL's pictures set beside this library's: the Windows test host (host.c) writes the
// bar pictures of every symbology in the four orientations with Varnel32.dll under Wine, as BMP
// files and as the enhanced metafiles it put on the clipboard, and lists their settings in a
// manifest; here each is drawn again with the same settings and resolution, and the pictures must
// agree pixel for pixel. Text is off in those pictures: the two platforms draw glyphs with
// different font engines, but every bar, space and frame line is the engine's own. Its PNG and SVG
// files of them are this library's byte for byte; with their text, they read as this library's do.
//
// Run by scripts/test-windows.sh, which points VARNEL_WINDOWS_PICTURES at the host's folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/settings.h"
#include "support/bmp_reader.h"
#include "support/decoders.h"
#include "support/file_outputs.h"
#include "support/metafile_readers.h"
#include "support/png_reader.h"
#include "support/render_harness.h"
#include "support/svg_renderers.h"
#include "varnel32.h"

namespace varnel::testing {
namespace {

std::vector<std::string> SplitFields(const std::string& line, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  // The last field is the data, which may hold the separator itself.
  while (fields.size() + 1 < count) {
    const std::size_t bar = line.find('|', start);
    if (bar == std::string::npos) break;
    fields.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// One picture of the manifest, in host.c's field order.
struct PictureSettings {
  std::string file;
  int symbology, orientation;
  double narrowCm, ratio;
  int frame, addCheckDigit, supplementKind;
  std::string supplement;
  int codabarStart, codabarStop, upceSystem, width, height;
  std::string data;
};

constexpr std::size_t kPictureFields = 15;

PictureSettings ParsePicture(const std::vector<std::string>& f) {
  return PictureSettings{f[0],
                         std::stoi(f[1]),
                         std::stoi(f[2]),
                         std::stod(f[3]),
                         std::stod(f[4]),
                         std::stoi(f[5]),
                         std::stoi(f[6]),
                         std::stoi(f[7]),
                         f[8],
                         std::stoi(f[9]),
                         std::stoi(f[10]),
                         std::stoi(f[11]),
                         std::stoi(f[12]),
                         std::stoi(f[13]),
                         f[14]};
}

// The host's calls, in its order.
void ApplySettings(const PictureSettings& p, int dpiX, int dpiY, bool showText = false) {
  VnSetDefault();
  VnSetScreenResolution(dpiX, dpiY);
  VnSetSize(p.width, p.height);
  VnSetMessage(p.data.c_str());
  VnTextInfo(showText ? 1 : 0, p.addCheckDigit, 0);
  VnCodaBarInfo(p.codabarStart, p.codabarStop);
  VnUPCESystem(p.upceSystem);
  VnSupplementInfo(p.supplementKind, p.supplement.c_str(), 0.5);
  VnBasicInfo(p.symbology, p.narrowCm, p.ratio, p.orientation, p.frame);
  VnSetSymbology(p.symbology);
}

// The first cell where the two differ in darkness, and how many do.
std::pair<int, std::string> CompareDarkness(const Bitmap& a, const Bitmap& b) {
  int differing = 0;
  std::string first;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (IsDark(a, x, y) == IsDark(b, x, y)) continue;
      if (differing++ == 0) first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  return {differing, first};
}

struct Manifest {
  int dpiX = 0;
  int dpiY = 0;
  std::vector<PictureSettings> pictures;
};

// Fails the test (fatally) when the folder or its manifest is missing or malformed.
void ReadManifest(std::string& folder, Manifest& manifest) {
  const char* named = std::getenv("VARNEL_WINDOWS_PICTURES");
  ASSERT_NE(named, nullptr) << "VARNEL_WINDOWS_PICTURES names the Windows host's folder (scripts/test-windows.sh)";
  folder = named;
  std::ifstream in(folder + "/manifest.txt");
  ASSERT_TRUE(in) << "no manifest in " << folder;
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  const std::vector<std::string> resolution = SplitFields(line, 3);
  ASSERT_EQ(resolution.size(), 3u);
  ASSERT_EQ(resolution[0], "resolution");
  manifest.dpiX = std::stoi(resolution[1]);
  manifest.dpiY = std::stoi(resolution[2]);
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = SplitFields(line, kPictureFields);
    ASSERT_EQ(fields.size(), kPictureFields) << line;
    manifest.pictures.push_back(ParsePicture(fields));
  }
}

// This library's BMP of the picture's settings.
std::optional<Bitmap> RenderHere(const PictureSettings& picture, const Manifest& manifest, const TempDir& scratch) {
  ApplySettings(picture, manifest.dpiX, manifest.dpiY);
  const std::string path = scratch.File("linux.bmp");
  if (VnSaveAsBMP(path.c_str()) != 1) return std::nullopt;
  return ReadBmp(path);
}

std::string WithExtension(const std::string& file, const std::string& extension) {
  return file.substr(0, file.rfind('.')) + extension;
}

// What zbar reads in a picture turned upright (ZXing 1.4 trips on an assertion of its own here).
std::vector<std::string> Readings(const std::optional<Bitmap>& picture, int orientation) {
  if (!picture) return {"(no picture)"};
  return DecodeWithZbar(Unrotate(*picture, orientation));
}

std::optional<Bitmap> PngPixels(const std::string& path) {
  auto png = ReadPng(path);
  return png ? std::optional<Bitmap>(std::move(png->pixels)) : std::nullopt;
}

// Each test reads the host's folder and its manifest.
class WindowsDll : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(ReadManifest(folder, manifest)); }

  std::string folder;
  Manifest manifest;
  const TempDir scratch;
};

TEST_F(WindowsDll, DrawsTheSameBarsAsLinuxForEverySymbologyInFourOrientations) {
  std::set<std::pair<int, int>> covered;  // symbology, orientation
  for (const PictureSettings& picture : manifest.pictures) {
    SCOPED_TRACE(picture.file + " " + picture.data);
    const auto here = RenderHere(picture, manifest, scratch);
    const auto fromDll = ReadBmp(folder + "/" + picture.file);
    ASSERT_TRUE(here.has_value());
    ASSERT_TRUE(fromDll.has_value()) << "the Windows BMP does not read back";
    ASSERT_EQ(fromDll->width, here->width);
    ASSERT_EQ(fromDll->height, here->height);
    const auto [differing, first] = CompareDarkness(*fromDll, *here);
    EXPECT_EQ(differing, 0) << first;
    for (const auto& [extension, format] : {std::pair{".png", VN_FORMAT_PNG}, std::pair{".svg", VN_FORMAT_SVG}}) {
      EXPECT_TRUE(ReadFileBytes(folder + "/" + WithExtension(picture.file, extension)) == PictureInMemory(format))
          << "the " << extension << " differs";
    }
    covered.insert({picture.symbology, picture.orientation});
  }
  EXPECT_EQ(covered.size(), std::size_t{kSymbologyCount} * 4u) << "every symbology in every orientation";
}

// The clipboard's metafile, recorded by GDI, drawn by an independent reader (emf2svg): its fills
// cover the cells of this library's bars. Framed pictures are left out: the frame is lines, which
// the reader draws as strokes rather than cells.
TEST_F(WindowsDll, ClipboardMetafileDrawsTheSameBarsAsLinux) {
  int compared = 0;
  for (const PictureSettings& picture : manifest.pictures) {
    if (picture.frame != 0) continue;
    SCOPED_TRACE(picture.file + " " + picture.data);
    const auto here = RenderHere(picture, manifest, scratch);
    ASSERT_TRUE(here.has_value());
    const ReaderRun run = ReadWithEmf2svg(folder + "/" + WithExtension(picture.file, ".emf"));
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    std::string why;
    const auto drawn = ParseReaderSvg(run.svg, picture.width, picture.height, &why);
    ASSERT_TRUE(drawn.has_value()) << why;
    const auto painted = PaintFills(*drawn, picture.width, picture.height);
    ASSERT_TRUE(painted.has_value()) << "the reader drew between cells";
    EXPECT_EQ(CountDarknessDifferences(*painted, *here, {}), 0);
    ++compared;
  }
  EXPECT_GE(compared, kSymbologyCount * 4);
}

// With text, the DLL's PNG and SVG (drawn by librsvg) read as this library's PNG does; the PNG's
// glyphs, GDI's outlines one bit deep, put most of their ink where GDI's own in the BMP is.
TEST_F(WindowsDll, PngAndSvgWithTextReadAsLinuxOnes) {
  int read = 0;
  for (const PictureSettings& picture : manifest.pictures) {
    SCOPED_TRACE(picture.file + " " + picture.data);
    ApplySettings(picture, manifest.dpiX, manifest.dpiY, true);
    const std::string here = scratch.File("linux.png");
    ASSERT_EQ(VnSaveAsPNG(here.c_str()), 1);
    const std::vector<std::string> expected = Readings(PngPixels(here), picture.orientation);
    const std::string stem = folder + "/text" + WithExtension(picture.file, "").substr(4);
    const auto png = PngPixels(stem + ".png"), gdiText = ReadBmp(stem + ".bmp");
    const auto bars = ReadBmp(folder + "/" + picture.file);
    ASSERT_TRUE(png && gdiText && bars);
    EXPECT_EQ(Readings(png, picture.orientation), expected) << "the PNG";
    const int textInk = CompareDarkness(*gdiText, *bars).first, apart = CompareDarkness(*png, *gdiText).first;
    EXPECT_LT(apart * 3, textInk * 2) << "the PNG's text is not where GDI draws it";
    const SvgRendering svg = RenderWithRsvg(stem + ".svg", manifest.dpiX, manifest.dpiY);
    EXPECT_EQ(Readings(svg.picture, picture.orientation), expected) << "the SVG " << svg.errors;
    read += expected.empty() ? 0 : 1;
  }
  EXPECT_GE(read, kSymbologyCount * 3) << "most pictures are read";
}

}  // namespace
}  // namespace varnel::testing
