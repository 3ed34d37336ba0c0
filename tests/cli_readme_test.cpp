// The README's commands, run as written: the shell blocks of its section on the tool, and the
// sample script its first command runs. Every picture they write is read back from the file as it
// is, with no margin added, by zbar and ZXing where they know the symbology, so that a picture
// cropped or drawn with other data than its command says fails here.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/bmp_reader.h"
#include "support/decoders.h"
#include "support/metafile_readers.h"
#include "support/png_reader.h"
#include "support/render_harness.h"
#include "support/svg_renderers.h"
#include "support/tool_runs.h"
#include "symbologies/catalogue.h"

namespace varnel {
namespace {

const std::filesystem::path kProjectRoot = std::filesystem::path(__FILE__).parent_path().parent_path();

// What the readers report for a picture; no zbar readings and no ZXing reading for a symbology
// neither knows.
struct Readings {
  std::vector<std::string> zbar;  // each symbol, the main one before its add-on
  std::string zxing;              // the add-on's digits after the main number and a space
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The shell blocks of the README's section on the tool, in order.
std::string ToolSectionCommands() {
  const std::string readme = ReadText(kProjectRoot / "README.md");
  const std::size_t start = readme.find("## The `varnel` tool");
  const std::string section = readme.substr(start, readme.find("\n## ", start + 1) - start);
  std::string commands;
  const std::regex block("```sh\n([^`]*)```");
  for (std::sregex_iterator found(section.begin(), section.end(), block), end; found != end; ++found) {
    commands += (*found)[1].str();
  }
  return commands;
}

int LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  int value = 0;
  for (int i = size - 1; i >= 0; --i) value = value * 256 + bytes[at + static_cast<std::size_t>(i)];
  return value;
}

// A metafile's picture, its fills painted as a reader draws them, at the size its header gives: the
// placeable header's box, or the enhanced header's inclusive bounds.
std::optional<testing::Bitmap> PaintedMetafile(const std::string& path, bool enhanced) {
  const std::vector<std::uint8_t> bytes = testing::ReadFileBytes(path);
  if (bytes.size() < 24) return std::nullopt;
  const int width = enhanced ? LittleEndian(bytes, 16, 4) + 1 : LittleEndian(bytes, 10, 2) - LittleEndian(bytes, 6, 2);
  const int height = enhanced ? LittleEndian(bytes, 20, 4) + 1 : LittleEndian(bytes, 12, 2) - LittleEndian(bytes, 8, 2);
  const testing::ReaderRun run = enhanced ? testing::ReadWithEmf2svg(path) : testing::ReadWithWmf2svg(path);
  std::string why;
  const std::optional<testing::ReaderPicture> drawn = testing::ParseReaderSvg(run.svg, width, height, &why);
  if (!drawn) return std::nullopt;
  return testing::PaintFills(*drawn, width, height);
}

// The picture in a file of any format the tool writes, as its own reader or renderer sees it.
std::optional<testing::Bitmap> Picture(const std::filesystem::path& file) {
  const std::string path = file.string();
  const std::string extension = file.extension().string();
  if (extension == ".bmp") return testing::ReadBmp(path);
  if (extension == ".png") {
    std::optional<testing::PngFile> png = testing::ReadPng(path);
    if (!png) return std::nullopt;
    return std::move(png->pixels);
  }
  if (extension == ".svg") return testing::RenderWithRsvg(path).picture;
  if (extension == ".wmf" || extension == ".emf") return PaintedMetafile(path, extension == ".emf");
  return std::nullopt;
}

void ExpectReadings(const std::filesystem::path& file, const Readings& expected) {
  const std::optional<testing::Bitmap> picture = Picture(file);
  ASSERT_TRUE(picture) << file;
  std::vector<std::string> zbar;
  for (const testing::Decoded& decoded : testing::DecodeWithZbarSymbols(*picture)) zbar.push_back(decoded.text);
  EXPECT_EQ(zbar, expected.zbar) << file;
  // ZXing reads each scan line: lines that miss an add-on give the main number alone.
  std::set<std::string> zxing;
  for (const testing::Decoded& decoded : testing::DecodeWithZxing(*picture)) zxing.insert(decoded.text);
  if (expected.zxing.empty()) {
    EXPECT_TRUE(zxing.empty()) << file;
    return;
  }
  if (const std::size_t space = expected.zxing.find(' '); space != std::string::npos) {
    zxing.erase(expected.zxing.substr(0, space));
  }
  EXPECT_EQ(zxing, std::set<std::string>{expected.zxing}) << file;
}

// Every file under the folder, by its path inside it.
std::set<std::string> FilesUnder(const std::filesystem::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.insert(std::filesystem::relative(entry.path(), folder).string());
  }
  return files;
}

// Each picture the README's commands write, with what it holds; a command added to the README
// needs its pictures here. The Code 39 check character of VARNEL-32 is a space.
const std::map<std::string, Readings> kReadmePictures = {
    {"book.png", {{"5901234123457", "52495"}, "5901234123457 52495"}},
    // At 300 dpi: ZXing reads the add-on only as far from the symbol as readers look for it.
    {"book300.png", {{"5901234123457", "52495"}, "5901234123457 52495"}},
    {"isbn.svg", {{"9780306406157"}, "9780306406157"}},
    {"part.svg", {{"VARNEL-32 "}, "VARNEL-32 "}},
    {"slip.bmp", {{"C40156D"}, "40156"}},
    {"can.emf", {{"04252614"}, "04252614"}},
    {"mail.wmf", {{}, ""}},  // POSTNET: neither reader knows it
    {"turned.png", {{"Turned 90"}, "Turned 90"}},
    {"print.png", {{"036000291452"}, "036000291452"}},
    {"shelf.png", {{"SHELF 93"}, "SHELF 93"}},
    {"pallet.svg", {{"PALLET 42"}, "PALLET 42"}},
    {"shelf/ean.png", {{"5901234123457", "12"}, "5901234123457 12"}},
    {"shelf/lot.svg", {{"Lot 7, box 3"}, "Lot 7, box 3"}},
    {"labels/part-001.png", {{"PART-1"}, "PART-1"}},
    {"labels/part-002.png", {{"PART-2"}, "PART-2"}},
    {"labels/part-003.png", {{"PART-3"}, "PART-3"}},
    {"shelf/code39.bmp", {{"HELLO-39"}, "HELLO-39"}},
    // GS1-128 reads as its element strings without brackets, a field separator after variable ones.
    {"pallet.png", {{"00376104250021234569"}, "00376104250021234569"}},
    {"case.png", {{"01095011015300031726010110ABC123"}, "01095011015300031726010110ABC123"}},
    {"carton.png", {{"15400141288763"}, "15400141288763"}},
};

TEST(CliReadmeTest, EveryToolCommandRunsAndItsPicturesReadBack) {
  const testing::TempDir dir;
  const std::string tools = std::filesystem::path(VARNEL_TOOL).parent_path().string();
  std::ofstream(dir.File("readme.sh")) << "set -euo pipefail\nexport PATH='" << tools << "':\"$PATH\"\ncd '"
                                       << dir.File("run") << "'\n" << ToolSectionCommands();
  std::filesystem::create_directory(dir.File("run"));
  const testing::ProgramResult run = testing::RunProgram("/bin/bash", {dir.File("readme.sh")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("20  upc-e"), std::string::npos) << "varnel --list\n" << run.out;

  std::set<std::string> expected;
  for (const auto& [file, readings] : kReadmePictures) expected.insert(file);
  ASSERT_EQ(FilesUnder(dir.File("run")), expected);
  for (const auto& [file, readings] : kReadmePictures) ExpectReadings(dir.File("run/" + file), readings);
}

// The gallery's samples, as the catalogue's sample data and options draw them; the symbologies
// neither reader knows are left out.
const std::map<std::string, Readings> kGalleryReadings = {
    {"codabar", {{"A31117013206375B"}, "31117013206375"}},
    {"code128", {{"Varnel-128"}, "Varnel-128"}},
    {"code39", {{"VARNEL-32 "}, "VARNEL-32 "}},
    // Read as plain Code 39, as both readers do unless told otherwise: lower case as +A..+Z, '+' as /K.
    {"code39-ascii", {{"A+S+C+I+I/K39"}, "A+S+C+I+I/K39"}},
    {"code93", {{"VARNEL 93"}, "VARNEL 93"}},
    {"ean128", {{"0195012345678903"}, "0195012345678903"}},
    {"ean13", {{"5901234123457", "52495"}, "5901234123457 52495"}},
    {"ean8", {{"96385074"}, "96385074"}},
    {"itf", {{"1234567890"}, "1234567890"}},
    {"isbn", {{"9780306406157"}, "9780306406157"}},
    {"jan13", {{"4901234567894"}, "4901234567894"}},
    {"jan8", {{"49123456"}, "49123456"}},
    {"sscc18", {{"00376104250021234569"}, "00376104250021234569"}},
    {"ean128-ai01", {{"0109501101530003"}, "0109501101530003"}},
    {"upc-a", {{"036000291452", "53"}, "036000291452 53"}},
    {"upc-e", {{"04252614"}, "04252614"}},
    {"gs1-128", {{"01095011015300031726010110ABC123"}, "01095011015300031726010110ABC123"}},
    {"itf-14", {{"15400141288763"}, "15400141288763"}},
};

// The README's first command draws the gallery with scripts/render-samples.sh: every symbology in
// every format, with no word on standard error, and each decodable PNG read back.
TEST(CliReadmeTest, TheSampleScriptDrawsEverySymbologyThatReadsBack) {
  const testing::TempDir dir;
  const testing::ProgramResult run = testing::RunProgram(
      "/usr/bin/env", {"VARNEL_TOOL=" VARNEL_TOOL, "VARNEL_SAMPLES_DIR=" + dir.File("samples"), "bash",
                       (kProjectRoot / "scripts" / "render-samples.sh").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::set<std::string> files = FilesUnder(dir.File("samples"));
  EXPECT_EQ(files.size(), std::size(kSymbologies) * 5 + 1) << "five formats of each symbology, and the index";
  EXPECT_TRUE(files.count("index.html"));
  for (const auto& [name, readings] : kGalleryReadings) ExpectReadings(dir.File("samples/" + name + ".png"), readings);
}

}  // namespace
}  // namespace varnel
