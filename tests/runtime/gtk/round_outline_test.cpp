#include "runtime/gtk/round_outline.h"

#include <gtest/gtest.h>

namespace kesto::gtk {
namespace {

TEST(RoundOutline, CoversTheAreaWithCutCornersSymmetrically) {
  const int width = 1023, height = 642, radius = 5;
  const std::vector<RowSpan> spans = RoundRectSpans(width, height, radius);
  ASSERT_EQ(int(spans.size()), height);
  EXPECT_GT(spans.front().left, 0) << "the top corners are cut";
  EXPECT_GT(spans.back().left, 0) << "the bottom corners are cut";
  for (int y = 0; y < height; ++y) {
    const RowSpan& row = spans[y];
    EXPECT_EQ(row.y, y);
    EXPECT_EQ(row.left, width - row.right) << "left and right mirror each other in row " << y;
    EXPECT_EQ(row.left, spans[height - 1 - y].left) << "top and bottom mirror in row " << y;
    if (y >= radius && y < height - radius) {
      EXPECT_EQ(row.left, 0) << "straight edge, row " << y;
    }
  }
  for (int y = 1; y < radius; ++y) EXPECT_LE(spans[y].left, spans[y - 1].left);
}

TEST(RoundOutline, DegenerateSizesAndRadii) {
  EXPECT_TRUE(RoundRectSpans(0, 10, 5).empty());
  EXPECT_TRUE(RoundRectSpans(10, -1, 5).empty());
  // No radius: a plain rectangle.
  for (const RowSpan& row : RoundRectSpans(8, 4, 0)) {
    EXPECT_EQ(row.left, 0);
    EXPECT_EQ(row.right, 8);
  }
  // A radius larger than the area still leaves every row at least one pixel.
  for (const RowSpan& row : RoundRectSpans(6, 6, 100)) EXPECT_LT(row.left, row.right);
  // Negative radius counts as none.
  EXPECT_EQ(RoundRectSpans(5, 5, -3).front().left, 0);
}

}  // namespace
}  // namespace kesto::gtk
