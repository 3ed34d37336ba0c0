// Encoders write into memory that is not cleared for them: a byte they made room for and did not
// write would carry whatever the memory held before. Encoding the same picture again, after the
// memory the first file could have come from was filled with another pattern, must give the same
// bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "writers/png_file.h"
#include "writers/svg_file.h"
#include "writers/wmf_file.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"

namespace varnel {
namespace {

struct Encoder {
  const char* name;
  std::optional<FileBytes> (*encode)(const Surface&);
};

// The default colours: black bars on white.
constexpr Palette kBlackOnWhite{kBlack, 0xFFFFFF};

const Encoder kEncoders[] = {
    {"BMP", [](const Surface& s) { return EncodeOneBitBmp(s, kBlackOnWhite); }},
    {"PNG", [](const Surface& s) { return EncodeOneBitPng(s, kBlackOnWhite, {96, 96}, false); }},
    {"WMF", [](const Surface& s) { return EncodePlaceableWmf(s, 96); }},
    {"EMF", [](const Surface& s) { return EncodeEmf(s, ScreenResolution{96, 96}); }},
    {"SVG", [](const Surface& s) { return EncodeSvg(s, ScreenResolution{96, 96}, std::nullopt); }},
};

// Takes blocks of every size up to twice the file's and gives them back filled with `pattern`, so
// that the allocator hands that memory to the next encoder.
void SoilFreedMemory(std::size_t fileSize, int pattern) {
  std::vector<void*> blocks;
  for (std::size_t size = 16; size <= 2 * fileSize + 4096; size += size / 4) {
    void* block = std::malloc(size);
    if (block == nullptr) continue;
    std::memset(block, pattern, size);
    blocks.push_back(block);
  }
  for (void* block : blocks) std::free(block);
}

TEST(FileBytesTest, EveryByteOfAnEncodedFileIsWritten) {
  Context context;
  for (int symbology = 0; symbology < kSymbologyCount; ++symbology) {
    for (const int orientation : {0, 1}) {
      testing::ResetLibrary(context);
      SetBasicInfo(context, symbology, 0.05, 2.5, orientation, kDashedFrame);
      SetSymbology(context, symbology);
      SetMessage(context, testing::SampleMessage(symbology));
      SetSupplementInfo(context, kSupplement2, "12", 0.3);
      const Surface& surface = RenderToSurface(context);
      for (const Encoder& encoder : kEncoders) {
        std::vector<FileBytes> files;
        for (const int pattern : {0x00, 0xFF, 0xA5}) {
          SoilFreedMemory(files.empty() ? 65536 : files.front().size(), pattern);
          auto file = encoder.encode(surface);
          ASSERT_TRUE(file) << encoder.name;
          files.push_back(std::move(*file));
        }
        EXPECT_EQ(files[0], files[1]) << encoder.name << ", symbology " << symbology << ", orientation " << orientation;
        EXPECT_EQ(files[0], files[2]) << encoder.name << ", symbology " << symbology << ", orientation " << orientation;
      }
    }
  }
}

}  // namespace
}  // namespace varnel
