// VnGetLastError: the validation message of the last picture made by any output, or an empty text
// when that picture drew its data.
#include <dlfcn.h>
#include <gtest/gtest.h>

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
      VnSetMessage(c.data);
      VnSupplementInfo(c.supplementKind, c.supplement, 0);
      e.save(folder.File("after").c_str());
      EXPECT_STREQ(VnGetLastError(), c.message) << e.name << " " << c.data;
    }
  }
}

TEST(LastError, IsTheMessageThePictureShows) {
  testing::ResetLibrary();
  VnBasicInfo(kEan8, 0, 0, 0, 0);
  VnSetMessage("12");
  testing::TempDir folder;
  const std::string svg = folder.File("refused.svg");
  ASSERT_EQ(VnSaveAsSVG(svg.c_str()), 1);
  const auto bytes = testing::ReadFileBytes(svg);
  const std::string document(bytes.begin(), bytes.end());
  std::smatch text;
  ASSERT_TRUE(std::regex_search(document, text, std::regex(R"(<text[^>]*>([^<]*)</text>)")));
  EXPECT_EQ(text[1].str(), VnGetLastError());
  EXPECT_STREQ(VnGetLastError(), "7 digits are required.");
}

TEST(LastError, AFileThatCannotBeWrittenDoesNotMakeDrawnDataRefused) {
  testing::ResetLibrary();
  testing::TempDir folder;
  EXPECT_EQ(VnSaveAsPNG(folder.File("no/such/folder/x.png").c_str()), 0);
  EXPECT_STREQ(VnGetLastError(), "");
}

}  // namespace
}  // namespace varnel
