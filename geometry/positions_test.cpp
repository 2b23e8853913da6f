#include "geometry/positions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/grid_test_support.h"
#include "text/editing.h"

namespace weft {
namespace {

class PositionsTest : public testing::GridTest {};

// Index to point and back; steps back undo steps forward; d steps are d
// applications of PointAfter, up to and past the end, or d columns left.
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

// Insertion at a linear index, deleting it again, and TextInRect within any
// limit, against the whole text as Text writes it.
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

}  // namespace
}  // namespace weft
