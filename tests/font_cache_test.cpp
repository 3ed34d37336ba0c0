// The font engine keeps a bounded number of sizes, dropping the least recently used. A size asked
// for again after it was dropped is made afresh, and draws as it drew before. Across processes it
// remembers which file fontconfig chose for a face, and asks again when anything fontconfig read
// has changed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/font_engine.h"
#include "support/program_runner.h"
#include "support/render_harness.h"

namespace varnel {
namespace {

FontDescription SansOfHeight(int height) {
  FontDescription font{};
  font.lfHeight = height;
  font.lfWeight = 400;
  std::strncpy(font.lfFaceName, "Liberation Sans", sizeof font.lfFaceName - 1);
  return font;
}

struct Glyph {
  int advance;
  int cellHeight;
  GlyphMask mask;
};

Glyph GlyphOf(int height) {
  FontLease lease(std::optional<FontDescription>{SansOfHeight(height)});
  return Glyph{lease.Advance('W'), lease.CellHeight(), lease.Ink('W', 1)};
}

TEST(FontCacheTest, AFontAskedForAgainAfterItsSizeWasDroppedIsMadeAfresh) {
  const Glyph first = GlyphOf(31);
  // Many more sizes than the cache keeps: the least recently used, 31 among them, are dropped.
  for (int height = 40; height < 140; ++height) GlyphOf(height);
  const Glyph again = GlyphOf(31);
  EXPECT_EQ(again.advance, first.advance);
  EXPECT_EQ(again.cellHeight, first.cellHeight);
  EXPECT_EQ(again.mask.left, first.mask.left);
  EXPECT_EQ(again.mask.top, first.mask.top);
  EXPECT_EQ(again.mask.width, first.mask.width);
  EXPECT_EQ(again.mask.height, first.mask.height);
  EXPECT_EQ(again.mask.words, first.mask.words);
  EXPECT_GT(first.mask.height, 10);
}

// A fresh process drawing "Arial" text, with its font configuration and caches in `dir` alone; the
// files it opened are listed in `opened`.
class FontChoiceAcrossProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    // Made beforehand: they sit in the folder of the configuration, which is watched.
    mkdir(dir_.File("out").c_str(), 0700);
    mkdir(dir_.File("cache").c_str(), 0700);
    Configure("Liberation Serif");
  }

  // Arial is drawn in `family`, through a configuration whose conf.d may add more.
  void Configure(const std::string& family) const {
    std::ofstream(dir_.File("fonts.conf"), std::ios::trunc)
        << "<?xml version=\"1.0\"?><fontconfig><dir>/usr/share/fonts/truetype/liberation2</dir>"
        << "<cachedir>" << dir_.File("fc-cache") << "</cachedir>"
        << "<include ignore_missing=\"yes\">" << dir_.File("conf.d") << "</include>"
        << "<alias binding=\"same\"><family>Arial</family><prefer><family>" << family
        << "</family></prefer></alias></fontconfig>\n";
  }

  struct Drawn {
    std::vector<std::uint8_t> picture;
    bool askedFontconfig;
  };

  Drawn Draw(const std::string& name, bool cacheOn = true) const {
    const std::string picture = dir_.File("out/" + name + ".bmp"), trace = dir_.File("out/" + name + ".trace");
    const testing::ProgramResult run = testing::RunProgram(
        "/usr/bin/env", {"XDG_CACHE_HOME=" + dir_.File("cache"), "FONTCONFIG_FILE=" + dir_.File("fonts.conf"),
                         std::string("VARNEL32_FONT_CACHE=") + (cacheOn ? "on" : "off"),
                         // A sanitized tool's leak check stops the process with ptrace, which strace holds.
                         "ASAN_OPTIONS=detect_leaks=0", "strace", "-f", "-qq",
                         "-e", "trace=open,openat", "-o", trace, VARNEL_TOOL, "-s", "code39", "--font", "Arial",
                         "--font-height", "40", "--size", "400x200", "-o", picture, "FONTS"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::ifstream opened(trace);
    const std::string files((std::istreambuf_iterator<char>(opened)), std::istreambuf_iterator<char>());
    return {testing::ReadFileBytes(picture), files.find(dir_.File("fonts.conf")) != std::string::npos};
  }

  testing::TempDir dir_;
};

TEST_F(FontChoiceAcrossProcesses, ALaterProcessTakesTheRememberedFileWithoutLoadingFontconfig) {
  const Drawn first = Draw("first");
  EXPECT_TRUE(first.askedFontconfig);
  const Drawn second = Draw("second");
  EXPECT_FALSE(second.askedFontconfig);
  EXPECT_EQ(second.picture, first.picture);
  const Drawn uncached = Draw("uncached", false);
  EXPECT_TRUE(uncached.askedFontconfig);
  EXPECT_EQ(uncached.picture, first.picture) << "the remembered file is the one fontconfig chooses";
}

TEST_F(FontChoiceAcrossProcesses, AChangedSubstitutionIsAskedForAgain) {
  const Drawn serif = Draw("serif");
  Configure("Liberation Mono");
  const Drawn mono = Draw("mono");
  EXPECT_TRUE(mono.askedFontconfig);
  EXPECT_NE(mono.picture, serif.picture);
  EXPECT_EQ(mono.picture, Draw("mono-uncached", false).picture);
  EXPECT_FALSE(Draw("mono-again").askedFontconfig) << "the new answer is remembered in turn";
}

TEST_F(FontChoiceAcrossProcesses, ConfigurationAddedWhereFontconfigLooksIsSeen) {
  const Drawn serif = Draw("serif");
  // conf.d did not exist when the choice was made; a rule placed there now overrides the alias.
  mkdir(dir_.File("conf.d").c_str(), 0700);
  std::ofstream(dir_.File("conf.d/10-mono.conf"))
      << "<?xml version=\"1.0\"?><fontconfig><match target=\"pattern\"><test name=\"family\"><string>Arial</string>"
      << "</test><edit name=\"family\" mode=\"prepend\" binding=\"strong\"><string>Liberation Mono</string></edit>"
      << "</match></fontconfig>\n";
  const Drawn mono = Draw("mono");
  EXPECT_TRUE(mono.askedFontconfig);
  EXPECT_NE(mono.picture, serif.picture);
  EXPECT_EQ(mono.picture, Draw("mono-uncached", false).picture);
}

TEST_F(FontChoiceAcrossProcesses, ACacheOthersMayWriteIsNotTrusted) {
  Draw("first");
  ASSERT_EQ(chmod(dir_.File("cache/varnel32/font-choices").c_str(), 0666), 0);
  EXPECT_TRUE(Draw("second").askedFontconfig);
}

}  // namespace
}  // namespace varnel
