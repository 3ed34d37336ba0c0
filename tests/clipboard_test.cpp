// The clipboard export: the enhanced metafile it places, what a host copies out, and a clipboard
// that another holder keeps open.
#include "platform/clipboard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/metafile_readers.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::vector<std::uint8_t> ClipboardContent() {
  const int size = VnGetClipboardEMF(nullptr, 0);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0) {
    EXPECT_EQ(VnGetClipboardEMF(bytes.data(), size), size);
  }
  return bytes;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
  }
  // The enhanced metafile of the current settings, as the file export writes it.
  std::vector<std::uint8_t> EmfFile() {
    const std::string path = folder.File("expected.emf");
    EXPECT_EQ(VnSaveAsEMF(path.c_str()), 1);
    return testing::ReadFileBytes(path);
  }
  testing::TempDir folder;
};

TEST_F(ClipboardTest, CopyPlacesTheEnhancedMetafileOfThePicture) {
  for (const char* message : {"FIRST", "SECOND-ONE"}) {
    VnSetMessage(message);
    ASSERT_EQ(VnCopyToClipboard(), 1) << message;
    const std::vector<std::uint8_t> copied = ClipboardContent();
    EXPECT_EQ(copied, EmfFile()) << message;

    // And an independent reader draws it as our BMP.
    const std::string path = folder.File("copied.emf");
    testing::WriteFileBytes(path, copied);
    const testing::ReaderRun run = testing::ReadWithEmf2svg(path);
    EXPECT_EQ(run.exitStatus, 0) << message << run.errors;
    EXPECT_NE(run.svg.find(message), std::string::npos) << message;
  }
}

TEST_F(ClipboardTest, AHostCopiesOutOnlyIntoABufferLargeEnough) {
  ASSERT_EQ(VnCopyToClipboard(), 1);
  const int size = VnGetClipboardEMF(nullptr, 0);
  ASSERT_GT(size, 108);
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 8, 0xA5);
  EXPECT_EQ(VnGetClipboardEMF(buffer.data(), size - 1), size);
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(buffer.size(), 0xA5)) << "a short buffer was written";
  EXPECT_EQ(VnGetClipboardEMF(buffer.data(), size + 8), size);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + size), EmfFile());
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + size, buffer.end()),
            std::vector<std::uint8_t>(8, 0xA5));
}

TEST_F(ClipboardTest, AClipboardHeldByAnotherHolderKeepsWhatItHad) {
  VnSetMessage("KEPT");
  ASSERT_EQ(VnCopyToClipboard(), 1);
  const std::vector<std::uint8_t> kept = ClipboardContent();
  {
    const ClipboardAccess otherHolder;
    ASSERT_TRUE(otherHolder.IsOpen());
    VnSetMessage("LOST");
    EXPECT_EQ(VnCopyToClipboard(), 0);
    EXPECT_EQ(VnGetClipboardEMF(nullptr, 0), 0) << "read while another holder had it open";
    std::vector<std::uint8_t> held(kept.size());
    EXPECT_EQ(otherHolder.ReadEnhMetaFile(held), kept.size());
    EXPECT_EQ(held, kept);
  }
  EXPECT_EQ(ClipboardContent(), kept);
  // Once released, the clipboard opens again.
  ASSERT_EQ(VnCopyToClipboard(), 1);
  EXPECT_EQ(ClipboardContent(), EmfFile());
}

}  // namespace
}  // namespace varnel
