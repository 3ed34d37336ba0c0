// What a host may pass though no careful host would: picture sizes, centimetres, ratios and font
// heights at the ends of their ranges, texts of every byte at full length, NULL pointers. Each must
// give a sound picture or a clean 0 at once, never a crash, undefined behaviour (the sanitizer
// build runs these too) or a lost file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/bmp_reader.h"
#include "support/child_process.h"
#include "support/file_outputs.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

using Clock = std::chrono::steady_clock;

using testing::FileOutput;
using testing::kFileOutputs;
// The outputs whose pixels are allocated.
constexpr FileOutput kRasterOutputs[] = {{"BMP", VnSaveAsBMP}, {"PNG", VnSaveAsPNG}};
constexpr std::ptrdiff_t kFileOutputCount = std::size(kFileOutputs);

bool IsWmf(const FileOutput& output) { return output.save == VnSaveAsWMF; }

const std::vector<std::uint8_t> kOldBytes = {'o', 'l', 'd'};

std::ptrdiff_t EntryCount(const testing::TempDir& folder) {
  return std::distance(std::filesystem::directory_iterator(folder.path()), {});
}

// The process's peak resident memory so far, in kilobytes.
long PeakResidentKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// `length` bytes cycling through `alphabet`.
std::string Cycled(const std::string& alphabet, std::size_t length) {
  std::string text(length, '\0');
  for (std::size_t i = 0; i < length; ++i) text[i] = alphabet[i % alphabet.size()];
  return text;
}

std::string EveryByte() {
  std::string bytes;
  for (int b = 0x01; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

// The WMF export writes a whole file or, refusing a value beyond its 16-bit fields, nothing at all.
void ExpectWmfOrNothing(const std::string& path, const std::string& where) {
  std::filesystem::remove(path);
  if (VnSaveAsWMF(path.c_str()) == 0) {
    EXPECT_FALSE(std::filesystem::exists(path)) << where;
  }
}

// Every output on the current settings: each file output writes its file (the WMF may refuse,
// writing nothing) and the clipboard takes the picture.
void ExpectEveryOutputToDraw(const testing::TempDir& folder, const std::string& where) {
  for (const FileOutput& output : kFileOutputs) {
    const std::string path = folder.File(std::string("every.") + output.name);
    if (IsWmf(output)) {
      ExpectWmfOrNothing(path, where);
    } else {
      EXPECT_EQ(output.save(path.c_str()), 1) << where << ", " << output.name;
    }
  }
  EXPECT_EQ(VnCopyToClipboard(), 1) << where;
}

void UseSample(int symbology, int orientation, int frame) {
  VnBasicInfo(symbology, 0.07, 2.0, orientation, frame);
  VnSetSymbology(symbology);
  VnSetMessage(testing::SampleMessage(symbology));
}

// Sizes whose one-bit pixel rows would pass 4 GiB, which neither a BMP nor (by its promise) a PNG
// holds: rows of 268 MB sixteen times, 8.6 GB of one-word rows, 4.4 GB in a near-square, and both
// sides at their largest. The dashed frame is the one drawing whose work grows with the picture;
// the refusal must come before it is drawn.
TEST(HostileSizes, PicturesNoRasterCanHoldAreRefusedAtOnceAndTheOldFileStays) {
  struct Size {
    int width, height;
  };
  testing::TempDir folder;
  const std::string path = folder.File("kept");
  for (const Size size : {Size{INT_MAX, INT_MAX}, Size{INT_MAX, 16}, Size{1, INT_MAX}, Size{140000, 250000}}) {
    for (const FileOutput& output : kRasterOutputs) {
      const std::string what = std::string(output.name) + " " + std::to_string(size.width) + " x " +
                               std::to_string(size.height);
      testing::ResetLibrary();
      UseSample(kCode128, 0, kDashedFrame);
      VnSetMessage(Cycled("0123456789", 999).c_str());
      VnSetSize(size.width, size.height);
      testing::WriteFileBytes(path, kOldBytes);
      const long peakBefore = PeakResidentKb();
      const auto start = Clock::now();
      EXPECT_EQ(output.save(path.c_str()), 0) << what;
      EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << what;
      EXPECT_LT(PeakResidentKb() - peakBefore, 16 * 1024) << what;
      EXPECT_EQ(testing::ReadFileBytes(path), kOldBytes) << what;
      EXPECT_EQ(EntryCount(folder), 1) << what << ": no partial file";
    }
  }
}

// An empty path names no file, so no picture is drawn for it: not even one of 3.2 GB that a BMP
// could hold.
TEST(HostileSizes, AnEmptyPathIsRefusedBeforeAnythingIsDrawn) {
  for (const FileOutput& output : kFileOutputs) {
    testing::ResetLibrary();
    UseSample(kCode128, 0, kNoFrame);
    VnSetSize(INT_MAX, 12);
    const long peakBefore = PeakResidentKb();
    const auto start = Clock::now();
    EXPECT_EQ(output.save(""), 0) << output.name;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << output.name;
    EXPECT_LT(PeakResidentKb() - peakBefore, 16 * 1024) << output.name;
  }
}

// 450 MB of pixels fit a BMP's sizes but not an address space held to 128 MB above what the
// process already uses: the allocation fails, and the export says so. An everyday picture is still
// drawn within that limit, so it is the picture's memory that fails.
TEST(HostileSizes, APictureWhoseMemoryCannotBeHadIsRefusedAndTheOldFileStays) {
#ifdef VARNEL_SANITIZE
  GTEST_SKIP() << "AddressSanitizer's allocator ends the process on an exhausted address space "
                  "instead of failing the allocation";
#endif
  testing::TempDir folder;
  const std::string path = folder.File("kept.bmp");
  testing::WriteFileBytes(path, kOldBytes);
  const std::string everyday = folder.File("everyday.bmp");
  const int status = testing::ExitStatusInChild([&] {
    testing::ResetLibrary();
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    const std::vector<std::uint8_t> statm = testing::ReadFileBytes("/proc/self/statm");
    const rlim_t pages = std::stoull(std::string(statm.begin(), statm.end()));
    limit.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{128} << 20);
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    if (VnSaveAsBMP(everyday.c_str()) != 1) return 3;
    VnSetSize(60000, 60000);
    return VnSaveAsBMP(path.c_str()) == 0 ? 0 : 1;
  });
  EXPECT_EQ(status, 0) << "1: the export claimed success; 2: no limit could be set; 3: nothing could be "
                          "drawn within the limit; -1: it crashed";
  EXPECT_EQ(testing::ReadFileBytes(path), kOldBytes);
  EXPECT_EQ(EntryCount(folder), 2) << "no partial file";
}

// A dashed frame records a line for every eight pixels of edge; around a picture of billions of
// pixels that would be gigabytes of recording. Every output refuses it at once instead, and the
// clipboard keeps what it had. A frame around half a million pixels is still drawn.
// A full recording takes a few megabytes; AddressSanitizer holds every freed block back in its
// quarantine, so there the bound only tells megabytes from gigabytes.
#ifdef VARNEL_SANITIZE
constexpr long kRecordingMemoryBoundKb = 512 * 1024;
#else
constexpr long kRecordingMemoryBoundKb = 64 * 1024;
#endif

TEST(HostileSizes, AFrameTooLongToRecordIsRefusedByEveryOutput) {
  testing::TempDir folder;
  testing::ResetLibrary();
  UseSample(kCode39, 0, kSolidFrame);
  ASSERT_EQ(VnCopyToClipboard(), 1);
  const int clipboardBefore = VnGetClipboardEMF(nullptr, 0);
  std::vector<std::uint8_t> before(static_cast<std::size_t>(clipboardBefore));
  VnGetClipboardEMF(before.data(), clipboardBefore);

  for (const int width : {INT_MAX, 4000000}) {
    testing::ResetLibrary();
    UseSample(kCode39, 0, kDashedFrame);
    VnSetSize(width, width == INT_MAX ? INT_MAX : 100);
    const long peakBefore = PeakResidentKb();
    const auto start = Clock::now();
    for (const FileOutput& output : kFileOutputs) {
      const std::string path = folder.File(std::string("kept.") + output.name);
      testing::WriteFileBytes(path, kOldBytes);
      EXPECT_EQ(output.save(path.c_str()), 0) << output.name << " " << width;
      EXPECT_EQ(testing::ReadFileBytes(path), kOldBytes) << output.name << " " << width;
    }
    EXPECT_EQ(VnCopyToClipboard(), 0) << width;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << width;
    EXPECT_LT(PeakResidentKb() - peakBefore, kRecordingMemoryBoundKb) << width;
    std::vector<std::uint8_t> after(before.size());
    ASSERT_EQ(VnGetClipboardEMF(after.data(), static_cast<int>(after.size())), clipboardBefore);
    EXPECT_EQ(after, before) << "the clipboard keeps what it had";
  }
  EXPECT_EQ(EntryCount(folder), kFileOutputCount) << "no partial files";

  testing::ResetLibrary();
  UseSample(kCode39, 0, kDashedFrame);
  VnSetSize(500000, 100);
  EXPECT_EQ(VnSaveAsEMF(folder.File("wide.emf").c_str()), 1);
}

// Values a Windows metafile's 16-bit fields cannot hold: no file at all, not even a partial one.
// (A picture wider or taller than 32767 pixels and a resolution above 65535 are in the WMF suite.)
TEST(HostileSizes, WmfWritesNothingForWhatSixteenBitsCannotHold) {
  struct Case {
    const char* what;
    int width, height, fontHeight;
    double narrowCm;
  };
  const Case cases[] = {
      {"the largest picture", INT_MAX, INT_MAX, 24, 0.07},
      {"a font of INT_MAX", 300, 200, INT_MAX, 0.07},
      {"text centred a thousand million pixels along", 300, 200, 24, 1e30},
  };
  testing::TempDir folder;
  for (const Case& c : cases) {
    testing::ResetLibrary();
    UseSample(kCode39, 0, kDashedFrame);
    VnBasicInfo(kCode39, c.narrowCm, 2.0, 0, kDashedFrame);
    VnSetSize(c.width, c.height);
    VnFontInfo("Arial", c.fontHeight);
    const auto start = Clock::now();
    EXPECT_EQ(VnSaveAsWMF(folder.File("new.wmf").c_str()), 0) << c.what;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << c.what;
    EXPECT_EQ(EntryCount(folder), 0) << c.what;
  }
}

// Centimetres and ratios whose pixels exceed the int range are taken as the largest int: the
// symbol runs past the picture, starts at its edge and shows as much as fits. A first bar of such
// a width covers the picture from edge to edge across the whole band of bars, in every
// orientation; the file outputs write whole files (the WMF may refuse, writing nothing, when the
// run's text lies beyond its 16-bit coordinates).
TEST(HostileValues, CentimetresBeyondTheIntRangeDrawTheSymbolsStartAcrossThePicture) {
  testing::TempDir folder;
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (int orientation = 0; orientation < 4; ++orientation) {
      testing::ResetLibrary();
      VnBasicInfo(symbology, 1e30, 1e9, orientation, kNoFrame);
      VnSetSymbology(symbology);
      VnSetMessage(testing::SampleMessage(symbology));
      VnSupplementInfo(kSupplement5, "12345", 1e30);
      const std::string bmp = folder.File("extreme.bmp");
      ASSERT_EQ(VnSaveAsBMP(bmp.c_str()), 1) << symbology << " " << orientation;
      const auto read = testing::ReadBmp(bmp);
      ASSERT_TRUE(read.has_value());
      const testing::Bitmap upright = testing::Unrotate(*read, orientation);
      int darkRows = 0;
      for (int y = 0; y < upright.height; ++y) {
        bool allDark = true;
        for (int x = 0; x < upright.width && allDark; ++x) allDark = testing::IsDark(upright, x, y);
        darkRows += allDark ? 1 : 0;
      }
      EXPECT_GT(darkRows, 0) << "symbology " << symbology << ", orientation " << orientation;

      ExpectEveryOutputToDraw(folder, "symbology " + std::to_string(symbology) + ", orientation " +
                                          std::to_string(orientation));
    }
  }
}

// The same for a screen resolution of INT_MAX, an add-on gap of 1e30 cm, NaN and infinities: every
// output succeeds or refuses cleanly, and the values that no setter keeps (NaN, zero, negatives)
// leave the defaults in place.
TEST(HostileValues, NotANumberInfinitiesAndTheLargestResolutionGiveWholeFiles) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    double narrow, ratio, gap;
    int dpi;
  };
  const Case cases[] = {
      {"NaN everywhere", kNaN, kNaN, kNaN, 96},
      {"negative infinities", -kInfinity, -kInfinity, -kInfinity, 96},
      {"infinities", kInfinity, kInfinity, kInfinity, 96},
      {"the largest double", DBL_MAX, DBL_MAX, DBL_MAX, 96},
      {"the smallest double", DBL_MIN, 4.9e-324, DBL_MIN, 96},
      {"the largest resolution", 0.07, 2.0, 0.5, INT_MAX},
  };
  testing::TempDir folder;
  for (const Case& c : cases) {
    for (const int symbology : {kCode39, kEan13, kUpcE, kPostnet, kCode128}) {
      testing::ResetLibrary();
      VnSetScreenResolution(c.dpi, c.dpi);
      VnBasicInfo(symbology, c.narrow, c.ratio, symbology % 4, kDashedFrame);
      VnSetMessage(testing::SampleMessage(symbology));
      VnSupplementInfo(kSupplement2, "12", c.gap);
      ExpectEveryOutputToDraw(folder, c.what);
    }
    // A value not kept leaves the default in place: the picture is the one drawn with it.
    testing::ResetLibrary();
    VnBasicInfo(kCode39, c.narrow > 0 ? c.narrow : 0.07, c.ratio > 0 ? c.ratio : 2.0, 0, 0);
    const testing::Bitmap expected = testing::RenderToBitmap();
    testing::ResetLibrary();
    VnBasicInfo(kCode39, c.narrow, c.ratio, 0, 0);
    const testing::Bitmap drawn = testing::RenderToBitmap();
    EXPECT_EQ(drawn.width, expected.width) << c.what;
    EXPECT_EQ(drawn.gray, expected.gray) << c.what;
  }
}

// A font height of 0 or below leaves the text no room: no text is drawn and the bars keep their
// height, though the centring still counts the band below them as that height minus 4. From INT_MIN
// to INT_MAX every height gives a whole BMP; only a positive height beyond 16 bits stops the WMF
// (text that is not drawn records no font).
TEST(HostileValues, FontHeightsOfZeroNegativeAndExtremeGiveSoundPictures) {
  testing::TempDir folder;
  const std::string path = folder.File("font.bmp");
  for (const int height : {0, -1, -24, 1, 24, 2048, 2049, 32767, INT_MAX, INT_MIN + 1, INT_MIN}) {
    testing::ResetLibrary();
    UseSample(kCode39, 0, kNoFrame);
    VnFontInfo("Arial", height);
    ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1) << height;
    EXPECT_EQ(VnSaveAsEMF(folder.File("font.emf").c_str()), 1) << height;
    EXPECT_EQ(VnSaveAsWMF(folder.File("font.wmf").c_str()), height <= 32767 ? 1 : 0) << height;
    if (height > 0) continue;

    // Text off gives the bars alone: with a height of 0 or below the picture is those bars, moved.
    const auto withFont = testing::ReadBmp(path);
    VnTextInfo(0, 0, 0);
    ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1);
    const auto barsAlone = testing::ReadBmp(path);
    ASSERT_TRUE(withFont && barsAlone);
    auto darkRows = [](const testing::Bitmap& b) {
      std::vector<std::vector<bool>> rows;
      for (int y = 0; y < b.height; ++y) {
        std::vector<bool> row;
        for (int x = 0; x < b.width; ++x) row.push_back(testing::IsDark(b, x, y));
        if (std::find(row.begin(), row.end(), true) != row.end()) rows.push_back(row);
      }
      return rows;
    };
    const auto text = darkRows(*withFont), bars = darkRows(*barsAlone);
    EXPECT_TRUE(text.empty() || text == bars) << height << ": only the bars, at their height";
    if (height >= -24) {
      EXPECT_EQ(text.size(), bars.size()) << height;
    }
  }
}

// The longest message of every byte (0x01 to 0xFF, cycled to 999 bytes), and the longest messages of
// digits (999 and, for the symbologies that need an even length, 998), in every symbology with
// every combination of the three text switches and both add-ons, through every output.
TEST(HostileValues, LongestMessagesOfEveryByteInEverySymbologyThroughEveryOutput) {
  const std::string messages[] = {Cycled(EveryByte(), 999), Cycled("0123456789", 999), Cycled("0123456789", 998)};
  testing::TempDir folder;
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (const std::string& message : messages) {
      for (int switches = 0; switches < 8; ++switches) {
        for (const int addOn : {kNoSupplement, kSupplement2, kSupplement5}) {
          testing::ResetLibrary();
          VnBasicInfo(symbology, 0.07, 2.0, switches % 4, switches % 3);
          VnSetSymbology(symbology);
          VnSetMessage(message.c_str());
          VnTextInfo(switches & 1, switches & 2, switches & 4);
          VnSupplementInfo(addOn, addOn == kSupplement2 ? "12" : "12345", 0.5);
          const std::string where = "symbology " + std::to_string(symbology) + ", switches " +
                                    std::to_string(switches) + ", add-on " + std::to_string(addOn);
          // A long run of text may be centred beyond 16-bit coordinates, which the WMF refuses.
          int lengthBefore = 0, lengthAfter = 0;
          VnMeasure(&lengthBefore, nullptr);
          ExpectEveryOutputToDraw(folder, where);
          const auto first = testing::ReadBmp(folder.File("every.BMP"));
          ASSERT_TRUE(first.has_value()) << where;
          // The message is kept as it was set: the outputs after the first drew the same picture
          // again, and the symbol, most of it beyond the picture, measures as long as before.
          EXPECT_EQ(testing::RenderToBitmap().gray, first->gray) << where;
          VnMeasure(&lengthAfter, nullptr);
          EXPECT_EQ(lengthAfter, lengthBefore) << where;
        }
      }
    }
  }
}

// A NULL text is the empty text; a NULL path is refused by every file output, and the clipboard's
// metafile is copied only into a buffer large enough, never into one too small or of negative size.
TEST(HostileValues, NullTextsAreEmptyTextsNullPathsAreRefusedAndSmallBuffersUntouched) {
  testing::TempDir folder;
  for (const FileOutput& output : kFileOutputs) {
    testing::ResetLibrary();
    VnBasicInfo(kCode128, 0.07, 2.0, 0, 0);
    VnSetMessage("");
    VnFontInfo("", 24);
    VnSupplementInfo(kSupplement2, "", 0.5);
    const std::string empty = folder.File(std::string("empty.") + output.name);
    ASSERT_EQ(output.save(empty.c_str()), 1) << output.name;

    VnSetMessage(nullptr);
    VnFontInfo(nullptr, 24);
    VnSupplementInfo(kSupplement2, nullptr, 0.5);
    const std::string null = folder.File(std::string("null.") + output.name);
    ASSERT_EQ(output.save(null.c_str()), 1) << output.name;
    EXPECT_EQ(testing::ReadFileBytes(null), testing::ReadFileBytes(empty)) << output.name;
    EXPECT_EQ(output.save(nullptr), 0) << output.name;
  }
  EXPECT_EQ(EntryCount(folder), 2 * kFileOutputCount);

  ASSERT_EQ(VnCopyToClipboard(), 1);
  const int size = VnGetClipboardEMF(nullptr, 0);
  ASSERT_GT(size, 0);
  constexpr std::uint8_t kUntouched = 0xA5;
  for (const int offered : {INT_MIN, -1, 0, 1, size - 1}) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size), kUntouched);
    EXPECT_EQ(VnGetClipboardEMF(buffer.data(), offered), size) << offered;
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(buffer.size(), kUntouched)) << offered;
  }
}

// A NULL context is refused by every context export: no setter reaches the default context, no
// output writes a file or replaces the clipboard's metafile, the measure zeroes the sizes, and the
// last error is "" whatever the default context's is. Destroying NULL does nothing.
TEST(HostileValues, ANullContextIsRefusedByEveryContextExport) {
  testing::ResetLibrary();
  VnBasicInfo(kEan13, 0.07, 2.0, 0, 0);
  VnSetMessage("590123412345");
  ASSERT_EQ(VnCopyToClipboard(), 1);
  std::vector<std::uint8_t> clipboard(static_cast<std::size_t>(VnGetClipboardEMF(nullptr, 0)));
  ASSERT_EQ(VnGetClipboardEMF(clipboard.data(), static_cast<int>(clipboard.size())), static_cast<int>(clipboard.size()));
  // Another picture than the clipboard's, so that a copy made of it would show.
  VnSetMessage("400638133393");
  testing::TempDir reference, folder;
  const std::string before = reference.File("before.bmp"), after = reference.File("after.bmp");
  ASSERT_EQ(VnSaveAsBMP(before.c_str()), 1);

  VnCtxSetDefault(nullptr);
  VnCtxSetSize(nullptr, 500, 100);
  VnCtxSetMessage(nullptr, "12345");
  VnCtxFontInfo(nullptr, "Liberation Serif", 40);
  VnCtxTextInfo(nullptr, 0, 1, 1);
  VnCtxCodaBarInfo(nullptr, 2, 3);
  VnCtxUPCESystem(nullptr, 1);
  VnCtxSupplementInfo(nullptr, kSupplement5, "52495", 1.0);
  VnCtxBasicInfo(nullptr, kCode128, 0.1, 3.0, 1, 2);
  VnCtxSetBackColor(nullptr, 255, 0, 0);
  VnCtxSetBarColor(nullptr, 0, 0, 255);
  VnDestroyContext(nullptr);

  for (const testing::ContextFileOutput& output : testing::kContextFileOutputs) {
    EXPECT_EQ(output.save(nullptr, folder.File(output.name).c_str()), 0) << output.name;
  }
  EXPECT_EQ(EntryCount(folder), 0);
  EXPECT_EQ(VnCtxCopyToClipboard(nullptr), 0);
  std::vector<std::uint8_t> kept(clipboard.size());
  EXPECT_EQ(VnGetClipboardEMF(kept.data(), static_cast<int>(kept.size())), static_cast<int>(kept.size()));
  EXPECT_EQ(kept, clipboard);
  int length = 7, thickness = 7;
  EXPECT_EQ(VnCtxMeasure(nullptr, &length, &thickness), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(thickness, 0);
  EXPECT_EQ(VnCtxMeasure(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(VnCtxMeasureReach(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);

  ASSERT_EQ(VnSaveAsBMP(after.c_str()), 1);
  EXPECT_EQ(testing::ReadFileBytes(after), testing::ReadFileBytes(before));
  VnSetMessage("12345");
  ASSERT_EQ(VnMeasure(nullptr, nullptr), 0);
  ASSERT_STRNE(VnGetLastError(), "");
  EXPECT_STREQ(VnCtxGetLastError(nullptr), "");
}

}  // namespace
}  // namespace varnel
