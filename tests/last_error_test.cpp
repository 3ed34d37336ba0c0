// VnGetLastError: the validation message of the last picture made by any output, or an empty text
// when that picture drew its data.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <regex>
#include <string>

#include "base/settings.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel {
namespace {

struct Export {
  const char* name;
  VnBool (*save)(const char*);
};

// Every output makes a picture; the clipboard's needs no path. The measure validates as they do,
// without a picture.
const Export kExports[] = {
    {"BMP", VnSaveAsBMP}, {"WMF", VnSaveAsWMF}, {"EMF", VnSaveAsEMF}, {"SVG", VnSaveAsSVG}, {"PNG", VnSaveAsPNG},
    {"clipboard", [](const char*) { return VnCopyToClipboard(); }},
    {"measure", [](const char*) { return VnMeasure(nullptr, nullptr); }},
};

TEST(LastError, IsEmptyBeforeAnyPicture) {
  // A fresh copy of the library, in which nothing has been drawn yet.
  void* library = dlopen(VARNEL32_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto getLastError = reinterpret_cast<const char* (*)()>(dlsym(library, "VnGetLastError"));
  ASSERT_NE(getLastError, nullptr);
  EXPECT_STREQ(getLastError(), "");
  dlclose(library);
}

TEST(LastError, NamesTheRefusalOfTheLastPictureAndClearsWhenDataIsDrawn) {
  struct Case {
    int symbology;
    const char* data;
    int supplementKind;
    const char* supplement;
    const char* message;  // "" when the data is drawn
  };
  const Case cases[] = {
      {kEan13, "12345", kNoSupplement, "", "12 digits are required."},
      {kCode39, "lower case", kNoSupplement, "", "Wrong Data Format"},
      {kUpcA, "01234567890", kSupplement2, "1", "Wrong Supplement 2"},
      {kJan8, "1234567", kNoSupplement, "", "The leading 49 are required."},
      {kSscc18, "123", kNoSupplement, "", "The even length data is required."},
      // composed from the AI and what is wrong with its data
      {kGs1_128, "(01)09501101530003(17)260231", kNoSupplement, "", "AI (17): 260231 is not a date."},
      {kGs1_128, "(01)09501101530003(17)261231", kNoSupplement, "", ""},
      {kEan13, "590123412345", kNoSupplement, "", ""},
      {kCode128, "anything at all", kNoSupplement, "", ""},
  };
  testing::TempDir folder;
  for (const Export& e : kExports) {
    for (const Case& c : cases) {
      testing::ResetLibrary();
      // The previous picture's outcome is the opposite, so a stale value shows.
      VnSetMessage(c.message[0] != '\0' ? "1234" : "lower case");
      VnBasicInfo(kCode39, 0, 0, 0, 0);
      e.save(folder.File("before").c_str());
      ASSERT_STRNE(VnGetLastError(), c.message) << e.name;

      VnBasicInfo(c.symbology, 0, 0, 0, 0);
      VnSetSymbology(c.symbology);
      VnSetMessage(c.data);
      VnSupplementInfo(c.supplementKind, c.supplement, 0);
      e.save(folder.File("after").c_str());
      EXPECT_STREQ(VnGetLastError(), c.message) << e.name << " " << c.data;
    }
  }
}

TEST(LastError, IsTheMessageThePictureShows) {
  struct Case {
    int symbology;
    const char* data;
    const char* message;
  };
  for (const Case& c : {Case{kEan8, "12", "7 digits are required."},
                        Case{kGs1_128, "[21]A1B2", "AI (21) requires (01), (03) or (8006)."}}) {
    testing::ResetLibrary();
    VnSetSymbology(c.symbology);
    VnSetMessage(c.data);
    testing::TempDir folder;
    const std::string svg = folder.File("refused.svg");
    ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
    const auto bytes = testing::ReadFileBytes(svg);
    const std::string document(bytes.begin(), bytes.end());
    std::smatch text;
    ASSERT_TRUE(std::regex_search(document, text, std::regex(R"(<text[^>]*>([^<]*)</text>)")));
    EXPECT_EQ(text[1].str(), VnGetLastError());
    EXPECT_STREQ(VnGetLastError(), c.message);
  }
}

TEST(LastError, AFileThatCannotBeWrittenDoesNotMakeDrawnDataRefused) {
  testing::ResetLibrary();
  testing::TempDir folder;
  EXPECT_EQ(VnSaveAsPNG(folder.File("no/such/folder/x.png").c_str()), 0);
  EXPECT_STREQ(VnGetLastError(), "");
  // Why a save failed is kept by each context for its own saves.
  VnContext* context = VnCreateContext();
  EXPECT_EQ(VnCtxGetLastSaveError(context), 0);
  EXPECT_EQ(VnCtxSaveAsBMP(context, folder.path().c_str()), 0);
  EXPECT_EQ(VnCtxGetLastSaveError(context), EISDIR);
  EXPECT_EQ(VnGetLastSaveError(), ENOENT);
  EXPECT_EQ(VnCtxGetLastSaveError(nullptr), 0);
  VnDestroyContext(context);
}

// A context begins as VnSetDefault leaves the default context, whatever that has been set to, and
// with no error of its own.
TEST(LastError, ANewContextStartsFromTheDefaultsWithNoError) {
  testing::ResetLibrary();
  VnBasicInfo(kUpcA, 0.1, 3.0, 1, 2);
  VnSetSize(500, 120);
  VnFontInfo("Liberation Serif", 40);
  VnSetMessage("12");
  testing::TempDir folder;
  const std::string fresh = folder.File("fresh.bmp"), classic = folder.File("classic.bmp");
  ASSERT_EQ(VnSaveAsBMP(classic.c_str()), 1);
  ASSERT_STRNE(VnGetLastError(), "");

  VnContext* context = VnCreateContext();
  ASSERT_NE(context, nullptr);
  EXPECT_STREQ(VnCtxGetLastError(context), "");
  ASSERT_EQ(VnCtxSaveAsBMP(context, fresh.c_str()), 1);
  VnDestroyContext(context);
  VnSetDefault();
  ASSERT_EQ(VnSaveAsBMP(classic.c_str()), 1);
  EXPECT_EQ(testing::ReadFileBytes(fresh), testing::ReadFileBytes(classic));
}

// Two contexts and the default one, each set up before any of them draws: each draws its own
// settings, as the classic exports draw them alone, and keeps its own last error.
TEST(LastError, EachContextKeepsItsOwnSettingsAndLastError) {
  struct Design {
    int symbology;
    const char* data;
    int width;
    int orientation;
    const char* message;
  };
  const Design designs[] = {
      {kEan13, "590123412345", 300, 0, ""},
      {kCode39, "lower case", 400, 1, "Wrong Data Format"},
      {kJan8, "1234567", 250, 2, "The leading 49 are required."},
  };
  testing::ResetLibrary();
  const auto onDefaultContext = [](const Design& d) {
    VnBasicInfo(d.symbology, 0.05, 2.5, d.orientation, 0);
    VnSetMessage(d.data);
    VnSetSize(d.width, 200);
  };
  VnContext* contexts[] = {VnCreateContext(), VnCreateContext()};
  for (int i = 0; i < 2; ++i) {
    ASSERT_NE(contexts[i], nullptr);
    VnCtxBasicInfo(contexts[i], designs[i].symbology, 0.05, 2.5, designs[i].orientation, 0);
    VnCtxSetMessage(contexts[i], designs[i].data);
    VnCtxSetSize(contexts[i], designs[i].width, 200);
  }
  onDefaultContext(designs[2]);

  // Drawn data between two refusals, so that a shared last error would show in all three.
  testing::TempDir folder;
  const std::string files[] = {folder.File("0.bmp"), folder.File("1.bmp"), folder.File("default.bmp")};
  ASSERT_EQ(VnCtxSaveAsBMP(contexts[1], files[1].c_str()), 1);
  ASSERT_EQ(VnCtxSaveAsBMP(contexts[0], files[0].c_str()), 1);
  ASSERT_EQ(VnSaveAsBMP(files[2].c_str()), 1);
  EXPECT_STREQ(VnCtxGetLastError(contexts[0]), designs[0].message);
  EXPECT_STREQ(VnCtxGetLastError(contexts[1]), designs[1].message);
  EXPECT_STREQ(VnGetLastError(), designs[2].message);
  for (VnContext* context : contexts) VnDestroyContext(context);

  const std::string classic = folder.File("classic.bmp");
  for (int i = 0; i < 3; ++i) {
    VnSetDefault();
    onDefaultContext(designs[i]);
    ASSERT_EQ(VnSaveAsBMP(classic.c_str()), 1);
    EXPECT_EQ(testing::ReadFileBytes(files[i]), testing::ReadFileBytes(classic)) << designs[i].data;
  }
}

}  // namespace
}  // namespace varnel
