// Positions, indices and steps on generated text and against edits, and every mapping on arguments outside
// the text (the native build runs these under the sanitizers).
#include "geometry/positions.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "geometry/columns.h"
#include "tests/support/grid_test_support.h"
#include "text/editing.h"

namespace weft {
namespace {

class PositionsTest : public testing::GridTest {};

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Index to point and back; steps back undo steps forward; d steps are d applications of PointAfter, up to and
// past the end, or d columns left.
TEST_F(PositionsTest, IndicesAndStepsOnGeneratedText) {
  std::mt19937 random(4);
  for (int trial = 0; trial < 30; ++trial) {
    auto grid = Grid(testing::GeneratedTabbedText(random, 12));
    const TPoint end = grid->LastRowAndColumn();
    int32_t index = 0;
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      for (int32_t column = 0; column <= grid->RowLength(row) + 1; ++column, ++index) {
        const TPoint at{column, row};
        ASSERT_EQ(IndexForPoint(*grid, at), index) << column << "," << row;
        ASSERT_EQ(PointForIndex(*grid, index), at) << index;
        if (column > grid->RowLength(row)) continue;
        ASSERT_EQ(PointBefore(*grid, PointAfter(*grid, at)), at == end ? PointBefore(*grid, end) : at);
        ASSERT_EQ(PointAfter(*grid, PointBefore(*grid, at)), (at == TPoint{0, 0} ? PointAfter(*grid, at) : at));
        ASSERT_EQ(PointAtDistanceFrom(*grid, -3, at), (TPoint{column - 3, row}));
        TPoint stepped = at;
        for (int32_t distance = 0; distance < 3 || stepped != end; ++distance, stepped = PointAfter(*grid, stepped)) {
          ASSERT_EQ(PointAtDistanceFrom(*grid, distance, at), stepped) << column << "," << row << " +" << distance;
        }
        ASSERT_EQ(PointAtDistanceFrom(*grid, 3, {column, row + 1000}), end);
      }
    }
    ASSERT_EQ(PointForIndex(*grid, index), end);
  }
}

// Insertion at a linear index, deleting it again, and TextInRect within any limit, against the whole text as
// Text writes it.
TEST_F(PositionsTest, EditsAgreeWithAModelOfTheText) {
  std::mt19937 random(17);
  const char* const kInsertions[] = {"x", "\n", "\r\n", "ab\ncd", "q\n\n", "\n\n", "tail"};
  const auto randomPoint = [&](const TStringGrid& grid) {
    const int32_t row = static_cast<int32_t>(random() % static_cast<unsigned>(grid.NumberOfRows()));
    return TPoint{static_cast<int32_t>(random() % static_cast<unsigned>(grid.RowLength(row) + 1)), row};
  };
  for (int trial = 0; trial < 600; ++trial) {
    auto grid = Grid("first\nsecond row\n\nlast");
    for (int step = 0; step < 12; ++step) {
      const std::string before = testing::TextOf(*grid);
      const TPoint at = randomPoint(*grid);
      const size_t index = static_cast<size_t>(IndexForPoint(*grid, at));
      const std::string inserted = kInsertions[random() % std::size(kInsertions)];
      const TPoint end = InsertString(*grid, inserted.c_str(), at, nullptr);
      const std::string after = testing::TextOf(*grid);
      ASSERT_EQ(after, before.substr(0, index) + testing::WithCrLf(inserted) + before.substr(index));
      TPoint first = randomPoint(*grid), last = randomPoint(*grid);
      if (last < first) std::swap(first, last);
      const bool lineEnd = last.column == grid->RowLength(last.row);
      const size_t from = static_cast<size_t>(IndexForPoint(*grid, first));
      std::string expected = after.substr(from, static_cast<size_t>(IndexForPoint(*grid, last)) - from + (lineEnd ? 2 : 1));
      if (lineEnd && last.row + 1 == grid->NumberOfRows()) expected += "\r\n";
      const int32_t limit = static_cast<int32_t>(random() % 40);
      std::string copy(static_cast<size_t>(limit) + 8, '#');
      const int32_t length = TextInRect(*grid, first, last, copy.data(), limit);
      ASSERT_EQ(copy.substr(0, static_cast<size_t>(length) + 1), expected.substr(0, static_cast<size_t>(limit)) + '\0');
      ASSERT_EQ(copy.find_first_not_of('#', static_cast<size_t>(limit) + 1), std::string::npos);
      if (random() % 2) {
        DeleteSection(*grid, at, PointBefore(*grid, end), nullptr);
        ASSERT_EQ(testing::TextOf(*grid), before) << "trial " << trial;
      }
    }
  }
}

TEST_F(PositionsTest, ExtremeArgumentsOnEveryKindOfGrid) {
  const int32_t extremes[] = {kMin, kMin + 1, -1000, -1, 0, 1, 2, 3, 1000, kMax - 1, kMax};
  for (const char* text : {"", "ab\ncd", "\t\tx\n\n'a  b'\n", "    a\n        b", static_cast<const char*>(nullptr)}) {
    for (bool convert : {false, true}) {
      auto grid = text == nullptr ? std::make_unique<TStringGrid>(shared) : Grid(text, convert);
      for (TPoint corner : {TPoint{kMin, kMax}, TPoint{0, 0}, TPoint{kMax, kMin}}) {
        grid->SetTopCorner(corner.column, corner.row);
        for (int32_t row : extremes) {
          for (int32_t column : extremes) {
            VisualColumn(*grid, row, column); VisualColumnFor(*grid, {column, row}); CellForPoint(*grid, column, row);
            PointForCell(*grid, {column, row}); RowEndPixelX(*grid, row); AtPoint(*grid, {column, row});
            IndexForPoint(*grid, {column, row}); PointAfter(*grid, {column, row}); PointBefore(*grid, {column, row});
            PointForIndex(*grid, column); NonTabbedToTabbedIndex(*grid, column); CellExtent(*grid);
            for (int32_t distance : extremes) PointAtDistanceFrom(*grid, distance, {column, row});
            IndexFromPixelWidth("a\tb", 3, row, row, column); IndexFromPixelWidth(nullptr, row, 8, 4, column);
            VisualColumn("a\tb", 3, column, row);
          }
        }
      }
    }
  }
}

// Indices of "ab" / "cd": a 0, b 1, CR 2, LF 3, c 4, d 5; other rows are empty.
TEST_F(PositionsTest, PositionsAroundTheText) {
  auto grid = Grid("ab\ncd");
  EXPECT_EQ(PointForIndex(*grid, 7), (TPoint{3, 1}));  // past the last row's line break
  EXPECT_EQ(PointForIndex(*grid, -1), (TPoint{-1, 0}));
  EXPECT_EQ(IndexForPoint(*grid, {5, 0}), 5);  // a column past the row's end runs into the next
  EXPECT_EQ(IndexForPoint(*grid, {1, 4}), 8 + 2 * 2 + 1);
  EXPECT_EQ(IndexForPoint(*grid, {1, kMax}), kMax);
  EXPECT_EQ(PointAfter(*grid, {kMax - 1, 0}), (TPoint{kMax, 0}));  // past the row's end: keeps moving right
  EXPECT_EQ(PointBefore(*grid, {0, 2}), (TPoint{2, 1}));
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
}

}  // namespace
}  // namespace weft
