// A host that draws all day: a hundred thousand pictures through every output, over every
// symbology, orientation, frame and several font sizes, leave the process's memory and its open
// files as they were once the first few thousand had warmed the caches.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

// Under the sanitizers every allocation costs many times more, and freed memory is held back in
// quarantine (so resident memory grows by design there); LeakSanitizer checks for leaks instead.
#ifdef VARNEL_SANITIZE
constexpr int kPictures = 10000;
#else
constexpr int kPictures = 100000;
#endif

constexpr int kOutputs = 4;
constexpr int kOrientations = 4;
constexpr int kFrames = 3;
constexpr int kFontHeights[] = {24, 12, 40, -20};
constexpr int kSettingsCount = kSymbologyCount * kOrientations * kFrames * std::size(kFontHeights);
// Every setting through every output once.
constexpr int kCycle = kSettingsCount * kOutputs;

long ResidentBytes() {
  const std::vector<std::uint8_t> statm = testing::ReadFileBytes("/proc/self/statm");
  const std::string fields(statm.begin(), statm.end());
  return std::stol(fields.substr(fields.find(' ') + 1)) * sysconf(_SC_PAGESIZE);
}

std::ptrdiff_t OpenDescriptors() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

// Picture i: its output is i modulo 4, its settings the next of the cycle.
VnBool DrawPicture(int i, const testing::TempDir& folder, std::vector<std::uint8_t>& clipboard) {
  int setting = i / kOutputs % kSettingsCount;
  const int symbology = setting % kSymbologyCount;
  setting /= kSymbologyCount;
  const int orientation = setting % kOrientations;
  setting /= kOrientations;
  const int frame = setting % kFrames;
  setting /= kFrames;

  VnSetDefault();
  VnBasicInfo(symbology, 0.07, 2.0, orientation, frame);
  VnSetSymbology(symbology);
  VnSetMessage(testing::SampleMessage(symbology));
  VnFontInfo("Arial", kFontHeights[setting]);
  VnSupplementInfo(i % 3, "12345", 0.5);
  switch (i % kOutputs) {
    case 0: return VnSaveAsBMP(folder.File("soak.bmp").c_str());
    case 1: return VnSaveAsWMF(folder.File("soak.wmf").c_str());
    case 2: return VnSaveAsEMF(folder.File("soak.emf").c_str());
    default: {
      if (VnCopyToClipboard() == 0) return 0;
      clipboard.resize(static_cast<std::size_t>(VnGetClipboardEMF(nullptr, 0)));
      return VnGetClipboardEMF(clipboard.data(), static_cast<int>(clipboard.size())) > 0 ? 1 : 0;
    }
  }
}

TEST(Soak, AHundredThousandPicturesLeaveMemoryAndOpenFilesAsTheyWere) {
  static_assert(kPictures > kCycle, "the soak runs well past its warm-up");
  testing::ResetLibrary();
  const testing::TempDir folder(testing::MemoryFolder());
  std::vector<std::uint8_t> clipboard;
  int failures = 0;
  for (int i = 0; i < kCycle; ++i) failures += DrawPicture(i, folder, clipboard) == 0 ? 1 : 0;
  const long residentAfterWarmUp = ResidentBytes();
  const std::ptrdiff_t descriptorsAfterWarmUp = OpenDescriptors();

  for (int i = kCycle; i < kPictures; ++i) failures += DrawPicture(i, folder, clipboard) == 0 ? 1 : 0;

  EXPECT_EQ(failures, 0);
  EXPECT_EQ(OpenDescriptors(), descriptorsAfterWarmUp);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3) << "no files left beside";
#ifndef VARNEL_SANITIZE
  // A leak of even 40 bytes a picture would show as 4 MB here.
  EXPECT_LT(ResidentBytes() - residentAfterWarmUp, 2L << 20) << "bytes grown after " << kPictures << " pictures";
#else
  static_cast<void>(residentAfterWarmUp);
#endif
}

}  // namespace
}  // namespace varnel
