// Code 93: the characters and the two check characters read back from the pixels, the printed
// text, and symbols that independent decoders read back in every orientation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/setters.h"
#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "support/decoders.h"
#include "support/render_harness.h"
#include "support/symbol_scan.h"
#include "symbologies/tables.h"

namespace varnel {
namespace {

constexpr const char* kStartWidths = "111141";
constexpr const char* kStopWidths = "1111411";

std::string Widths(const std::vector<int>& runs, std::size_t from, std::size_t count) {
  std::string widths;
  for (std::size_t i = from; i < from + count && i < runs.size(); ++i) widths += std::to_string(runs[i]);
  return widths;
}

class Code93Test : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetLibrary(context); }

  // Renders with one pixel per module.
  testing::Bitmap Render(const std::string& data, int orientation = 0) {
    SetBasicInfo(context, kCode93, 0.03, 2.5, orientation, 0);
    const int length = 9 * (static_cast<int>(data.size()) + 4) + 80;
    if (orientation % 2 == 0) SetSize(context, length, 120); else SetSize(context, 120, length);
    SetMessage(context, data.c_str());
    return testing::RenderToBitmap(context);
  }

  // Module widths of the symbol, read across the middle of the bars, left to right.
  std::vector<int> Runs(const std::string& data) {
    const testing::Bitmap bitmap = Render(data);
    return testing::ElementWidths(bitmap);
  }

  // The rows of the characters between start and stop, read back from the pixels.
  std::vector<int> Rows(const std::string& data) {
    const std::vector<int> runs = Runs(data);
    std::vector<int> rows;
    if (runs.size() < 13 || (runs.size() - 13) % 6 != 0) {
      ADD_FAILURE() << "not a whole number of characters: " << runs.size() << " elements";
      return rows;
    }
    EXPECT_EQ(Widths(runs, 0, 6), kStartWidths);
    for (std::size_t i = 6; i + 7 < runs.size(); i += 6) {
      const std::string widths = Widths(runs, i, 6);
      int row = -1;
      for (int r = 0; r < 47 && row < 0; ++r) {
        if (widths == Code93Table[r].pattern) row = r;
      }
      rows.push_back(row);
    }
    EXPECT_EQ(Widths(runs, runs.size() - 7, 7), kStopWidths);
    return rows;
  }

  // The human-readable text of a render of the current settings, as printed.
  std::string Printed() { return testing::PrintedText(RenderToSurface(context)); }

  Context context;
};

TEST_F(Code93Test, ModulesAreThePublishedCharacters) {
  SetTextInfo(context, 0, 1, 0);
  struct Case {
    const char* data;
    const char* widths;
  };
  const Case cases[] = {
      // start, T E S T 9 3, C '+', K '6', stop
      {"TEST93", "111141" "211221" "221211" "211122" "211221" "141111" "111411" "113121" "121311" "1111411"},
      // start, 1 %, C (%), K '.', stop
      {"1%", "111141" "111213" "211131" "312111" "311112" "1111411"},
  };
  for (const Case& c : cases) {
    const std::vector<int> runs = Runs(c.data);
    EXPECT_EQ(Widths(runs, 0, runs.size()), c.widths) << c.data;
  }
}

TEST_F(Code93Test, CheckCharactersFollowTheWorkedExamples) {
  SetTextInfo(context, 1, 1, 1);
  struct Case {
    std::string data;
    std::vector<int> rows;  // data, C, K
    const char* printed;
  };
  const Case cases[] = {
      {"TEST93", {29, 14, 28, 29, 9, 3, 41, 6}, "TEST93+6"},
      {"1%", {1, 42, 44, 37}, "1%_2."},
      {"", {0, 0}, "00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Rows(c.data), c.rows) << c.data;
    EXPECT_EQ(Printed(), c.printed) << c.data;
  }
}

// The published modulo-47 check over values, weights 1, 2, ... from the right, wrapping after `cycle`.
int PublishedCheck(const std::vector<int>& values, int cycle) {
  int sum = 0;
  for (std::size_t i = 0; i < values.size(); ++i) sum += static_cast<int>((values.size() - 1 - i) % cycle + 1) * values[i];
  return sum % 47;
}

// C weighs the data with weights up to 20, K the data and C with weights up to 15.
TEST_F(Code93Test, CheckWeightsWrap) {
  SetTextInfo(context, 1, 1, 1);
  const std::string checkOrder = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
  for (const int length : {14, 15, 16, 20, 21, 22, 41}) {
    std::string data;
    std::vector<int> expected;
    for (int i = 0; i < length; ++i) {
      expected.push_back((7 * i + 3) % 43);
      data += checkOrder[static_cast<std::size_t>(expected.back())];
    }
    expected.push_back(PublishedCheck(expected, 20));
    expected.push_back(PublishedCheck(expected, 15));
    EXPECT_EQ(Rows(data), expected) << "length " << length;
  }
}

TEST_F(Code93Test, CheckCharactersAreDrawnAndPrintedOnlyWhenAsked) {
  SetTextInfo(context, 1, 0, 1);
  EXPECT_EQ(Rows("TEST93"), (std::vector<int>{29, 14, 28, 29, 9, 3}));
  EXPECT_EQ(Printed(), "TEST93");
  SetTextInfo(context, 1, 1, 0);
  EXPECT_EQ(Rows("TEST93").size(), 8u);
  EXPECT_EQ(Printed(), "TEST93");
}

class Code93DecodeTest : public Code93Test, public ::testing::WithParamInterface<int> {};

TEST_P(Code93DecodeTest, DecodersReadTheDataBack) {
  const int orientation = GetParam();
  SetTextInfo(context, 0, 1, 0);
  for (const std::string data : {"TEST93", "1%", "CODE 93-$/+%.", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"}) {
    const testing::Bitmap bitmap = testing::WithQuietZone(Render(data, orientation), 20);
    const auto zxing = testing::DecodeWithZxing(bitmap);
    ASSERT_EQ(zxing.size(), 1u) << data << " orientation " << orientation;
    EXPECT_EQ(zxing[0].text, data) << "ZXing, orientation " << orientation;
    EXPECT_EQ(testing::DecodeWithZbar(bitmap), std::vector<std::string>{data}) << "zbar, orientation " << orientation;
  }
}

INSTANTIATE_TEST_SUITE_P(AllOrientations, Code93DecodeTest, ::testing::Values(0, 1, 2, 3));

// 999 characters with every switch on: the check characters still fit the printed text.
TEST_F(Code93Test, LongestMessageRendersWhole) {
  SetTextInfo(context, 1, 1, 1);
  std::string data;
  for (int i = 0; i < 999; ++i) data += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%"[i % 43];
  const testing::Bitmap bitmap = testing::WithQuietZone(Render(data), 20);
  // The next render prints the data as it was set, and no room is left for the check characters.
  EXPECT_EQ(Printed(), data);
  const auto zxing = testing::DecodeWithZxing(bitmap);
  ASSERT_EQ(zxing.size(), 1u);
  EXPECT_EQ(zxing[0].text, data);
}

}  // namespace
}  // namespace varnel
