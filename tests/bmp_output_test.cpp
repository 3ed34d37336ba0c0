// The BMP export: the exact file layout, and files that are replaced whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/file_size_limit.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

class BmpOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
  }
  std::vector<std::uint8_t> Save(const char* name) {
    const std::string path = folder.File(name);
    EXPECT_EQ(VnSaveAsBMP(path.c_str()), 1);
    return testing::ReadFileBytes(path);
  }
  testing::TempDir folder;
};

TEST_F(BmpOutputTest, HeadersDescribeAOneBitBottomUpPicture) {
  VnSetBarColor(0x12, 0x34, 0x56);
  VnSetBackColor(0xAB, 0xCD, 0xEF);
  const std::vector<std::uint8_t> file = Save("a.bmp");
  ASSERT_EQ(file.size(), 8062u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), 8062u);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 62u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 300u);
  EXPECT_EQ(U32(file, 22), 200u);
  EXPECT_EQ(U16(file, 26), 1);
  EXPECT_EQ(U16(file, 28), 1);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 34), 8000u);
  for (std::size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(U32(file, at), 0u) << at;
  // Colour 0 the bars, colour 1 the background, as blue, green, red, 0.
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.begin() + 62),
            (std::vector<std::uint8_t>{0x56, 0x34, 0x12, 0, 0xEF, 0xCD, 0xAB, 0}));
}

TEST_F(BmpOutputTest, RowsArePaddedToWholeWords) {
  struct Case { int width; std::uint32_t rowBytes; };
  for (const Case c : {Case{1, 4}, Case{32, 4}, Case{33, 8}, Case{300, 40}}) {
    VnSetSize(c.width, 3);
    const std::vector<std::uint8_t> file = Save("rows.bmp");
    EXPECT_EQ(U32(file, 34), c.rowBytes * 3) << c.width;
    EXPECT_EQ(file.size(), 62 + c.rowBytes * 3) << c.width;
  }
}

TEST_F(BmpOutputTest, PixelsAreBackgroundAndBarsInTheirPlaces) {
  VnSetMessage("A");
  const auto path = folder.File("p.bmp");
  ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1);
  const auto read = testing::ReadBmp(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_FALSE(testing::IsDark(*read, 0, 0));
  EXPECT_FALSE(testing::IsDark(*read, 299, 199));
  // '*' starts with a narrow bar at the symbol's left edge; its rows are 62 to 117.
  const int left = (300 - 26 - 26 - 24) / 2;
  EXPECT_TRUE(testing::IsDark(*read, left, 62));
  EXPECT_TRUE(testing::IsDark(*read, left + 1, 117));
  EXPECT_FALSE(testing::IsDark(*read, left, 61));
  EXPECT_FALSE(testing::IsDark(*read, left - 1, 90));
  EXPECT_FALSE(testing::IsDark(*read, left + 2, 90));
}

TEST_F(BmpOutputTest, ASuccessfulSaveReplacesTheOldFileEntirely) {
  const std::string path = folder.File("old.bmp");
  testing::WriteFileBytes(path, std::vector<std::uint8_t>(20000, 0x55));
  ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1);
  EXPECT_EQ(testing::ReadFileBytes(path).size(), 8062u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no file left beside it";
}

TEST_F(BmpOutputTest, UnwritablePathsReturnZeroAndKeepTheOldFile) {
  const std::vector<std::uint8_t> old(123, 0x42);
  const std::string readOnly = folder.File("ro");
  std::filesystem::create_directory(readOnly);
  testing::WriteFileBytes(readOnly + "/kept.bmp", old);
  chmod(readOnly.c_str(), 0555);
  const std::string directory = folder.File("a-folder");
  std::filesystem::create_directory(directory);

  EXPECT_EQ(VnSaveAsBMP(folder.File("missing/x.bmp").c_str()), 0);
  EXPECT_EQ(VnSaveAsBMP(directory.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  EXPECT_EQ(VnSaveAsBMP(nullptr), 0);
  EXPECT_EQ(VnSaveAsBMP(""), 0);
  if (geteuid() != 0) {  // root writes into read-only folders regardless
    EXPECT_EQ(VnSaveAsBMP((readOnly + "/kept.bmp").c_str()), 0);
  }
  EXPECT_EQ(testing::ReadFileBytes(readOnly + "/kept.bmp"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2) << "no partial files";
}

TEST_F(BmpOutputTest, FailedWriteReturnsZeroAndKeepsTheOldFile) {
  const std::string path = folder.File("kept.bmp");
  const std::vector<std::uint8_t> old(10, 7);
  testing::WriteFileBytes(path, old);
  const VnBool result = testing::SaveUnderFileSizeLimit(VnSaveAsBMP, path, 4096);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(testing::ReadFileBytes(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no partial file";
}

TEST_F(BmpOutputTest, DevicesAreNotReplaced) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(VnSaveAsBMP("/dev/full"), 0);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST_F(BmpOutputTest, ALinkIsFollowedToTheFileItNames) {
  const std::string target = folder.File("target.bmp"), link = folder.File("link.bmp");
  testing::WriteFileBytes(target, std::vector<std::uint8_t>{1, 2, 3});
  std::filesystem::create_symlink(target, link);
  ASSERT_EQ(VnSaveAsBMP(link.c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(testing::ReadFileBytes(target).size(), 8062u);
}

TEST_F(BmpOutputTest, PicturesTooLargeForABmpReturnZeroAndKeepTheOldFile) {
  const std::string path = folder.File("kept.bmp");
  const std::vector<std::uint8_t> old(10, 1);
  testing::WriteFileBytes(path, old);
  VnSetSize(INT_MAX, INT_MAX);
  EXPECT_EQ(VnSaveAsBMP(path.c_str()), 0);
  EXPECT_EQ(testing::ReadFileBytes(path), old);
}

TEST_F(BmpOutputTest, ColouredSymbolsKeepTheirColoursInTheTable) {
  VnSetBarColor(200, 0, 0);
  VnSetBackColor(255, 255, 0);
  VnBasicInfo(kCode39, 0.07, 2.0, 0, 2);  // the black frame maps to the nearer colour: the red bars
  const auto path = folder.File("c.bmp");
  ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1);
  const auto read = testing::ReadBmp(path);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->rgb[0], 0xC80000u);                      // the frame's corner
  EXPECT_EQ(read->rgb[150 + 10 * 300], 0xFFFF00u);         // background
}

}  // namespace
}  // namespace varnel
