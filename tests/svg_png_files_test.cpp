// The SVG and PNG exports keep the file rules of every output: a file is replaced whole or not at
// all, and a failure never costs the old file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/file_size_limit.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

struct Export {
  const char* name;
  VnBool (*save)(const char*);
};
constexpr Export kExports[] = {{"SVG", VnSaveAsSVG}, {"PNG", VnSaveAsPNG}};

std::size_t Entries(const testing::TempDir& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder.path()), {}));
}

TEST(SvgPngFiles, AFileIsReplacedWholeOrNotAtAll) {
  for (const Export& e : kExports) {
    testing::ResetLibrary();
    testing::TempDir folder;
    EXPECT_EQ(e.save(nullptr), 0) << e.name;
    EXPECT_EQ(e.save(""), 0) << e.name;

    const std::string missing = folder.File("no/such/folder/picture");
    EXPECT_EQ(e.save(missing.c_str()), 0) << e.name;
    EXPECT_FALSE(std::filesystem::exists(missing)) << e.name;

    const std::string subfolder = folder.File("a-folder");
    std::filesystem::create_directory(subfolder);
    EXPECT_EQ(e.save(subfolder.c_str()), 0) << e.name;
    EXPECT_TRUE(std::filesystem::is_directory(subfolder)) << e.name;

    const std::string fresh = folder.File("fresh"), reused = folder.File("reused");
    ASSERT_EQ(e.save(fresh.c_str()), 1) << e.name;
    testing::WriteFileBytes(reused, std::vector<std::uint8_t>(100000, 0xEE));
    ASSERT_EQ(e.save(reused.c_str()), 1) << e.name;
    EXPECT_EQ(testing::ReadFileBytes(reused), testing::ReadFileBytes(fresh)) << e.name;
    EXPECT_EQ(Entries(folder), 3u) << e.name << ": a temporary file was left behind";
  }
}

TEST(SvgPngFiles, AWriteThatFailsPartWayKeepsTheOldFile) {
  for (const Export& e : kExports) {
    testing::ResetLibrary();
    testing::TempDir folder;
    const std::string path = folder.File("kept");
    const std::vector<std::uint8_t> old(10, 7);
    testing::WriteFileBytes(path, old);
    // Both files are larger than the limit, so the write fails part-way.
    const VnBool result = testing::SaveUnderFileSizeLimit(e.save, path, 200);
    EXPECT_EQ(result, 0) << e.name;
    EXPECT_EQ(testing::ReadFileBytes(path), old) << e.name;
    EXPECT_EQ(Entries(folder), 1u) << e.name << ": a partial file was left behind";
  }
}

}  // namespace
}  // namespace varnel
