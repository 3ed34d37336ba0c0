// VnRenderToMemory and its context twin: a host that asks for the size and then for the bytes renders
// once, any setter call or another resolution or format renders afresh, and no buffer, size or format
// a host can pass makes it write where it should not. (That its bytes are the file exports' at every
// setting of the reference suite is checked there.)
//
// Renders are counted where the PNG encoder reaches zlib: every PNG made takes the checksum of its
// header chunk once, and a picture copied from the kept one takes none.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/settings.h"
#include "support/file_outputs.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::atomic<int> pngsMade{0};

}  // namespace
}  // namespace varnel

// Every PNG has one header chunk, whose CRC the encoder has zlib compute over its type and 13 bytes
// of data in one call (a decoder such as libpng feeds the type and the data apart).
extern "C" uLong crc32(uLong crc, const Bytef* data, uInt length) {
  static auto* const real = reinterpret_cast<decltype(&crc32)>(dlsym(RTLD_NEXT, "crc32"));
  if (data != nullptr && length == 4 + 13 && std::memcmp(data, "IHDR", 4) == 0) ++varnel::pngsMade;
  return real(crc, data, length);
}

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The PNGs made since the count was started.
class PngCount {
 public:
  int Since() const { return pngsMade - start_; }

 private:
  int start_ = pngsMade;
};

// The memory output on the default context or on a context of the test's own, so that every test
// holds both to the same rules.
struct Host {
  const char* name;
  VnContext* context;  // null: the classic exports

  int Render(int format, void* buffer, int size) const {
    return context != nullptr ? VnCtxRenderToMemory(context, format, buffer, size)
                              : VnRenderToMemory(format, buffer, size);
  }
  std::optional<Bytes> Take(int format) const {
    return context != nullptr ? testing::PictureInMemory(context, format) : testing::PictureInMemory(format);
  }
  void Message(const char* data) const { context != nullptr ? VnCtxSetMessage(context, data) : VnSetMessage(data); }
  void Size(int width, int height) const {
    context != nullptr ? VnCtxSetSize(context, width, height) : VnSetSize(width, height);
  }
  void Basic(int symbology, int orientation, int frame) const {
    context != nullptr ? VnCtxBasicInfo(context, symbology, 0, 0, orientation, frame)
                       : VnBasicInfo(symbology, 0, 0, orientation, frame);
  }
  void Symbology(int symbology) const {
    context != nullptr ? VnCtxSetSymbology(context, symbology) : VnSetSymbology(symbology);
  }
  const char* LastError() const { return context != nullptr ? VnCtxGetLastError(context) : VnGetLastError(); }
  // The file export's bytes; none when it refuses the picture.
  Bytes File(int format, const testing::TempDir& folder) const {
    const std::string path = folder.File("file");
    std::filesystem::remove(path);
    for (const testing::FileOutput& output : testing::kFileOutputs) {
      if (output.format == format && context == nullptr) output.save(path.c_str());
    }
    for (const testing::ContextFileOutput& output : testing::kContextFileOutputs) {
      if (output.format == format && context != nullptr) output.save(context, path.c_str());
    }
    return testing::ReadFileBytes(path);
  }
};

class MemoryOutput : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    testing::ResetLibrary();
    if (GetParam()) {
      context_ = VnCreateContext();
      ASSERT_NE(context_, nullptr);
    }
    host_ = Host{GetParam() ? "context" : "classic", context_};
  }
  void TearDown() override {
    VnDestroyContext(context_);
    testing::ResetLibrary();
  }

  VnContext* context_ = nullptr;
  Host host_{};
};

TEST_P(MemoryOutput, TheSizeAndThenTheBytesCostOneRender) {
  host_.Message("SIZE THEN BYTES");
  host_.Basic(kCode39, 0, kNoFrame);
  const PngCount asked;
  const int size = host_.Render(VN_FORMAT_PNG, nullptr, 0);
  ASSERT_GT(size, 0);
  EXPECT_EQ(asked.Since(), 1);
  Bytes bytes(static_cast<std::size_t>(size));
  EXPECT_EQ(host_.Render(VN_FORMAT_PNG, bytes.data(), size), size);
  EXPECT_EQ(host_.Render(VN_FORMAT_PNG, bytes.data(), size), size);
  EXPECT_EQ(asked.Since(), 1) << "the kept picture is copied";
  testing::TempDir folder;
  EXPECT_EQ(bytes, host_.File(VN_FORMAT_PNG, folder));
  EXPECT_EQ(asked.Since(), 1) << "the file export saves the kept picture";

  // One call with room enough renders once too, after any setter call.
  host_.Message("ONE CALL");
  const PngCount once;
  Bytes room(static_cast<std::size_t>(size) * 2);
  const int taken = host_.Render(VN_FORMAT_PNG, room.data(), static_cast<int>(room.size()));
  ASSERT_GT(taken, 0);
  EXPECT_EQ(once.Since(), 1);
  room.resize(static_cast<std::size_t>(taken));
  EXPECT_EQ(room, host_.File(VN_FORMAT_PNG, folder));
}

// The picture kept is the last format's: asking for another replaces it. The resolution is the
// process's, and a picture kept at one is not the picture at another, even once it is set back.
TEST_P(MemoryOutput, AnotherFormatOrResolutionRendersAfresh) {
  const PngCount count;
  ASSERT_GT(host_.Render(VN_FORMAT_PNG, nullptr, 0), 0);
  ASSERT_GT(host_.Render(VN_FORMAT_SVG, nullptr, 0), 0);
  ASSERT_GT(host_.Render(VN_FORMAT_PNG, nullptr, 0), 0);
  EXPECT_EQ(count.Since(), 2);

  const std::optional<Bytes> at96 = host_.Take(VN_FORMAT_PNG);
  VnSetScreenResolution(120, 96);
  const std::optional<Bytes> at120 = host_.Take(VN_FORMAT_PNG);
  VnSetScreenResolution(96, 96);
  const std::optional<Bytes> back = host_.Take(VN_FORMAT_PNG);
  EXPECT_EQ(count.Since(), 4);
  ASSERT_TRUE(at96 && at120 && back);
  EXPECT_NE(*at96, *at120);
  EXPECT_EQ(*at96, *back);
}

// Data the symbology refuses: the file exports' picture of the message, and its message as the last
// error, whether the picture was rendered or copied from the kept one; a message composed for the
// data (GS1-128's) as well as a fixed one.
TEST_P(MemoryOutput, RefusedDataGivesTheFilesPictureAndLastError) {
  struct Refusal {
    int symbology;
    const char* refused;
    const char* message;
    const char* drawn;
  };
  for (const Refusal& r : {Refusal{kEan13, "12", "12 digits are required.", "590123412345"},
                           Refusal{kGs1_128, "(01)09501101530003(17)260230", "AI (17): 260230 is not a date.",
                                   "(01)09501101530003(17)260228"}}) {
    host_.Basic(r.symbology, 0, kNoFrame);
    host_.Symbology(r.symbology);
    host_.Message(r.refused);
    testing::TempDir folder;
    for (const testing::FileOutput& output : testing::kFileOutputs) {
      const std::optional<Bytes> memory = host_.Take(output.format);
      ASSERT_TRUE(memory.has_value()) << output.name;
      EXPECT_STREQ(host_.LastError(), r.message) << output.name;
      EXPECT_EQ(*memory, host_.File(output.format, folder)) << output.name;
    }
    host_.Message(r.drawn);
    EXPECT_TRUE(host_.Take(VN_FORMAT_BMP).has_value());
    EXPECT_STREQ(host_.LastError(), "");
  }
}

// A buffer too small, a negative size, a format that does not exist: nothing is written, not a byte
// past the buffer nor into it. A size larger than the buffer's says only that it has room.
TEST_P(MemoryOutput, NothingIsWrittenWhereThePictureDoesNotFit) {
  constexpr std::uint8_t kCanary = 0xA5;
  constexpr std::size_t kGuard = 64;
  for (const testing::FileOutput& output : testing::kFileOutputs) {
    const int size = host_.Render(output.format, nullptr, 0);
    ASSERT_GT(size, 0) << output.name;
    EXPECT_EQ(host_.Render(output.format, nullptr, 1000000), size) << output.name;
    Bytes buffer(static_cast<std::size_t>(size) + kGuard, kCanary);
    for (const int tooSmall : {0, 1, size - 1}) {
      EXPECT_EQ(host_.Render(output.format, buffer.data(), tooSmall), size) << output.name << " " << tooSmall;
      EXPECT_EQ(buffer, Bytes(buffer.size(), kCanary)) << output.name << " " << tooSmall;
    }
    for (const int negative : {-1, -size, INT_MIN}) {
      EXPECT_EQ(host_.Render(output.format, buffer.data(), negative), 0) << output.name << " " << negative;
      EXPECT_EQ(buffer, Bytes(buffer.size(), kCanary)) << output.name << " " << negative;
    }
    // The picture fills the buffer's start and stops at its own size, however much room is claimed.
    for (const int room : {size, INT_MAX}) {
      buffer.assign(buffer.size(), kCanary);
      EXPECT_EQ(host_.Render(output.format, buffer.data(), room), size) << output.name << " " << room;
      EXPECT_EQ(Bytes(buffer.begin() + size, buffer.end()), Bytes(kGuard, kCanary)) << output.name << " " << room;
      EXPECT_NE(Bytes(buffer.begin(), buffer.begin() + size), Bytes(static_cast<std::size_t>(size), kCanary));
    }
  }
  Bytes buffer(4096, kCanary);
  for (const int unknown : {0, -1, 6, 100, INT_MAX, INT_MIN}) {
    EXPECT_EQ(host_.Render(unknown, buffer.data(), static_cast<int>(buffer.size())), 0) << unknown;
    EXPECT_EQ(host_.Render(unknown, nullptr, 0), 0) << unknown;
  }
  EXPECT_EQ(buffer, Bytes(buffer.size(), kCanary));
}

// What the file exports refuse, the memory output refuses, at once where the file exports refuse at
// once: a raster over 4 GiB, a WMF past its 16-bit coordinates, a frame of more operations than a
// picture records.
TEST_P(MemoryOutput, PicturesTheFileExportsRefuseAreRefused) {
  struct Refusal {
    int format;
    int width, height, frame;
  };
  const Refusal refusals[] = {
      {VN_FORMAT_BMP, INT_MAX, INT_MAX, kNoFrame}, {VN_FORMAT_PNG, INT_MAX, 16, kNoFrame},
      {VN_FORMAT_WMF, 40000, 300, kNoFrame},       {VN_FORMAT_BMP, 4000000, 100, kDashedFrame},
      {VN_FORMAT_WMF, 4000000, 100, kDashedFrame}, {VN_FORMAT_EMF, 4000000, 100, kDashedFrame},
      {VN_FORMAT_SVG, 4000000, 100, kDashedFrame}, {VN_FORMAT_PNG, 4000000, 100, kDashedFrame},
  };
  Bytes buffer(1024, 0xA5);
  for (const Refusal& r : refusals) {
    const std::string what = std::to_string(r.format) + " " + std::to_string(r.width) + " x " + std::to_string(r.height);
    host_.Basic(kCode39, 0, r.frame);
    // A picture of the same format kept from smaller settings must not stand in for the refused one.
    host_.Size(300, 100);
    ASSERT_GT(host_.Render(r.format, nullptr, 0), 0) << what;
    host_.Size(r.width, r.height);
    EXPECT_EQ(host_.Render(r.format, nullptr, 0), 0) << what;
    EXPECT_EQ(host_.Render(r.format, buffer.data(), static_cast<int>(buffer.size())), 0) << what;
    EXPECT_EQ(buffer, Bytes(buffer.size(), 0xA5)) << what;
  }
  // A WMF refused is no reason to refuse the same picture in another format.
  host_.Basic(kCode39, 0, kNoFrame);
  host_.Size(40000, 300);
  EXPECT_EQ(host_.Render(VN_FORMAT_WMF, nullptr, 0), 0);
  EXPECT_GT(host_.Render(VN_FORMAT_EMF, nullptr, 0), 0);
}

// A picture over a megabyte is let go once the host has its bytes; asked for again it is rendered
// again, whole.
TEST_P(MemoryOutput, ALargePictureLetGoIsRenderedWholeAgain) {
  host_.Size(4000, 3000);  // a one-bit raster of 1.5 MB
  testing::TempDir folder;
  const Bytes file = host_.File(VN_FORMAT_BMP, folder);
  ASSERT_GT(file.size(), std::size_t{1} << 20);
  for (int time = 0; time < 3; ++time) {
    const std::optional<Bytes> memory = host_.Take(VN_FORMAT_BMP);
    ASSERT_TRUE(memory.has_value()) << time;
    EXPECT_TRUE(*memory == file) << time;
  }
}

INSTANTIATE_TEST_SUITE_P(ClassicAndContext, MemoryOutput, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) { return param.param ? "Context" : "Classic"; });

// Every setter export, classic and on a context, called with the value it already holds: the call
// alone makes the next picture in memory a new render, as the header promises.
struct SetterCall {
  const char* name;
  void (*classic)();
  void (*onContext)(VnContext*);
};

const SetterCall kSetterCalls[] = {
    {"SetDefault", [] { VnSetDefault(); }, [](VnContext* c) { VnCtxSetDefault(c); }},
    {"SetSize", [] { VnSetSize(300, 200); }, [](VnContext* c) { VnCtxSetSize(c, 300, 200); }},
    {"SetMessage", [] { VnSetMessage("1234"); }, [](VnContext* c) { VnCtxSetMessage(c, "1234"); }},
    {"FontInfo", [] { VnFontInfo("Arial", 24); }, [](VnContext* c) { VnCtxFontInfo(c, "Arial", 24); }},
    {"TextInfo", [] { VnTextInfo(1, 0, 0); }, [](VnContext* c) { VnCtxTextInfo(c, 1, 0, 0); }},
    {"CodaBarInfo", [] { VnCodaBarInfo(0, 1); }, [](VnContext* c) { VnCtxCodaBarInfo(c, 0, 1); }},
    {"UPCESystem", [] { VnUPCESystem(0); }, [](VnContext* c) { VnCtxUPCESystem(c, 0); }},
    {"SupplementInfo", [] { VnSupplementInfo(0, "", 0.5); }, [](VnContext* c) { VnCtxSupplementInfo(c, 0, "", 0.5); }},
    {"BasicInfo", [] { VnBasicInfo(0, 0.07, 2.0, 0, 0); }, [](VnContext* c) { VnCtxBasicInfo(c, 0, 0.07, 2.0, 0, 0); }},
    {"SetSymbology", [] { VnSetSymbology(0); }, [](VnContext* c) { VnCtxSetSymbology(c, 0); }},
    {"SetBackColor", [] { VnSetBackColor(255, 255, 255); }, [](VnContext* c) { VnCtxSetBackColor(c, 255, 255, 255); }},
    {"SetBarColor", [] { VnSetBarColor(0, 0, 0); }, [](VnContext* c) { VnCtxSetBarColor(c, 0, 0, 0); }},
    {"SetBarHeight", [] { VnSetBarHeight(1.5); }, [](VnContext* c) { VnCtxSetBarHeight(c, 1.5); }},
    {"SetTransparentBackground", [] { VnSetTransparentBackground(0); },
     [](VnContext* c) { VnCtxSetTransparentBackground(c, 0); }},
};

void PrintTo(const SetterCall& call, std::ostream* out) { *out << call.name; }

class EverySetterCall : public ::testing::TestWithParam<SetterCall> {};

TEST_P(EverySetterCall, MakesTheNextPictureANewRender) {
  testing::ResetLibrary();
  VnContext* context = VnCreateContext();
  ASSERT_NE(context, nullptr);
  const PngCount count;
  ASSERT_GT(VnRenderToMemory(VN_FORMAT_PNG, nullptr, 0), 0);
  ASSERT_GT(VnCtxRenderToMemory(context, VN_FORMAT_PNG, nullptr, 0), 0);
  ASSERT_EQ(count.Since(), 2);

  GetParam().classic();
  EXPECT_GT(VnRenderToMemory(VN_FORMAT_PNG, nullptr, 0), 0);
  EXPECT_GT(VnCtxRenderToMemory(context, VN_FORMAT_PNG, nullptr, 0), 0);
  EXPECT_EQ(count.Since(), 3) << "the classic setter renders the default context's picture afresh, and only that";

  GetParam().onContext(context);
  EXPECT_GT(VnRenderToMemory(VN_FORMAT_PNG, nullptr, 0), 0);
  EXPECT_GT(VnCtxRenderToMemory(context, VN_FORMAT_PNG, nullptr, 0), 0);
  EXPECT_EQ(count.Since(), 4) << "the context's setter renders the context's picture afresh, and only that";
  VnDestroyContext(context);
  testing::ResetLibrary();
}

INSTANTIATE_TEST_SUITE_P(Setters, EverySetterCall, ::testing::ValuesIn(kSetterCalls),
                         [](const ::testing::TestParamInfo<SetterCall>& param) { return param.param.name; });

// A null context is refused by every context export added beside the memory output: no effect, and
// 0 without a byte written.
TEST(MemoryOutputNullContext, IsRefused) {
  VnCtxSetBarHeight(nullptr, 2.0);
  VnCtxSetTransparentBackground(nullptr, 1);
  std::vector<std::uint8_t> buffer(4096, 0xA5);
  for (const testing::FileOutput& output : testing::kFileOutputs) {
    EXPECT_EQ(VnCtxRenderToMemory(nullptr, output.format, nullptr, 0), 0) << output.name;
    EXPECT_EQ(VnCtxRenderToMemory(nullptr, output.format, buffer.data(), static_cast<int>(buffer.size())), 0)
        << output.name;
  }
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(buffer.size(), 0xA5));
}

}  // namespace
}  // namespace varnel
