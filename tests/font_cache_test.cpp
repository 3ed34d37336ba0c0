// The font engine keeps a bounded number of sizes, dropping the least recently used. A size asked
// for again after it was dropped is made afresh, and draws as it drew before.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/font_engine.h"

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

}  // namespace
}  // namespace varnel
