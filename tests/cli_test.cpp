// The varnel tool as its users run it: a separate process over the shared library, judged by its
// exit status, what it prints and the pictures it leaves behind.
#include <gtest/gtest.h>

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
#include "symbologies/catalogue.h"
#include "varnel32.h"

namespace varnel {
namespace {

using testing::TempDir;

testing::ProgramResult Varnel(const std::vector<std::string>& arguments, const std::string& input = "") {
  return testing::RunProgram(VARNEL_TOOL, arguments, input);
}

std::vector<std::string> With(std::vector<std::string> arguments, std::initializer_list<std::string> more) {
  arguments.insert(arguments.end(), more);
  return arguments;
}

std::string Joined(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += (joined.empty() ? "" : " ") + argument;
  return joined;
}

testing::Bitmap ReadPicture(const std::string& path) {
  std::optional<testing::Bitmap> bitmap = testing::ReadBmp(path);
  EXPECT_TRUE(bitmap.has_value()) << path;
  return bitmap.value_or(testing::Bitmap{});
}

std::vector<std::string> ZbarReads(const testing::Bitmap& bitmap) {
  return testing::DecodeWithZbar(testing::WithQuietZone(bitmap, 20));
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Each option must come out exactly as the setter call a host would make for it: the tool's BMP
// and the library's own, drawn in this process from Code 39 and "1234" plus the setters, are the
// same file.
TEST(CliTest, OptionsDrawWhatTheirSettersDraw) {
  struct Case {
    std::vector<std::string> arguments;
    void (*setters)();
  };
  const Case cases[] = {
      {{"-s", "code39", "--size", "420x150", "1234"}, [] { VnSetSize(420, 150); }},
      {{"-s", "code39", "--narrow", "0.05", "--ratio", "3", "1234"}, [] { VnBasicInfo(3, 0.05, 3.0, 0, 0); }},
      {{"-s", "code39", "--orientation", "90", "--size", "300x300", "1234"},
       [] { VnSetSize(300, 300); VnBasicInfo(3, 0.07, 2.0, 1, 0); }},
      {{"-s", "code39", "--orientation", "180", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 2, 0); }},
      {{"-s", "code39", "--orientation", "270", "--size", "300x300", "1234"},
       [] { VnSetSize(300, 300); VnBasicInfo(3, 0.07, 2.0, 3, 0); }},
      {{"-s", "code39", "--frame", "dashed", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 0, 1); }},
      {{"-s", "code39", "--frame", "solid", "1234"}, [] { VnBasicInfo(3, 0.07, 2.0, 0, 2); }},
      {{"-s", "code39", "--font", "Liberation Serif", "--font-height", "30", "1234"},
       [] { VnFontInfo("Liberation Serif", 30); }},
      {{"-s", "code39", "--no-text", "1234"}, [] { VnTextInfo(0, 0, 0); }},
      {{"-s", "code39", "--check", "1234"}, [] { VnTextInfo(1, 1, 0); }},
      {{"-s", "code39", "--check", "--check-in-text", "1234"}, [] { VnTextInfo(1, 1, 1); }},
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
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    const testing::ProgramResult run = Varnel(With(test.arguments, {"-o", dir.File("tool.bmp")}));
    ASSERT_EQ(run.exitCode, 0) << where << "\n" << run.err;

    testing::ResetLibrary();
    VnBasicInfo(3, 0.07, 2.0, 0, 0);
    test.setters();
    ASSERT_TRUE(VnSaveAsBMP(dir.File("library.bmp").c_str())) << where;
    EXPECT_EQ(testing::ReadFileBytes(dir.File("tool.bmp")), testing::ReadFileBytes(dir.File("library.bmp"))) << where;
  }
  testing::ResetLibrary();
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
      {{"--symbology=Code-128", "--size=500x200", "--data", "a,b \"c\""}, {"a,b \"c\""}},
      {{"-s", "code128", "--", "-dash-"}, {"-dash-"}},
      // C, O, D, E, 3, 9 are worth 12 + 24 + 13 + 14 + 3 + 9 = 75; 75 mod 43 = 32, which is 'W'.
      {{"-s", "code39", "--check", "CODE39"}, {"CODE39W"}},
      {{"-s", "codabar", "--start", "C", "--stop", "D", "12345"}, {"C12345D"}},
      {{"-s", "ean13", "--size", "480x200", "--addon", "52495", "590123412345"}, {"5901234123457", "52495"}},
      {{"-s", "UPC-A", "--size", "480x200", "--addon", "53", "03600029145"}, {"036000291452", "53"}},
      {{"-s", "itf", "--ratio", "3", "12345678"}, {"12345678"}},
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

TEST(CliTest, TurnedPicturesReadBackAndTurnTheirDefaultSize) {
  const TempDir dir;
  const char* const degrees[] = {"0", "90", "180", "270"};
  for (int orientation = 0; orientation < 4; ++orientation) {
    const testing::ProgramResult run =
        Varnel({"-s", "code128", "--orientation", degrees[orientation], "-o", dir.File("turned.bmp"), "Turned"});
    ASSERT_EQ(run.exitCode, 0) << degrees[orientation] << "\n" << run.err;
    const testing::Bitmap bitmap = ReadPicture(dir.File("turned.bmp"));
    const bool upright = orientation % 2 == 0;
    EXPECT_EQ(bitmap.width, upright ? 300 : 200) << degrees[orientation];
    EXPECT_EQ(bitmap.height, upright ? 200 : 300) << degrees[orientation];
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

// The extension names the format, in either case; each file starts as its format requires.
TEST(CliTest, OutputFormatFollowsTheExtension) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> start;
    std::size_t offset;
  };
  const Case cases[] = {
      {"picture.bmp", {'B', 'M'}, 0},
      {"PICTURE.BMP", {'B', 'M'}, 0},
      {"picture.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, 0},
      {"picture.Png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, 0},
      {"picture.wmf", {0xD7, 0xCD, 0xC6, 0x9A}, 0},  // the placeable metafile key
      {"picture.emf", {' ', 'E', 'M', 'F'}, 40},     // the signature in the header record
      {"picture.svg", {'<'}, 0},
  };
  const TempDir dir;
  for (const Case& test : cases) {
    const testing::ProgramResult run = Varnel({"-s", "code39", "-o", dir.File(test.name), "FORMAT"});
    ASSERT_EQ(run.exitCode, 0) << test.name << "\n" << run.err;
    const std::vector<std::uint8_t> bytes = testing::ReadFileBytes(dir.File(test.name));
    ASSERT_GE(bytes.size(), test.offset + test.start.size()) << test.name;
    EXPECT_TRUE(std::equal(test.start.begin(), test.start.end(), bytes.begin() + test.offset)) << test.name;
  }
  const std::string svg = [&] {
    std::ifstream file(dir.File("picture.svg"));
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }();
  EXPECT_NE(svg.find("<svg"), std::string::npos);
}

TEST(CliTest, ExitCodeSaysWhatWentWrong) {
  const TempDir dir;
  const std::string picture = dir.File("picture.png");
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string message;  // a part of standard error
  };
  const Case cases[] = {
      {{"-s", "ean13", "-o", picture, "590123412345"}, 0, ""},
      {{"-s", "ean13", "-o", picture, "59012341234"}, 2, "12 digits are required."},
      {{"-s", "jan8", "-o", picture, "1234567"}, 2, "The leading 49 are required."},
      {{"-s", "ean13", "--addon", "123", "-o", picture, "590123412345"}, 2, "Wrong Supplement 5"},
      {{"-s", "code39", "-o", picture, "lower"}, 2, "Wrong Data Format"},
      // The symbologies VnBasicInfo does not take, by name and by number, with their composed refusals.
      {{"-s", "gs1-128", "-o", picture, "(01)09501101530003(10)AB"}, 0, ""},
      {{"-s", "21", "-o", picture, "(01)09501101530004"}, 2, "AI (01): check digit should be 3."},
      {{"-s", "itf-14", "-o", picture, "1540014128876"}, 0, ""},
      {{"-s", "22", "-o", picture, "15400141288764"}, 2, "The check digit should be 3."},
      {{"-s", "nosuch", "-o", picture, "1"}, 1, "--symbology"},
      {{"-s", "23", "-o", picture, "1"}, 1, "--symbology"},
      {{"--frame", "thick", "-o", picture, "1"}, 1, "--frame"},
      {{"--orientation", "45", "-o", picture, "1"}, 1, "--orientation"},
      {{"--bar-color", "red", "-o", picture, "1"}, 1, "--bar-color"},
      {{"--size", "0x100", "-o", picture, "1"}, 1, "--size"},
      {{"--start", "E", "-o", picture, "1"}, 1, "--start"},
      {{"--upce-system", "2", "-o", picture, "1"}, 1, "--upce-system"},
      {{"--narrow", "-1", "-o", picture, "1"}, 1, "--narrow"},
      {{"--unknown", "-o", picture, "1"}, 1, "--unknown"},
      {{"--no-text=yes", "-o", picture, "1"}, 1, "--no-text"},
      {{"-o", picture}, 1, "no data"},
      {{"1"}, 1, "output"},
      {{"-o", picture, "1", "2"}, 1, "DATA"},
      {{"-o", dir.File("picture.gif"), "1"}, 1, "picture.gif"},
      {{"-o", dir.File("no-such-folder/picture.png"), "1"}, 1, "no-such-folder"},
      {{"--size"}, 1, "--size"},
      {{"--jobs", "0", "-b", "-"}, 1, "--jobs"},
      {{"-j", "-2", "-b", "-"}, 1, "--jobs"},
      {{"--jobs=two", "-b", "-"}, 1, "--jobs"},
      {{"--jobs", "1.5", "-b", "-"}, 1, "--jobs"},
      {{"--jobs=", "-b", "-"}, 1, "--jobs"},
      {{"--jobs", "2", "-o", picture, "1"}, 1, "--jobs"},
  };
  for (const Case& test : cases) {
    const std::string where = Joined(test.arguments);
    const testing::ProgramResult run = Varnel(test.arguments);
    EXPECT_EQ(run.exitCode, test.exitCode) << where << "\n" << run.err;
    EXPECT_NE(run.err.find(test.message), std::string::npos) << where << "\n" << run.err;
    if (test.exitCode == 0) {
      EXPECT_EQ(run.err, "") << where;
    }
    EXPECT_EQ(run.out, "") << where;
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

TEST(CliTest, BatchDrawsOneBarcodePerLine) {
  const TempDir dir;
  // Quotes around a comma, a doubled quote, symbologies by name and number, a Windows line end and
  // a blank line; the command line's options apply to every line.
  const std::string lines = "\"A,B \"\"C\"\"\"," + dir.File("one.bmp") + "\n" +
                            "590123412345," + dir.File("two.bmp") + ",ean13\r\n" +
                            "\n" +
                            "HELLO," + dir.File("three.bmp") + ",3\n";
  for (const bool fromFile : {false, true}) {
    for (const char* name : {"one.bmp", "two.bmp", "three.bmp"}) std::filesystem::remove(dir.File(name));
    std::ofstream(dir.File("batch.csv"), std::ios::binary) << lines;
    const testing::ProgramResult run =
        fromFile ? Varnel({"--size", "400x200", "--batch", dir.File("batch.csv")})
                 : Varnel({"--size", "400x200", "-b", "-"}, lines);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "no progress bar when standard error is not a terminal";
    EXPECT_EQ(ZbarReads(ReadPicture(dir.File("one.bmp"))), std::vector<std::string>{"A,B \"C\""});
    EXPECT_EQ(ZbarReads(ReadPicture(dir.File("two.bmp"))), std::vector<std::string>{"5901234123457"});
    EXPECT_EQ(ZbarReads(ReadPicture(dir.File("three.bmp"))), std::vector<std::string>{"HELLO"});
    EXPECT_EQ(ReadPicture(dir.File("three.bmp")).width, 400);
  }
}

TEST(CliTest, BatchGoesOnPastBadLines) {
  const TempDir dir;
  const std::string refused = "590123412345," + dir.File("one.png") + ",ean13\n" +
                              "59012341234," + dir.File("two.png") + ",ean13\n" +
                              "HELLO," + dir.File("three.bmp") + ",code39\n";
  testing::ProgramResult run = Varnel({"-b", "-"}, refused);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("12 digits are required."), std::string::npos) << run.err;
  EXPECT_TRUE(Exists(dir.File("one.png")));
  EXPECT_FALSE(Exists(dir.File("two.png")));
  EXPECT_EQ(ZbarReads(ReadPicture(dir.File("three.bmp"))), std::vector<std::string>{"HELLO"});

  // A line that is not a barcode at all is a failure of its own, and outweighs refused data.
  for (const std::string& broken : {std::string("only-one-field"), "\"unclosed," + dir.File("x.bmp"),
                                    "1," + dir.File("x.bmp") + ",nosuch", "1," + dir.File("x.bmp") + ",3,extra"}) {
    run = Varnel({"-b", "-"}, refused + broken + "\n");
    EXPECT_EQ(run.exitCode, 1) << broken;
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << broken << "\n" << run.err;
    EXPECT_FALSE(Exists(dir.File("x.bmp"))) << broken;
  }

  run = Varnel({"-b", dir.File("missing.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("missing.csv"), std::string::npos) << run.err;
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
  EXPECT_NE(run.out.find("3/3"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find('#'), std::string::npos) << run.out;
  EXPECT_TRUE(Exists(dir.File("c.png")));
  // Off a terminal the same batch says nothing.
  const testing::ProgramResult quiet = Varnel({"-b", dir.File("batch.csv")});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, "");
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
// name ends two blocks. In memory, so that the disk's flushes do not decide the timing.
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
             "590123412345," + out + "/ean-" + first + ".png,ean13\n" +
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
    return Varnel({"--size", "600x200", "-b", dir.File("batch.csv"), "--jobs", jobs});
  };
  const testing::ProgramResult one = draw("1");
  const std::map<std::string, std::vector<std::uint8_t>> oneFiles = FilesIn(out);
  ASSERT_EQ(one.exitCode, 1) << one.err;
  ASSERT_EQ(oneFiles.at("kept.png"), old);
  ASSERT_EQ(oneFiles.size(), 1 + 10 * 3u) << "kept, and code, ean and shared for each block";

  const testing::ProgramResult four = draw("4");
  EXPECT_EQ(four.exitCode, one.exitCode);
  EXPECT_EQ(four.err, one.err);
  const std::map<std::string, std::vector<std::uint8_t>> fourFiles = FilesIn(out);
  ASSERT_EQ(fourFiles.size(), oneFiles.size());
  for (const auto& [name, bytes] : oneFiles) EXPECT_TRUE(fourFiles.at(name) == bytes) << name;
}

// --list prints the catalogue's rows, every one and nothing else.
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
    EXPECT_EQ(title, row.title) << line;
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
  }
  EXPECT_EQ(run.out, expected);
}

TEST(CliTest, HelpAndVersionAnswerOnStandardOutput) {
  for (const char* option : {"--help", "-h"}) {
    const testing::ProgramResult run = Varnel({option});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Usage: varnel", 0), 0u) << run.out;
    for (const char* documented : {"--symbology", "--batch", "--jobs", "--list", "--dpi", "Exit status"}) {
      EXPECT_NE(run.out.find(documented), std::string::npos) << documented;
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
