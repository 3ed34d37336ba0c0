// The catalogue against the library it describes: the symbologies it says check and print an
// EAN/UPC add-on's digits are the ones the library treats so. (The tool's lists and the Python
// binding's names are held to it by their own suites.)
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/render_harness.h"
#include "support/symbology_samples.h"
#include "symbologies/catalogue.h"
#include "varnel32.h"

namespace varnel {
namespace {

std::string ReadText(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

TEST(CatalogueTest, AddOnDigitsAreCheckedAndPrintedWhereTheCatalogueSays) {
  const testing::TempDir dir;
  const std::string picture = dir.File("picture.svg");
  for (const SymbologyRow& row : kSymbologies) {
    VnSetDefault();
    VnBasicInfo(row.number, 0.07, 2.0, 0, 0);
    VnSetSymbology(row.number);
    VnSetMessage(testing::SampleMessage(row.number));
    int length = 0;
    int thickness = 0;
    VnSupplementInfo(kSupplement2, "4x", 0.5);
    EXPECT_EQ(VnMeasure(&length, &thickness) == 0, row.addOnDigits) << row.name << ": " << VnGetLastError();
    VnSupplementInfo(kSupplement2, "47", 0.5);
    ASSERT_TRUE(VnSaveAsSVG(picture.c_str())) << row.name;
    EXPECT_EQ(ReadText(picture).find(">47</text>") != std::string::npos, row.addOnDigits) << row.name;
  }
}

}  // namespace
}  // namespace varnel
