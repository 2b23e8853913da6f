// Arguments outside the text and metrics of zero: every mapping answers
// without reading out of bounds, dividing by zero or overflowing (the native
// build runs this under AddressSanitizer and UndefinedBehaviorSanitizer).
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "geometry/columns.h"
#include "geometry/positions.h"
#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

class GeometryBoundsTest : public testing::GridTest {};

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kExtremes[] = {kMin, kMin + 1, -1000, -1, 0, 1, 2, 3, 1000, kMax - 1, kMax};

void CallEveryMapping(const TStringGrid& grid) {
  for (int32_t row : kExtremes) {
    for (int32_t column : kExtremes) {
      const TPoint position{column, row};
      VisualColumn(grid, row, column);
      VisualColumnFor(grid, position);
      CellForPoint(grid, column, row);
      PointForCell(grid, position);
      RowEndPixelX(grid, row);
      AtPoint(grid, position);
      IndexForPoint(grid, position);
      PointAfter(grid, position);
      PointBefore(grid, position);
      PointForIndex(grid, column);
      NonTabbedToTabbedIndex(grid, column);
      for (int32_t distance : kExtremes) PointAtDistanceFrom(grid, distance, position);
    }
  }
  CellExtent(grid);
}

TEST_F(GeometryBoundsTest, ExtremeArgumentsOnEveryKindOfGrid) {
  TStringGrid empty(shared);
  CallEveryMapping(empty);
  for (const char* text : {"", "ab\ncd", "\t\tx\n\n'a  b'\n", "    a\n        b", "\n\n\n"}) {
    for (bool convert : {false, true}) {
      auto grid = Grid(text, convert);
      for (int32_t x : {kMin, 0, kMax}) {
        for (int32_t y : {kMin, 0, kMax}) {
          grid->SetTopCorner(x, y);
          CallEveryMapping(*grid);
        }
      }
    }
  }
  for (int32_t pixel : kExtremes) {
    for (int32_t width : kExtremes) {
      IndexFromPixelWidth("a\tb", 3, width, width, pixel);
      IndexFromPixelWidth("\t\t", 2, width, 4, pixel);
      IndexFromPixelWidth(nullptr, width, 8, 4, pixel);
      VisualColumn("a\tb", 3, pixel, width);
    }
  }
}

TEST_F(GeometryBoundsTest, RowsOutsideTheTextReadAsEmptyRows) {
  auto grid = Grid("ab\ncd");
  EXPECT_EQ(IndexForPoint(*grid, {1, 4}), 8 + 2 * 2 + 1);  // two empty rows past the text
  EXPECT_EQ(IndexForPoint(*grid, {1, kMax}), kMax);
  EXPECT_EQ(PointAfter(*grid, {0, 2}), (TPoint{0, 3}));
  EXPECT_EQ(PointAfter(*grid, {kMax, 0}), (TPoint{kMax, 0}));
  EXPECT_EQ(PointBefore(*grid, {0, 2}), (TPoint{2, 1}));
  EXPECT_EQ(PointBefore(*grid, {0, -4}), (TPoint{0, -4}));
  // From rows before the text each row is one step; then the text as usual.
  TPoint stepped{0, -3};
  for (int32_t distance = 0; distance < 12; ++distance) {
    EXPECT_EQ(PointAtDistanceFrom(*grid, distance, {0, -3}), stepped) << distance;
    stepped = PointAfter(*grid, stepped);
  }
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, kMin}), (TPoint{0, -1}));
  // A walk that starts past the last row, or passes it, ends at the end.
  EXPECT_EQ(PointAtDistanceFrom(*grid, -1, {0, 9}), (TPoint{2, 1}));
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, 0}), (TPoint{2, 1}));

  TStringGrid empty(shared);
  EXPECT_EQ(PointForIndex(empty, 5), (TPoint{0, 0}));
  EXPECT_EQ(PointAfter(empty, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(PointAtDistanceFrom(empty, 3, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(IndexForPoint(empty, {1, 2}), 5);
  EXPECT_EQ(CellForPoint(empty, 2 * cellWidth(), 3 * lineHeight()), (TPoint{2, 3}));
}

// Before any font there is no cell: widths and heights of 0 count as one
// pixel, and the mappings still invert each other.
TEST_F(GeometryBoundsTest, ZeroMetricsCountAsOnePixel) {
  TSharedState bare;
  ASSERT_EQ(bare.settings.cellWidth(), 0);
  ASSERT_EQ(bare.settings.lineHeight(), 0);
  TStringGrid grid(bare);
  grid.SetText("\tab\ncd", 0, false);
  for (int32_t row = 0; row < 4; ++row) {
    for (int32_t column = 0; column <= 4; ++column) {
      const TPoint pixel = PointForCell(grid, {column, row});
      EXPECT_EQ(CellForPoint(grid, pixel.column, pixel.row), (TPoint{column, row}));
    }
  }
  EXPECT_EQ(PointForCell(grid, {1, 1}), (TPoint{1, 1}));
  EXPECT_EQ(CellForPoint(grid, -7, -7), (TPoint{-7, 0}));
  EXPECT_EQ(CellExtent(grid), (TPoint{3, 2}));  // and a tab width of 0 as 1
}

}  // namespace
}  // namespace weft
