// The varnel tool as its users run it: a separate process over the shared library, judged by its
// exit status, what it prints and the pictures it leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/decoders.h"
#include "support/program_runner.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"
#include "support/tool_runs.h"
#include "symbologies/catalogue.h"
#include "varnel32.h"

namespace varnel {
namespace {

using testing::Joined;
using testing::TempDir;
using testing::Varnel;
using testing::With;

testing::Bitmap ReadPicture(const std::string& path) {
  std::optional<testing::Bitmap> bitmap = testing::ReadBmp(path);
  EXPECT_TRUE(bitmap.has_value()) << path;
  return bitmap.value_or(testing::Bitmap{});
}

std::vector<std::string> ZbarReads(const testing::Bitmap& bitmap) {
  return testing::DecodeWithZbar(testing::WithQuietZone(bitmap, 20));
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Each option must come out exactly as the setter call a host would make for it: the tool's BMP
// and the library's own, drawn in this process from Code 39 and "1234" plus the setters at the
// picture size the tool chose, are the same file.
TEST(CliTest, OptionsDrawWhatTheirSettersDraw) {
  struct Case {
    std::vector<std::string> arguments;
    void (*setters)();
  };
  const Case cases[] = {
      {{"-s", "code39", "--size", "420x150", "1234"}, [] {}},
      {{"-s", "code39", "--narrow", "0.05", "--ratio", "3", "1234"}, [] { VnBasicInfo(3, 0.05, 3.0, 0, 0); }},
      {{"-s", "code39", "--orientation", "90", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 1, 0); }},
      {{"-s", "code39", "--orientation", "180", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 2, 0); }},
      {{"-s", "code39", "--orientation", "270", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 3, 0); }},
      {{"-s", "code39", "--frame", "dashed", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 0, 1); }},
      {{"-s", "code39", "--frame", "solid", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 0, 2); }},
      {{"-s", "code39", "--font", "Liberation Serif", "--font-height", "30", "1234"},
       [] { VnFontInfo("Liberation Serif", 30); }},
      {{"-s", "code39", "--no-text", "1234"}, [] { VnTextInfo(0, 0, 0); }},
      {{"-s", "code39", "--check", "1234"}, [] { VnTextInfo(1, 1, 0); }},
      {{"-s", "code39", "--check", "--check-in-text", "1234"}, [] { VnTextInfo(1, 1, 1); }},
      // The check characters that scanners expect are drawn unless --no-check.
      {{"-s", "code93", "1234"}, [] { VnBasicInfo(5, 0.07, 2.0, 0, 0); VnTextInfo(1, 1, 0); }},
      {{"-s", "code93", "--no-check", "1234"}, [] { VnBasicInfo(5, 0.07, 2.0, 0, 0); }},
      {{"-s", "sscc18", "001234567890123452"},
       [] { VnBasicInfo(17, 0.07, 2.0, 0, 0); VnSetMessage("001234567890123452"); VnTextInfo(1, 1, 0); }},
      {{"-s", "ean128-ai01", "--no-check", "10614141000415"},
       [] { VnBasicInfo(18, 0.07, 2.0, 0, 0); VnSetMessage("10614141000415"); }},
      {{"-s", "code39", "--no-check", "--check", "1234"}, [] { VnTextInfo(1, 1, 0); }},
      {{"-s", "codabar", "--start", "c", "--stop", "D", "1234"}, [] { VnBasicInfo(0, 0.07, 2.0, 0, 0); VnCodaBarInfo(2, 3); }},
      {{"-s", "code39", "--bar-color", "#102030", "--background-color", "#f0e0d0", "1234"},
       [] { VnSetBarColor(0x10, 0x20, 0x30); VnSetBackColor(0xF0, 0xE0, 0xD0); }},
      {{"-s", "code39", "--dpi", "150x120", "1234"}, [] { VnSetScreenResolution(150, 120); }},
      {{"-s", "code39", "--dpi", "72", "1234"}, [] { VnSetScreenResolution(72, 72); }},
      {{"-s", "ean13", "--addon", "12", "--addon-gap", "0.8", "590123412345"},
       [] { VnBasicInfo(7, 0.07, 2.0, 0, 0); VnSetMessage("590123412345"); VnSupplementInfo(1, "12", 0.8); }},
      {{"-s", "upc-a", "--addon", "52495", "03600029145"},
       [] { VnBasicInfo(19, 0.07, 2.0, 0, 0); VnSetMessage("03600029145"); VnSupplementInfo(2, "52495", 0.5); }},
      {{"-s", "upc-e", "--upce-system", "1", "14210000526"},
       [] { VnBasicInfo(20, 0.07, 2.0, 0, 0); VnSetMessage("14210000526"); VnUPCESystem(1); }},
      // A UPC-A number names its number system; the option is needed only to refuse another one.
      {{"-s", "upc-e", "14210000526"},
       [] { VnBasicInfo(20, 0.07, 2.0, 0, 0); VnSetMessage("14210000526"); VnUPCESystem(1); }},
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    const testing::ProgramResult run = Varnel(With(test.arguments, {"-o", dir.File("tool.bmp")}));
    ASSERT_EQ(run.exitCode, 0) << where << "\n" << run.err;
    const testing::Bitmap tool = ReadPicture(dir.File("tool.bmp"));

    testing::ResetLibrary();
    VnBasicInfo(3, 0.07, 2.0, 0, 0);
    VnSetMessage("1234");
    test.setters();
    VnSetSize(tool.width, tool.height);
    ASSERT_TRUE(VnSaveAsBMP(dir.File("library.bmp").c_str())) << where;
    EXPECT_EQ(testing::ReadFileBytes(dir.File("tool.bmp")), testing::ReadFileBytes(dir.File("library.bmp"))) << where;
  }
  testing::ResetLibrary();
}

// What the tool reads as the same barcode draws the same bytes, whichever way it was given: lengths
// in any unit that comes to the same whole pixels, retail numbers with or without their check
// digit, UTF-8 text and its Windows-1252 bytes with --raw, data from a file or standard input,
// a picture on standard output or in a file.
TEST(CliTest, EquivalentCommandLinesDrawTheSamePicture) {
  const TempDir dir;
  testing::WriteFileBytes(dir.File("crlf.txt"), std::vector<std::uint8_t>{'L', 'I', 'N', 'E', '\r', '\n'});
  testing::WriteFileBytes(dir.File("two-lines.txt"), std::vector<std::uint8_t>{'A', '\n', 'B', '\n'});
  testing::WriteFileBytes(dir.File("dash.txt"), std::vector<std::uint8_t>{'-'});
  struct Case {
    std::vector<std::string> given;
    std::vector<std::string> same;
    std::string input = "";  // standard input of the first
  };
  const Case cases[] = {
      // 12 points are a sixth of an inch: 16 pixels at 96 per inch.
      {{"--font-height", "12pt", "TEXT"}, {"--font-height", "16", "TEXT"}},
      {{"--font-height", "0.25in", "--dpi", "192", "TEXT"}, {"--font-height", "48", "--dpi", "192", "TEXT"}},
      {{"--font-height", "5mm", "--dpi", "254", "TEXT"}, {"--font-height", "50px", "--dpi", "254", "TEXT"}},
      {{"--x-dim", "0.5mm", "--dpi", "254", "X"}, {"--x-dim", "5px", "--dpi", "254", "X"}},
      {{"--x-dim", "0.02in", "--dpi", "300", "X"}, {"--x-dim", "6px", "--dpi", "300", "X"}},
      {{"--x-dim", "0.4mm", "--dpi", "96x254", "--orientation", "90", "X"},
       {"--x-dim", "4px", "--dpi", "96x254", "--orientation", "90", "X"}},
      {{"--bar-height", "1in", "--dpi", "100", "X"}, {"--bar-height", "100px", "--dpi", "100", "X"}},
      // Across a symbol turned 270 degrees lies the picture's width: the horizontal resolution.
      {{"--bar-height", "2cm", "--dpi", "254x100", "--orientation", "270", "X"},
       {"--bar-height", "200px", "--dpi", "254x100", "--orientation", "270", "X"}},
      {{"-s", "ean13", "5901234123457"}, {"-s", "ean13", "590123412345"}},
      {{"-s", "jan13", "4901234567894"}, {"-s", "jan13", "490123456789"}},
      {{"-s", "ean8", "96385074"}, {"-s", "ean8", "9638507"}},
      {{"-s", "jan8", "49123456"}, {"-s", "jan8", "4912345"}},
      {{"-s", "upc-a", "036000291452"}, {"-s", "upc-a", "03600029145"}},
      {{"-s", "isbn", "9780306406157"}, {"-s", "isbn", "0306406152"}},
      // UPC-E as printed under its bars: six digits, the number system first, the check digit last.
      {{"-s", "upc-e", "425261"}, {"-s", "upc-e", "04210000526"}},
      {{"-s", "upc-e", "0425261"}, {"-s", "upc-e", "04210000526"}},
      {{"-s", "upc-e", "04252614"}, {"-s", "upc-e", "04210000526"}},
      {{"-s", "upc-e", "14252611"}, {"-s", "upc-e", "--upce-system", "1", "14210000526"}},
      {{"-s", "upc-e", "--upce-system", "1", "425261"}, {"-s", "upc-e", "14210000526"}},
      {{"Gr\xC3\xB6\xC3\x9F" "e \xC2\xBD"}, {"--raw", "Gr\xF6\xDF" "e \xBD"}},
      // The five bytes Windows-1252 leaves unassigned are shown as their own C1 characters.
      {{"A\xC2\x81" "B"}, {"--raw", "A\x81" "B"}},
      {{"-s", "code39", "--data-file", dir.File("crlf.txt")}, {"-s", "code39", "LINE"}},
      {{"--data-file", dir.File("two-lines.txt")}, {"--raw", "A\nB"}},
      {{"-s", "code39", "--data", "-"}, {"-s", "code39", "LINE"}, "LINE\n"},
      // A lone "-" is data, not standard input.
      {{"-"}, {"--data-file", dir.File("dash.txt")}},
      {{"--", "-"}, {"--data-file", dir.File("dash.txt")}},
      {{"-f", "bmp", "-o", "-", "OUT"}, {"OUT"}},
      // Short options take their value attached; a bare bar height is pixels, as a font height is.
      {{"-o" + dir.File("given.bmp"), "-scode39", "-x4px", "OUT"}, {"-s", "code39", "-x", "4px", "OUT"}},
      {{"--bar-height", "37", "X"}, {"--bar-height", "37px", "X"}},
  };
  for (const Case& test : cases) {
    const std::string where = Joined(test.given) + " / " + Joined(test.same);
    const bool toStandardOutput = std::find(test.given.begin(), test.given.end(), "-o") != test.given.end();
    std::vector<std::string> given = test.given;
    if (!toStandardOutput) given.insert(given.begin(), {"-o", dir.File("given.bmp")});
    const testing::ProgramResult first = Varnel(given, test.input);
    ASSERT_EQ(first.exitCode, 0) << where << "\n" << first.err;
    std::vector<std::string> same = test.same;
    same.insert(same.begin(), {"-o", dir.File("same.bmp")});
    const testing::ProgramResult second = Varnel(same);
    ASSERT_EQ(second.exitCode, 0) << where << "\n" << second.err;
    const std::vector<std::uint8_t> firstBytes =
        toStandardOutput ? std::vector<std::uint8_t>(first.out.begin(), first.out.end())
                         : testing::ReadFileBytes(dir.File("given.bmp"));
    EXPECT_TRUE(firstBytes == testing::ReadFileBytes(dir.File("same.bmp"))) << where;
  }
}

// What a reader finds in the tool's pictures: the symbology, the data and the options that change
// what is encoded.
TEST(CliTest, PicturesReadBackAsTheirData) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {{"-s", "code39", "HELLO-39"}, {"HELLO-39"}},
      {{"-s", "3", "HELLO-39"}, {"HELLO-39"}},
      {{"--symbology=Code-128", "--data", "a,b \"c\""}, {"a,b \"c\""}},
      {{"-s", "code128", "--", "-dash-"}, {"-dash-"}},
      // C, O, D, E, 3, 9 are worth 12 + 24 + 13 + 14 + 3 + 9 = 75; 75 mod 43 = 32, which is 'W'.
      {{"-s", "code39", "--check", "CODE39"}, {"CODE39W"}},
      {{"-s", "codabar", "--start", "C", "--stop", "D", "12345"}, {"C12345D"}},
      {{"-s", "ean13", "--addon", "52495", "590123412345"}, {"5901234123457", "52495"}},
      {{"-s", "UPC-A", "--addon", "53", "03600029145"}, {"036000291452", "53"}},
      {{"-s", "itf", "--ratio", "3", "12345678"}, {"12345678"}},
      // The GS1 check digit is added to an SSCC's 17 digits and a GTIN-14's 13.
      {{"-s", "sscc18", "37610425002123456"}, {"00376104250021234569"}},
      {{"-s", "ean128-ai01", "0950110153000"}, {"0109501101530003"}},
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    // The output first, so that it stays an option after a "--".
    std::vector<std::string> arguments = {"-o", dir.File("picture.bmp")};
    arguments.insert(arguments.end(), test.arguments.begin(), test.arguments.end());
    const testing::ProgramResult run = Varnel(arguments);
    ASSERT_EQ(run.exitCode, 0) << where << "\n" << run.err;
    EXPECT_EQ(ZbarReads(ReadPicture(dir.File("picture.bmp"))), test.expected) << where;
  }
}

// A fitted picture turns with its symbol: at 90 degrees it is the upright one's height wide and
// its width high, and at 270 the one at 180 turned so; each reads back the same. (Turned over, the
// text lies on the side where centring rounds down, which can take a pixel more.)
TEST(CliTest, TurnedPicturesReadBackAndTurnTheirSize) {
  const TempDir dir;
  const char* const degrees[] = {"0", "90", "180", "270"};
  testing::Bitmap unturned[2];
  for (int orientation = 0; orientation < 4; ++orientation) {
    const testing::ProgramResult run =
        Varnel({"-s", "code128", "--orientation", degrees[orientation], "-o", dir.File("turned.bmp"), "Turned"});
    ASSERT_EQ(run.exitCode, 0) << degrees[orientation] << "\n" << run.err;
    const testing::Bitmap bitmap = ReadPicture(dir.File("turned.bmp"));
    const testing::Bitmap& before = unturned[orientation / 2];
    if (orientation % 2 == 0) {
      unturned[orientation / 2] = bitmap;
    } else {
      EXPECT_EQ(bitmap.width, before.height) << degrees[orientation];
      EXPECT_EQ(bitmap.height, before.width) << degrees[orientation];
    }
    EXPECT_EQ(ZbarReads(testing::Unrotate(bitmap, orientation)), std::vector<std::string>{"Turned"})
        << degrees[orientation];
  }
}

TEST(CliTest, ColoursReachThePixels) {
  const TempDir dir;
  const testing::ProgramResult run = Varnel({"-s", "code128", "--bar-color", "#1A2B3C", "--background-color",
                                             "#FAEBD7", "-o", dir.File("colours.bmp"), "Colours"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const testing::Bitmap bitmap = ReadPicture(dir.File("colours.bmp"));
  const std::set<std::uint32_t> colours(bitmap.rgb.begin(), bitmap.rgb.end());
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x1A2B3C, 0xFAEBD7}));
  EXPECT_EQ(ZbarReads(bitmap), std::vector<std::string>{"Colours"});
}

// The extension names the format, in either case, unless --format names another; each file starts
// as its format requires.
TEST(CliTest, OutputFormatFollowsTheExtensionOrTheFormatOption) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::uint8_t> start;
    std::size_t offset;
  };
  const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const Case cases[] = {
      {"picture.bmp", {}, {'B', 'M'}, 0},
      {"PICTURE.BMP", {}, {'B', 'M'}, 0},
      {"picture.png", {}, png, 0},
      {"picture.Png", {}, png, 0},
      {"picture.wmf", {}, {0xD7, 0xCD, 0xC6, 0x9A}, 0},  // the placeable metafile key
      {"picture.emf", {}, {' ', 'E', 'M', 'F'}, 40},     // the signature in the header record
      {"picture.svg", {}, {'<'}, 0},
      {"no-extension", {"--format", "png"}, png, 0},
      {"picture.bmp.old", {"-f", "WMF"}, {0xD7, 0xCD, 0xC6, 0x9A}, 0},
      {"really-png.svg", {"--format=png"}, png, 0},
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const testing::ProgramResult run =
        Varnel(With(test.options, {"-s", "code39", "-o", dir.File(test.name), "FORMAT"}));
    ASSERT_EQ(run.exitCode, 0) << test.name << "\n" << run.err;
    const std::vector<std::uint8_t> bytes = testing::ReadFileBytes(dir.File(test.name));
    ASSERT_GE(bytes.size(), test.offset + test.start.size()) << test.name;
    EXPECT_TRUE(std::equal(test.start.begin(), test.start.end(), bytes.begin() + test.offset)) << test.name;
  }
  EXPECT_TRUE(Contains(ReadText(dir.File("picture.svg")), "<svg"));
}

// Each format on standard output is the file that format writes.
TEST(CliTest, StandardOutputTakesTheFilesBytes) {
  const TempDir dir;
  for (const char* format : {"bmp", "wmf", "emf", "svg", "png"}) {
    const std::string file = dir.File(std::string("label.") + format);
    ASSERT_EQ(Varnel({"-s", "ean8", "-o", file, "9638507"}).exitCode, 0) << format;
    const testing::ProgramResult run = Varnel({"-s", "ean8", "-f", format, "-o", "-", "9638507"});
    ASSERT_EQ(run.exitCode, 0) << format << "\n" << run.err;
    EXPECT_EQ(run.err, "") << format;
    EXPECT_TRUE(std::vector<std::uint8_t>(run.out.begin(), run.out.end()) == testing::ReadFileBytes(file)) << format;
  }
  const testing::ProgramResult png = Varnel({"-s", "ean8", "-o", "-", "9638507"});  // PNG without --format
  EXPECT_TRUE(std::vector<std::uint8_t>(png.out.begin(), png.out.end()) == testing::ReadFileBytes(dir.File("label.png")));
}

// --transparent leaves the background unpainted where the format can: the PNG's palette gains a
// transparent entry; SVG takes it too, and the formats that cannot refuse it.
TEST(CliTest, TransparentBackgroundIsForPngAndSvg) {
  const TempDir dir;
  for (const bool transparent : {false, true}) {
    const std::vector<std::string> option = transparent ? std::vector<std::string>{"--transparent"}
                                                        : std::vector<std::string>{};
    ASSERT_EQ(Varnel(With(option, {"-o", dir.File("paper.png"), "PAPER"})).exitCode, 0);
    EXPECT_EQ(Contains(ReadText(dir.File("paper.png")), "tRNS"), transparent);
    EXPECT_EQ(Varnel(With(option, {"-o", dir.File("paper.svg"), "PAPER"})).exitCode, 0);
  }
  for (const char* format : {"bmp", "wmf", "emf"}) {
    const testing::ProgramResult run = Varnel({"--transparent", "-f", format, "-o", dir.File("opaque"), "PAPER"});
    EXPECT_EQ(run.exitCode, 1) << format;
    EXPECT_TRUE(Contains(run.err, "--transparent is for PNG and SVG")) << run.err;
    EXPECT_FALSE(Exists(dir.File("opaque"))) << format;
  }
}

// A binary picture would be noise on a terminal: refused unless --force. SVG is text, and goes.
TEST(CliTest, BinaryPicturesGoToATerminalOnlyWhenForced) {
  testing::ProgramResult run = testing::RunProgramOnTerminal(VARNEL_TOOL, {"-f", "png", "-o", "-", "TTY"});
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_TRUE(Contains(run.out, "terminal")) << run.out;
  EXPECT_FALSE(Contains(run.out, "PNG")) << run.out;

  run = testing::RunProgramOnTerminal(VARNEL_TOOL, {"-f", "png", "-o", "-", "--force", "TTY"});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_TRUE(Contains(run.out, "PNG")) << run.out;

  run = testing::RunProgramOnTerminal(VARNEL_TOOL, {"-f", "svg", "-o", "-", "TTY"});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_TRUE(Contains(run.out, "<svg")) << run.out;
}

TEST(CliTest, ExitCodeSaysWhatWentWrong) {
  const TempDir dir;
  const std::string picture = dir.File("picture.png");
  std::filesystem::create_directory(dir.File("folder.png"));
  std::ofstream(dir.File("a-file")) << "not a folder";
  ASSERT_EQ(::mkfifo(dir.File("pipe.png").c_str(), 0600), 0);
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::vector<std::string> messages;  // parts of standard error
  };
  const Case cases[] = {
      {{"-s", "ean13", "-o", picture, "590123412345"}, 0, {}},
      {{"-s", "ean13", "-o", picture, "59012341234"}, 2,
       {"12 digits are required.", "EAN-13 takes 12 digits, or 13 ending in their check digit"}},
      {{"-s", "ean13", "-o", picture, "5901234123458"}, 2, {"check digit should be 7"}},
      {{"-s", "upc-a", "-o", picture, "036000291453"}, 2, {"check digit should be 2"}},
      {{"-s", "ean8", "-o", picture, "96385073"}, 2, {"check digit should be 4"}},
      {{"-s", "upc-e", "-o", picture, "04252613"}, 2, {"check digit should be 4"}},
      {{"-s", "upc-e", "-o", picture, "24252614"}, 2, {"number system, 0 or 1"}},
      {{"-s", "upc-e", "--upce-system", "0", "-o", picture, "14210000526"}, 2, {"UPC-E number system"}},
      {{"-s", "isbn", "-o", picture, "0306406153"}, 2, {"check digit should be 2"}},
      // ISBN 0-8044-2957-X: the caption cannot print its X; its EAN-13 can be drawn.
      {{"-s", "isbn", "-o", picture, "080442957X"}, 2, {"takes digits only", "-s ean13 9780804429573"}},
      {{"-s", "isbn", "-o", picture, "9780804429573"}, 2, {"takes digits only", "-s ean13 9780804429573"}},
      {{"-s", "isbn", "-o", picture, "9791234567896"}, 2, {"no 10-digit form", "-s ean13 9791234567896"}},
      {{"-s", "jan8", "-o", picture, "1234567"}, 2, {"The leading 49 are required.", "beginning 49"}},
      {{"-s", "ean13", "--addon", "123", "-o", picture, "590123412345"}, 2,
       {"Wrong Supplement 5", "an add-on is 2 or 5 digits"}},
      {{"-s", "code39", "-o", picture, "LOWer"}, 2,
       {"Wrong Data Format", "'e' is not a Code 39 character", "capital letters", "-s code39-ascii"}},
      {{"-s", "code39", "-o", picture, "A_B"}, 2, {"'_' is not a Code 39 character"}},
      {{"-s", "codabar", "-o", picture, "12*4"}, 2, {"'*' is not a Codabar character"}},
      {{"-s", "itf", "-o", picture, "12a4"}, 2, {"Only digits are allowed.", "digits only"}},
      {{"-s", "sscc18", "-o", picture, "123"}, 2, {"SSCC-18 takes the first 17 digits of an SSCC", "gs1-128"}},
      {{"-s", "sscc18", "-o", picture, "376104250021234568"}, 2, {"check digit should be 9, not 8"}},
      {{"-s", "ean128-ai01", "-o", picture, "09501101530004"}, 2, {"check digit should be 3"}},
      {{"-s", "ean128-ai01", "-o", picture, "1234"}, 2, {"13 digits of a GTIN-14, or all 14"}},
      {{"-o", picture, "\xE6\x97\xA5"}, 2, {"U+65E5", "not in ISO-8859-1"}},
      {{"-o", picture, "5 \xE2\x82\xAC"}, 2,
       {"'\xE2\x82\xAC' (U+20AC) is not in ISO-8859-1, which Code 128 is read in", "no symbology here can carry it"}},
      {{"-o", picture, "A\xC2\x9B"}, 2, {"control character U+009B would be printed as '\xE2\x80\xBA'"}},
      {{"-s", "code39-ascii", "-o", picture, "caf\xC3\xA9"}, 2, {"(U+00E9) is not in ASCII", "code128 can carry it"}},
      {{"-o", picture, "--raw", "5 \x80"}, 0, {}},
      {{"-o", picture, ""}, 2, {"no input data"}},
      {{"-o", picture, "-s", "postnet", "--data", "-"}, 2, {"no input data"}},  // empty standard input
      // Drawn, with a warning: no check characters, a contradicting extension, a symbol too long.
      {{"-s", "code93", "--no-check", "-o", picture, "93"}, 0, {"warning: the Code 93 symbol is drawn without"}},
      {{"-s", "sscc18", "--no-check", "-o", picture, "37610425002123456"}, 0, {"warning: the SSCC-18 symbol"}},
      {{"-f", "svg", "-o", picture, "1"}, 0, {"warning: --format svg writes a svg picture into " + picture}},
      {{"-o", picture, std::string(200, 'A')}, 0, {"warning: the symbol is 2235 modules long"}},
      {{"-o", picture, "A\xFF"}, 2, {"not UTF-8 at byte 2", "--raw"}},
      {{"-o", picture, "A\xC0\xAF"}, 2, {"not UTF-8"}},  // an overlong '/'
      {{"-o", picture, "--raw", "A\xFF"}, 0, {}},
      {{"-s", "ean13", "--addon", "\xC2\xB2\xC2\xB3", "-o", picture, "590123412345"}, 2, {"Wrong Supplement 2"}},
      {{"-o", picture, std::string(1000, 'A')}, 2, {"1000 bytes", "at most 999"}},
      {{"-s", "nosuch", "-o", picture, "1"}, 1, {"--symbology"}},
      // The symbologies VnBasicInfo does not take, by name and by number, with their composed refusals.
      {{"-s", "gs1-128", "-o", picture, "(01)09501101530003(10)AB"}, 0, {}},
      {{"-s", "21", "-o", picture, "(01)09501101530004"}, 2, {"AI (01): check digit should be 3."}},
      {{"-s", "itf-14", "-o", picture, "1540014128876"}, 0, {}},
      {{"-s", "22", "-o", picture, "15400141288764"}, 2, {"The check digit should be 3."}},
      {{"-s", "23", "-o", picture, "1"}, 1, {"--symbology"}},
      {{"--frame", "thick", "-o", picture, "1"}, 1, {"--frame"}},
      {{"--orientation", "45", "-o", picture, "1"}, 1, {"--orientation"}},
      {{"--bar-color", "red", "-o", picture, "1"}, 1, {"--bar-color"}},
      {{"--size", "0x100", "-o", picture, "1"}, 1, {"--size"}},
      {{"--start", "E", "-o", picture, "1"}, 1, {"--start"}},
      {{"--upce-system", "2", "-o", picture, "1"}, 1, {"--upce-system"}},
      {{"--narrow", "-1", "-o", picture, "1"}, 1, {"--narrow"}},
      {{"--x-dim", "0.33", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "0mm", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "-1mm", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "nanmm", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "infmm", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "3pt", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--x-dim", "0.33 mm", "-o", picture, "1"}, 1, {"--x-dim"}},
      {{"--bar-height", "0", "-o", picture, "1"}, 1, {"--bar-height"}},
      {{"--bar-height", "0cm", "-o", picture, "1"}, 1, {"--bar-height"}},
      {{"--bar-height", "2furlongs", "-o", picture, "1"}, 1, {"--bar-height"}},
      {{"--font-height", "0", "-o", picture, "1"}, 1, {"--font-height"}},
      {{"--font-height", "-24", "-o", picture, "1"}, 1, {"--font-height"}},
      {{"--font-height", "12em", "-o", picture, "1"}, 1, {"--font-height"}},
      {{"--font-height", "-12pt", "-o", picture, "1"}, 1, {"--font-height"}},
      {{"--quiet-zone", "-1", "-o", picture, "1"}, 1, {"--quiet-zone"}},
      {{"--quiet-zone", "two", "-o", picture, "1"}, 1, {"--quiet-zone"}},
      {{"--format", "gif", "-o", picture, "1"}, 1, {"--format"}},
      {{"-o", dir.File("label"), "1"}, 1, {"label", "--format"}},
      {{"--unknown", "-o", picture, "1"}, 1, {"--unknown"}},
      {{"--no-text=yes", "-o", picture, "1"}, 1, {"--no-text"}},
      {{"-o", picture}, 1, {"no data"}},
      {{"1"}, 1, {"output"}},
      {{"-o", picture, "1", "2"}, 1, {"DATA"}},
      {{"-o", picture, "--data", "1", "--data-file", dir.File("a-file")}, 1, {"more than once"}},
      {{"-o", picture, "--data-file", dir.File("missing.txt")}, 1, {"missing.txt", "No such file or directory"}},
      {{"-o", picture, "--data-file", dir.File("folder.png")}, 1, {"folder.png", "Is a directory"}},
      {{"-o", dir.File("picture.gif"), "1"}, 1, {"picture.gif"}},
      {{"-o", dir.File("no-such-folder/picture.png"), "1"}, 1,
       {"cannot write", "no-such-folder", "No such file or directory"}},
      {{"-o", dir.File("a-file/picture.png"), "1"}, 1, {"cannot write", "Not a directory"}},
      {{"-o", dir.File("folder.png"), "1"}, 1, {"cannot write", "Is a directory"}},
      {{"-o", dir.File("pipe.png"), "1"}, 1, {"cannot write", "pipe.png"}},  // and no wait for a reader
      {{"-o", "/dev/null", "-f", "png", "1"}, 1, {"cannot write /dev/null: Invalid argument"}},
      {{"--size", "40000x100", "-o", dir.File("big.wmf"), "1"}, 1,
       {"cannot write", "big.wmf", "at most 32767 pixels a side"}},
      {{"--size"}, 1, {"--size"}},
      {{"--jobs", "0", "-b", "-"}, 1, {"--jobs"}},
      {{"-j", "-2", "-b", "-"}, 1, {"--jobs"}},
      {{"-j0", "-b", "-"}, 1, {"bad value '0' for --jobs"}},
      {{"--jobs=two", "-b", "-"}, 1, {"--jobs"}},
      {{"--jobs", "1.5", "-b", "-"}, 1, {"--jobs"}},
      {{"--jobs=", "-b", "-"}, 1, {"--jobs"}},
      {{"--jobs", "2", "-o", picture, "1"}, 1, {"--jobs"}},
      {{"-b", "-", "--data-file", dir.File("a-file")}, 1, {"batch lines"}},
      {{"--name", "label.png", "-b", "-"}, 1, {"--name"}},
      {{"--name", "a-%d-%d.png", "-b", "-"}, 1, {"--name"}},
      {{"--name", "a~~-~~.png", "-b", "-"}, 1, {"--name"}},
      {{"--name", "a-%s.png", "-b", "-"}, 1, {"--name"}},
      {{"--name", "a-%d.png", "-o", picture, "1"}, 1, {"--name is for batch mode"}},
  };
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    std::filesystem::remove(picture);
    const testing::ProgramResult run = Varnel(test.arguments);
    EXPECT_EQ(run.exitCode, test.exitCode) << where << "\n" << run.err;
    for (const std::string& message : test.messages) {
      EXPECT_TRUE(Contains(run.err, message)) << where << "\n" << run.err;
    }
    if (test.exitCode == 0 && test.messages.empty()) {
      EXPECT_EQ(run.err, "") << where;
    }
    if (test.exitCode != 0) {
      EXPECT_FALSE(Exists(picture)) << where;
    }
    EXPECT_EQ(run.out, "") << where;
  }
}

// The tool run as a user who may not write where the test's user can: root may write anywhere, so
// as root it runs as nobody.
testing::ProgramResult VarnelAsAnotherUser(const std::vector<std::string>& arguments) {
  if (::geteuid() != 0) return Varnel(arguments);
  std::vector<std::string> all = {"--reuid=65534", "--regid=65534", "--clear-groups", VARNEL_TOOL};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return testing::RunProgram("/usr/bin/setpriv", all);
}

// A folder the user may not write to is named with the system's reason.
TEST(CliTest, AFileThatCannotBeWrittenIsNamedWithTheReason) {
  const TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.File("closed"));
  const fs::perms readAndSearch = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec;
  fs::permissions(dir.File("closed"), readAndSearch);
  fs::permissions(dir.path(), readAndSearch, fs::perm_options::add);
  const testing::ProgramResult run =
      VarnelAsAnotherUser({"-s", "ean13", "-o", dir.File("closed/big.wmf"), "590123412345"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, "cannot write " + dir.File("closed/big.wmf") + ": Permission denied")) << run.err;
  EXPECT_FALSE(Exists(dir.File("closed/big.wmf")));
}

// A write cut short by the file size limit, as by a full disk, leaves the old file as it was and
// nothing beside it, and says why, for one barcode and for a batch line.
TEST(CliTest, AWriteCutShortKeepsTheOldFileAndSaysWhy) {
  const TempDir dir;
  const std::string label = dir.File("label.bmp");
  const std::vector<std::uint8_t> old(100 * 1024, 'O');
  const std::vector<std::string> limited = {"-c", "ulimit -f 20 && exec \"$0\" \"$@\"", VARNEL_TOOL, "--size",
                                            "2000x600"};
  for (const bool batch : {false, true}) {
    testing::WriteFileBytes(label, old);
    const testing::ProgramResult run =
        batch ? testing::RunProgram("/bin/sh", With(limited, {"-b", "-"}), "X," + label + "\n")
              : testing::RunProgram("/bin/sh", With(limited, {"-o", label, "X"}));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "cannot write " + label + ": File too large")) << run.err;
    EXPECT_TRUE(testing::ReadFileBytes(label) == old) << "batch " << batch;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "batch " << batch;
  }
}

// Lengths for print are met in whole pixels, as measured in the picture, and a printer hears when
// they fall far from the request or below what the symbology allows.
TEST(CliTest, PrintSizesAreWholePixelsWithWarnings) {
  struct Case {
    std::vector<std::string> arguments;
    int narrow;           // the narrowest bar or space, in pixels
    int barHeight;        // 0: not looked at
    std::string warning;  // a part of standard error; empty: no message at all
  };
  const Case cases[] = {
      // 0.33 mm is 3.9 pixels at 300 per inch, 0.25 mm 2.95: both within 10 % of whole pixels.
      {{"--x-dim", "0.33mm", "--dpi", "300", "X"}, 4, 0, ""},
      {{"--x-dim", "0.25mm", "--dpi", "300", "X"}, 3, 0, ""},
      {{"--x-dim", "0.33mm", "--dpi", "300", "-s", "ean13", "590123412345"}, 4, 0, ""},
      // 0.2 mm is below the 0.264 mm EAN/UPC printing allows: 2 pixels at 300 per inch are 0.169 mm.
      {{"--x-dim", "0.2mm", "--dpi", "300", "-s", "ean13", "590123412345"}, 2, 0, "0.264 mm"},
      {{"--x-dim", "0.2mm", "--dpi", "300", "--no-text", "-s", "upc-e", "04252614"}, 2, 0, "below the 0.264 mm"},
      // 0.2 mm is 0.76 pixels at 96 per inch: 1 pixel is 32 % wider.
      {{"--x-dim", "0.2mm", "X"}, 1, 0, "32 % wider"},
      {{"--x-dim", "0.4mm", "X"}, 2, 0, "--x-dim"},
      {{"--x-dim", "3px", "X"}, 3, 0, ""},
      {{"--narrow", "0.02", "-s", "ean8", "9638507"}, 1, 0, ""},
      {{"--bar-height", "10mm", "--dpi", "254", "--no-text", "X"}, 7, 100, ""},
      {{"--bar-height", "0.5in", "--no-text", "X"}, 2, 48, ""},
      {{"--bar-height", "37px", "--no-text", "--orientation", "90", "X"}, 2, 37, ""},
      // A picture too small for the symbol and its quiet zones draws, with a word of warning.
      {{"--size", "100x40", "X"}, 2, 0, "needs"},
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    std::vector<std::string> arguments = {"-o", dir.File("sized.bmp")};
    arguments.insert(arguments.end(), test.arguments.begin(), test.arguments.end());
    const testing::ProgramResult run = Varnel(arguments);
    ASSERT_EQ(run.exitCode, 0) << where << "\n" << run.err;
    if (test.warning.empty()) {
      EXPECT_EQ(run.err, "") << where;
    } else {
      EXPECT_TRUE(Contains(run.err, "warning: ") && Contains(run.err, test.warning)) << where << "\n" << run.err;
    }
    const auto turned = std::find(test.arguments.begin(), test.arguments.end(), "--orientation");
    const int turn = turned == test.arguments.end() ? 0 : std::stoi(*(turned + 1)) / 90;
    const testing::Bitmap upright = testing::Unrotate(ReadPicture(dir.File("sized.bmp")), turn);
    const std::vector<int> widths = testing::RunsAlongRow(upright, testing::RowCrossingEveryBar(upright));
    ASSERT_FALSE(widths.empty()) << where;
    EXPECT_EQ(*std::min_element(widths.begin(), widths.end()), test.narrow) << where;
    if (test.barHeight > 0) {
      for (const testing::ScannedBar& bar : testing::ScanBars(upright)) EXPECT_EQ(bar.height, test.barHeight) << where;
    }
  }
}

// The library draws refused data as its message; the tool writes nothing then, so a good picture
// at that path survives a bad run.
TEST(CliTest, RefusedDataLeavesTheOldFileAlone) {
  const TempDir dir;
  for (const char* name : {"old.bmp", "old.png", "old.svg", "old.wmf", "old.emf"}) {
    ASSERT_EQ(Varnel({"-s", "ean8", "-o", dir.File(name), "9638507"}).exitCode, 0) << name;
    const std::vector<std::uint8_t> before = testing::ReadFileBytes(dir.File(name));
    EXPECT_EQ(Varnel({"-s", "ean8", "-o", dir.File(name), "96385X7"}).exitCode, 2) << name;
    EXPECT_EQ(testing::ReadFileBytes(dir.File(name)), before) << name;
  }
  EXPECT_EQ(Varnel({"-s", "ean8", "-o", dir.File("new.png"), "96385X7"}).exitCode, 2);
  EXPECT_FALSE(Exists(dir.File("new.png")));
}

// Whether data is refused must not depend on the temporary folder: one that is missing, is a file,
// or cannot be written to (for a user other than root) still leaves the old file as it was, for a
// single barcode and in a batch.
TEST(CliTest, RefusedDataLeavesTheOldFileAloneWhateverTheTemporaryFolder) {
  const TempDir dir;
  std::ofstream(dir.File("a-file"), std::ios::binary) << "not a folder";
  std::filesystem::create_directory(dir.File("read-only"));
  std::filesystem::permissions(dir.File("read-only"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const std::string label = dir.File("label.png");
  const std::vector<std::uint8_t> old = {'O', 'L', 'D'};
  for (const std::string& temporary : {std::string("/nonexistent"), dir.File("a-file"), dir.File("read-only")}) {
    const std::vector<std::string> env = {"TMPDIR=" + temporary, VARNEL_TOOL};
    testing::WriteFileBytes(label, old);
    testing::ProgramResult run = testing::RunProgram("/usr/bin/env", With(env, {"-s", "ean13", "-o", label, "12"}));
    EXPECT_EQ(run.exitCode, 2) << temporary << "\n" << run.err;
    EXPECT_NE(run.err.find("12 digits are required."), std::string::npos) << temporary << "\n" << run.err;
    EXPECT_EQ(testing::ReadFileBytes(label), old) << temporary;

    run = testing::RunProgram("/usr/bin/env", With(env, {"-b", "-"}), "12," + label + ",ean13\n");
    EXPECT_EQ(run.exitCode, 2) << temporary << "\n" << run.err;
    EXPECT_NE(run.err.find("12 digits are required."), std::string::npos) << temporary << "\n" << run.err;
    EXPECT_EQ(testing::ReadFileBytes(label), old) << temporary << ", batch";
  }
}

// Every line is drawn as the command line of its own would draw it: the options apply to each,
// with its symbology and add-on, fitted to its own symbol, with the tool's check characters and
// text conversion and the numbers people have; quotes may hold commas and doubled quotes, Windows
// line ends and blank lines are taken in stride.
TEST(CliTest, BatchLinesDrawWhatTheirOwnCommandLinesDraw) {
  const TempDir dir;
  struct Line {
    std::string fields;  // after DATA,OUTPUT
    std::string data;
    std::string name;
    std::vector<std::string> alone;  // the same barcode on a command line of its own
  };
  const Line lines[] = {
      {"", "\"A,B \"\"C\"\"\"", "one.bmp", {"A,B \"C\""}},
      {",ean13,12\r", "5901234123457", "two.bmp", {"-s", "ean13", "--addon", "12", "590123412345"}},
      {",3", "HELLO", "three.bmp", {"-s", "code39", "HELLO"}},
      {",code93", "CODE 93", "four.bmp", {"-s", "code93", "--check", "CODE 93"}},
      {",,", "Gr\xC3\xB6\xC3\x9F" "e", "five.bmp", {"--raw", "Gr\xF6\xDF" "e"}},
      // An empty add-on field leaves the command line's add-on out.
      {",upc-e,", "04252614", "six.bmp", {"-s", "upc-e", "--addon", "", "04210000526"}},
  };
  std::string batch;
  for (const Line& line : lines) batch += line.data + "," + dir.File(line.name) + line.fields + "\n\n";
  std::ofstream(dir.File("batch.csv"), std::ios::binary) << batch;
  const std::vector<std::string> options = {"--bar-color", "#102030", "--addon", "53"};
  for (const bool fromFile : {false, true}) {
    const testing::ProgramResult run = fromFile ? Varnel(With(options, {"--batch", dir.File("batch.csv")}))
                                                : Varnel(With(options, {"-b", "-"}), batch);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "no progress bar when standard error is not a terminal";
    for (const Line& line : lines) {
      std::vector<std::string> alone = With(options, {"-o", dir.File("alone.bmp")});
      alone.insert(alone.end(), line.alone.begin(), line.alone.end());
      ASSERT_EQ(Varnel(alone).exitCode, 0) << Joined(alone);
      EXPECT_TRUE(testing::ReadFileBytes(dir.File(line.name)) == testing::ReadFileBytes(dir.File("alone.bmp")))
          << line.name << " against " << Joined(alone);
      std::filesystem::remove(dir.File(line.name));
    }
  }
}

TEST(CliTest, BatchGoesOnPastBadLines) {
  const TempDir dir;
  const std::string refused = "590123412345," + dir.File("one.png") + ",ean13\n" +
                              "59012341234," + dir.File("two.png") + ",ean13\n" +
                              "HELLO," + dir.File("three.bmp") + ",code39\n" + "," + dir.File("four.png") + "\n";
  testing::ProgramResult run = Varnel({"-b", "-"}, refused);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Contains(run.err, "line 2: " + dir.File("two.png") + ": 12 digits are required. EAN-13 takes"))
      << run.err;
  EXPECT_TRUE(Exists(dir.File("one.png")));
  EXPECT_FALSE(Exists(dir.File("two.png")));
  EXPECT_EQ(ZbarReads(ReadPicture(dir.File("three.bmp"))), std::vector<std::string>{"HELLO"});
  EXPECT_TRUE(Contains(run.err, "line 4: " + dir.File("four.png") + ": no input data")) << run.err;
  EXPECT_FALSE(Exists(dir.File("four.png")));

  // A line that is not a barcode at all is a failure of its own, and outweighs refused data.
  // A line too long to hold is passed over as it is read, and the next line is drawn.
  for (const std::string& broken : {std::string("only-one-field"), "\"unclosed," + dir.File("x.bmp"),
                                    "1," + dir.File("x.bmp") + ",nosuch", "1," + dir.File("x.bmp") + ",3,12,extra",
                                    std::string("1,-"), std::string("1,-,code128"),
                                    std::string(100000, '1') + "," + dir.File("x.bmp")}) {
    std::filesystem::remove(dir.File("after.bmp"));
    run = Varnel({"-b", "-"}, refused + broken + "\nAFTER," + dir.File("after.bmp"));
    EXPECT_EQ(run.exitCode, 1) << broken.substr(0, 40);
    EXPECT_TRUE(Contains(run.err, "line 5: ")) << broken.substr(0, 40) << "\n" << run.err.substr(0, 400);
    EXPECT_FALSE(Exists(dir.File("x.bmp"))) << broken.substr(0, 40);
    EXPECT_TRUE(Exists(dir.File("after.bmp"))) << broken.substr(0, 40);
  }
  EXPECT_TRUE(Contains(run.err, "line 5: longer than the 65536 bytes a line may hold")) << run.err.substr(0, 400);

  run = Varnel({"-b", dir.File("missing.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.err, "missing.csv: No such file or directory")) << run.err;
  EXPECT_EQ(Varnel({"-b", "-", "-o", dir.File("x.bmp")}, refused).exitCode, 1) << "outputs come from the lines";
}

TEST(CliTest, BatchShowsProgressOnlyOnATerminal) {
  const TempDir dir;
  std::ofstream(dir.File("batch.csv")) << "1," << dir.File("a.png") << "\n2," << dir.File("b.png") << "\n3,"
                                       << dir.File("c.png") << "\n";
  // Lines finishing out of order on three threads still bring the bar to its end.
  const testing::ProgramResult run =
      testing::RunProgramOnTerminal(VARNEL_TOOL, {"-b", dir.File("batch.csv"), "--jobs", "3"});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_TRUE(Contains(run.out, "3/3")) << run.out;
  EXPECT_TRUE(Contains(run.out, "#")) << run.out;
  EXPECT_TRUE(Exists(dir.File("c.png")));
  // Off a terminal the same batch says nothing.
  const testing::ProgramResult quiet = Varnel({"-b", dir.File("batch.csv")});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, "");
}

// A batch is drawn as its lines arrive: fed through a pipe, it writes its first file while the pipe
// is still open, so that a program may feed it as a queue.
TEST(CliTest, BatchDrawsLinesAsTheyArrive) {
  const TempDir dir;
  int feed[2];
  ASSERT_EQ(::pipe(feed), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(feed[0], STDIN_FILENO);
    ::close(feed[1]);
    ::execl(VARNEL_TOOL, VARNEL_TOOL, "-b", "-", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(feed[0]);
  const auto send = [&](const std::string& line) { return ::write(feed[1], line.data(), line.size()) > 0; };
  ASSERT_TRUE(send("FIRST," + dir.File("first.png") + "\n"));
  bool firstBeforeTheEnd = false;
  for (int look = 0; look < 500 && !(firstBeforeTheEnd = Exists(dir.File("first.png"))); ++look) ::usleep(10000);
  EXPECT_TRUE(send("SECOND," + dir.File("second.png") + "\n"));
  ::close(feed[1]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(firstBeforeTheEnd) << "the first file waited for the end of the input";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(Exists(dir.File("second.png")));
}

// With --name every line is data alone, commas included, and its file is named by the pattern with
// the line's number, as printf pads it or as zint does.
TEST(CliTest, BatchNamesPlainDataFromAPattern) {
  const TempDir dir;
  ASSERT_EQ(Varnel({"-o", dir.File("alone.png"), "A,B"}).exitCode, 0);
  const std::vector<std::uint8_t> alone = testing::ReadFileBytes(dir.File("alone.png"));
  const std::vector<std::string> patterns[] = {{"label-%05d.png", "label-00001.png", "label-00003.png"},
                                               {"label-~~~~~.png", "label-00001.png", "label-00003.png"},
                                               {"100%%~%3d.png", "100%~  1.png", "100%~  3.png"}};
  for (const std::vector<std::string>& pattern : patterns) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) std::filesystem::remove(entry.path());
    const testing::ProgramResult run = Varnel({"-b", "-", "--name", dir.File(pattern[0])}, "A,B\n\nA,B\r\n");
    ASSERT_EQ(run.exitCode, 0) << pattern[0] << "\n" << run.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << pattern[0];
    for (const std::string& name : {pattern[1], pattern[2]}) {
      EXPECT_TRUE(testing::ReadFileBytes(dir.File(name)) == alone) << pattern[0] << " " << name;
    }
  }
}

// What the tool quotes in its messages (file names, batch fields, option values, data) reaches
// standard error with its control characters shown by their numbers, as refused data names them,
// never raw for a terminal to obey: C0, DEL, and C1 as a byte or as a UTF-8 character.
TEST(CliTest, MessagesShowControlCharactersByTheirNumbers) {
  const TempDir dir;
  const std::string missing = dir.File("missing/");
  struct Case {
    std::vector<std::string> arguments;
    std::string input;
    std::string shown;
  };
  const Case cases[] = {
      {{"-o", missing + "\x1B]0;title\x07.png", "1"}, "", "missing/<0x1B>]0;title<0x07>.png: No such file"},
      {{"-o", missing + "\xC2\x9B" "31m.png", "1"}, "", "missing/<U+009B>31m.png"},
      {{"-o", missing + "\x9B" "31m\x7F.png", "1"}, "", "missing/<0x9B>31m<0x7F>.png"},
      {{"-o", missing + "x.gif\x1B", "1"}, "", "format of " + missing + "x.gif<0x1B> from"},
      {{"--frame", "\x1B[31m", "-o", "x.png", "1"}, "", "bad value '<0x1B>[31m' for --frame"},
      {{"--\x1B[31m"}, "", "unknown option '--<0x1B>[31m'"},
      {{"-o", dir.File("x.png"), "--data-file", missing + "\x1B"}, "", "missing/<0x1B>: No such file"},
      {{"-s", "code39", "-o", dir.File("x.png"), "A\x1B"}, "", "the control character 0x1B is not"},
      {{"-b", missing + "\x1B"}, "", "missing/<0x1B>: No such file"},
      {{"-b", "-"}, "1,x.png,\x1B[31m\n", "line 1: unknown symbology '<0x1B>[31m'"},
      {{"-b", "-", "-s", "ean13"}, "12," + missing + "\x1B[2J.png\n", "missing/<0x1B>[2J.png: 12 digits"},
      {{"-b", "-"}, "1," + missing + "\x1B.png\n", "line 1: cannot write " + missing + "<0x1B>.png"},
  };
  for (const Case& test : cases) {
    const testing::ProgramResult run = Varnel(test.arguments, test.input);
    EXPECT_TRUE(Contains(run.err, test.shown)) << test.shown << "\n" << run.err;
    const auto printable = [](unsigned char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); };
    EXPECT_TRUE(std::all_of(run.err.begin(), run.err.end(), printable)) << test.shown << "\n" << run.err;
  }
}

// Every regular file under the folder, by its path inside it; links are the test's own and stay.
std::map<std::string, std::vector<std::uint8_t>> FilesIn(const std::string& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      files[std::filesystem::relative(entry.path(), folder).string()] = testing::ReadFileBytes(entry.path().string());
    }
  }
  return files;
}

// Several jobs draw a batch as one job does: the same files byte for byte, the same messages in the
// same order, the same exit status. In each block of twenty lines, twelve write one file by five
// names: through ".", "..", a link to the folder, a link to the file that dangles until the file is
// written, and both links. The last line's picture must be left; it alone uses its name in its
// block, so that were that name not known for the file, another thread would draw it early. Each
// name ends two blocks. Every picture is fitted to its own symbol, and the EAN lines' narrow bars,
// 1 pixel at 100 per inch, are below what EAN allows: their warnings come in line order too. In
// memory, so that the disk's flushes do not decide the timing.
TEST(CliTest, BatchDrawsTheSameWithSeveralJobs) {
  const TempDir dir(testing::MemoryFolder());
  const std::string out = dir.File("out");
  std::filesystem::create_directories(out + "/sub");
  std::filesystem::create_directory_symlink(out, dir.File("link"));
  const char* const formats[] = {"png", "bmp", "svg", "wmf", "emf"};
  // Drawn in full before its folder turns out to be missing, while the quick failures after it are
  // found at once: their messages must still come after its own.
  const std::string slow(900, 'S');
  std::string lines;
  for (int block = 0; block < 10; ++block) {
    const std::string first = std::to_string(block * 20);
    const std::string code = out + "/code-" + first + "." + formats[block % 5];
    const std::string shared = "shared-" + std::to_string(block) + ".svg";
    std::filesystem::create_symlink(shared, out + "/alias-" + shared);
    const std::string names[] = {out + "/./" + shared, out + "/sub/../" + shared, dir.File("link/") + shared,
                                 out + "/alias-" + shared, dir.File("link/alias-") + shared};
    lines += "LINE-" + first + "," + code + "\n" +
             "5901234123457," + out + "/ean-" + first + ".png,ean13," + (block % 2 == 0 ? "12" : "") + "\n" +
             "5901234123," + out + "/refused-" + first + ".png,ean13\n" +
             "lower," + out + "/kept.png,code39\n" +
             slow + "," + out + "/missing/" + first + ".svg\n" +
             "1," + out + "/bad-" + first + ".png,nosuch\n" +
             "\"unclosed," + out + "/never-" + first + ".png\n" +
             "LATER-" + first + "," + code + "\n";
    for (int line = 0; line < 12; ++line) {
      const int name = line == 11 ? block % 5 : (block + 1 + line % 4) % 5;
      lines += "SHARED-" + std::to_string(block * 20 + 8 + line) + "," + names[name] + "\n";
    }
  }
  std::ofstream(dir.File("batch.csv"), std::ios::binary) << lines;
  const std::vector<std::uint8_t> old = {'O', 'L', 'D'};

  const auto draw = [&](const std::string& jobs) {
    for (const auto& [name, bytes] : FilesIn(out)) std::filesystem::remove(out + "/" + name);
    testing::WriteFileBytes(out + "/kept.png", old);
    return Varnel({"--dpi", "100", "--x-dim", "0.25mm", "-b", dir.File("batch.csv"), "--jobs", jobs});
  };
  const testing::ProgramResult one = draw("1");
  const std::map<std::string, std::vector<std::uint8_t>> oneFiles = FilesIn(out);
  ASSERT_EQ(one.exitCode, 1) << one.err;
  ASSERT_TRUE(Contains(one.err, "line 2: " + out + "/ean-0.png: warning: ")) << one.err;
  ASSERT_EQ(oneFiles.at("kept.png"), old);
  ASSERT_EQ(oneFiles.size(), 1 + 10 * 3u) << "kept, and code, ean and shared for each block";

  const testing::ProgramResult four = draw("4");
  EXPECT_EQ(four.exitCode, one.exitCode);
  EXPECT_EQ(four.err, one.err);
  const std::map<std::string, std::vector<std::uint8_t>> fourFiles = FilesIn(out);
  ASSERT_EQ(fourFiles.size(), oneFiles.size());
  for (const auto& [name, bytes] : oneFiles) EXPECT_TRUE(fourFiles.at(name) == bytes) << name;
}

// --list prints the catalogue's rows, every one and nothing else but a pointer to gs1-128.
TEST(CliTest, ListNamesEverySymbologyByItsNumber) {
  const testing::ProgramResult run = Varnel({"--list"});
  ASSERT_EQ(run.exitCode, 0);
  std::istringstream lines(run.out);
  std::vector<std::string> names;
  int number = -1;
  std::string name;
  std::string title;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ASSERT_TRUE(fields >> number >> name >> std::ws && std::getline(fields, title)) << line;
    ASSERT_LT(names.size(), std::size(kSymbologies)) << line;
    const SymbologyRow& row = kSymbologies[names.size()];
    EXPECT_EQ(number, row.number) << line;
    EXPECT_EQ(name, row.name) << line;
    // The classic GS1 symbologies point to the one that takes GS1 data as people have it.
    const bool classicGs1 = row.number == kUccEan128 || row.number == kSscc18 || row.number == kUccEan128Ai01;
    EXPECT_EQ(title, std::string(row.title) + (classicGs1 ? " (other GS1 data: gs1-128)" : "")) << line;
    names.push_back(name);
  }
  ASSERT_EQ(names.size(), std::size(kSymbologies));

  // Each listed name draws what its number draws, and the numbers are the header's.
  const TempDir dir;
  const std::pair<const char*, int> documented[] = {{"codabar", 0}, {"code128", 2}, {"code39", 3},
                                                    {"code39-ascii", 4}, {"ean13", 7}, {"isbn", 10},
                                                    {"postnet", 16}, {"upc-a", 19}, {"upc-e", 20}};
  for (const auto& [documentedName, documentedNumber] : documented) {
    EXPECT_EQ(names[documentedNumber], documentedName);
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::filesystem::remove(dir.File("by-name.bmp"));
    std::filesystem::remove(dir.File("by-number.bmp"));
    // Ten digits: some symbologies draw them and some refuse them, and a name must do as its number.
    const int byName = Varnel({"-s", names[i], "-o", dir.File("by-name.bmp"), "0123456789"}).exitCode;
    const int byNumber = Varnel({"-s", std::to_string(i), "-o", dir.File("by-number.bmp"), "0123456789"}).exitCode;
    EXPECT_NE(byName, 1) << names[i];
    EXPECT_EQ(byName, byNumber) << names[i];
    if (byName == 0) {
      EXPECT_EQ(testing::ReadFileBytes(dir.File("by-name.bmp")), testing::ReadFileBytes(dir.File("by-number.bmp")))
          << names[i];
    }
  }
}

// --list-samples is what the sample script draws the gallery from: each catalogue row's number,
// name, title, sample data and options, tab-separated; and each sample draws with its options.
TEST(CliTest, ListSamplesGivesEveryRowsSampleThatDraws) {
  const testing::ProgramResult run = Varnel({"--list-samples"});
  ASSERT_EQ(run.exitCode, 0);
  std::string expected;
  const TempDir dir;
  for (const SymbologyRow& row : kSymbologies) {
    const std::string options(row.sampleOptions);
    expected += std::to_string(row.number) + '\t' + std::string(row.name) + '\t' + std::string(row.title) + '\t' +
                std::string(row.sample) + '\t' + options + '\n';
    std::vector<std::string> arguments{"-s", std::string(row.name), "-o", dir.File("sample.png")};
    std::istringstream words(options);
    for (std::string word; words >> word;) arguments.push_back(word);
    arguments.insert(arguments.end(), {"--", std::string(row.sample)});
    const testing::ProgramResult drawn = Varnel(arguments);
    EXPECT_EQ(drawn.exitCode, 0) << Joined(arguments) << ": " << drawn.err;
    EXPECT_EQ(drawn.err, "") << Joined(arguments);
  }
  EXPECT_EQ(run.out, expected);
}

TEST(CliTest, HelpAndVersionAnswerOnStandardOutput) {
  for (const char* option : {"--help", "-h"}) {
    const testing::ProgramResult run = Varnel({option});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Usage: varnel", 0), 0u) << run.out;
    for (const char* documented : {"--symbology", "--batch", "--jobs", "--list", "--dpi", "--x-dim", "--format",
                                   "--no-check", "--quiet-zone", "--transparent", "ADDON", "Exit status"}) {
      EXPECT_TRUE(Contains(run.out, documented)) << documented;
    }
  }
  for (const char* option : {"--version", "-V"}) {
    const testing::ProgramResult run = Varnel({option});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "varnel " VARNEL_VERSION "\n");
  }
  // Help is given even after other options, without drawing anything.
  const TempDir dir;
  EXPECT_EQ(Varnel({"-o", dir.File("x.png"), "--help", "1"}).exitCode, 0);
  EXPECT_FALSE(Exists(dir.File("x.png")));
}

}  // namespace
}  // namespace varnel
