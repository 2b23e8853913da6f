// Arguments outside the text: every mapping answers without reading out of
// bounds or overflowing (the native build runs this under the sanitizers).
#include <gtest/gtest.h>

#include <limits>

#include "geometry/columns.h"
#include "geometry/positions.h"
#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

class GeometryBoundsTest : public testing::GridTest {};

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kExtremes[] = {kMin, kMin + 1, -1000, -1, 0, 1, 2, 3, 1000, kMax - 1, kMax};

TEST_F(GeometryBoundsTest, ExtremeArgumentsOnEveryKindOfGrid) {
  for (const char* text : std::initializer_list<const char*>{"", "ab\ncd", "\t\tx\n\n'a  b'\n", "    a\n        b", nullptr}) {
    for (bool convert : {false, true}) {
      auto grid = text == nullptr ? std::make_unique<TStringGrid>(shared) : Grid(text, convert);
      for (TPoint corner : {TPoint{kMin, kMax}, TPoint{0, 0}, TPoint{kMax, kMin}}) {
        grid->SetTopCorner(corner.column, corner.row);
        for (int32_t row : kExtremes) {
          for (int32_t column : kExtremes) {
            VisualColumn(*grid, row, column); VisualColumnFor(*grid, {column, row}); CellForPoint(*grid, column, row);
            PointForCell(*grid, {column, row}); RowEndPixelX(*grid, row); AtPoint(*grid, {column, row});
            IndexForPoint(*grid, {column, row}); PointAfter(*grid, {column, row}); PointBefore(*grid, {column, row});
            PointForIndex(*grid, column); NonTabbedToTabbedIndex(*grid, column); CellExtent(*grid);
            for (int32_t distance : kExtremes) PointAtDistanceFrom(*grid, distance, {column, row});
            IndexFromPixelWidth("a\tb", 3, row, row, column); IndexFromPixelWidth(nullptr, row, 8, 4, column);
            VisualColumn("a\tb", 3, column, row);
          }
        }
      }
    }
  }
}

// Indices of "ab" / "cd": a 0, b 1, CR 2, LF 3, c 4, d 5; other rows are empty.
TEST_F(GeometryBoundsTest, PositionsAroundTheText) {
  auto grid = Grid("ab\ncd");
  EXPECT_EQ(PointForIndex(*grid, 7), (TPoint{3, 1}));  // past the last row's line break
  EXPECT_EQ(PointForIndex(*grid, -1), (TPoint{-1, 0}));
  EXPECT_EQ(IndexForPoint(*grid, {5, 0}), 5);  // a column past the row's end runs into the next
  EXPECT_EQ(IndexForPoint(*grid, {1, 4}), 8 + 2 * 2 + 1);
  EXPECT_EQ(IndexForPoint(*grid, {1, kMax}), kMax);
  EXPECT_EQ(PointAfter(*grid, {kMax - 1, 0}), (TPoint{kMax, 0}));  // past the row's end: keeps moving right
  EXPECT_EQ(PointBefore(*grid, {0, 2}), (TPoint{2, 1}));
  EXPECT_EQ(PointBefore(*grid, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(PointBefore(*grid, {0, -4}), (TPoint{0, -4}));
  TPoint stepped{0, -3};  // from rows before the text each row is one step
  for (int32_t distance = 0; distance < 12; ++distance, stepped = PointAfter(*grid, stepped)) {
    EXPECT_EQ(PointAtDistanceFrom(*grid, distance, {0, -3}), stepped) << distance;
  }
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, kMin}), (TPoint{0, -1}));
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, 0}), (TPoint{2, 1}));
  const TStringGrid empty(shared);
  EXPECT_EQ(PointForIndex(empty, 5), (TPoint{0, 0}));
  EXPECT_EQ(PointAtDistanceFrom(empty, 3, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(IndexForPoint(empty, {1, 2}), 5);
  TSharedState bare;  // no font: cells of 0 pixels and a tab width of 0 count as 1
  grid = std::make_unique<TStringGrid>(bare);
  grid->SetText("\tab\ncd", 0, false);
  EXPECT_EQ(PointForCell(*grid, {2, 1}), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, 2, 1), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, -7, -7), (TPoint{-7, 0}));
  EXPECT_EQ(CellExtent(*grid), (TPoint{3, 2}));
}

}  // namespace
}  // namespace weft
