#include "geometry/positions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/grid_test_support.h"
#include "text/editing.h"

namespace weft {
namespace {

using testing::GeneratedTabbedText;
using testing::TextOf;

class PositionsTest : public testing::GridTest {};

// Linear indices of "ab" / "cd": a 0, b 1, CR 2, LF 3, c 4, d 5.
TEST_F(PositionsTest, TwoRowText) {
  auto grid = Grid("ab\ncd");
  const struct {
    int32_t index;
    TPoint position;
  } indices[] = {
      {2, {2, 0}},  // the CR: row 0's line-end position
      {3, {3, 0}},  // the LF: one past it
      {4, {0, 1}},    {7, {3, 1}},  // past the last row's line break
      {8, {2, 1}},  // the end of the text
      {-1, {-1, 0}},
  };
  for (const auto& c : indices) EXPECT_EQ(PointForIndex(*grid, c.index), c.position) << c.index;
  EXPECT_EQ(IndexForPoint(*grid, {5, 0}), 5);  // a column past the row's end runs into the next
  EXPECT_EQ(IndexForPoint(*grid, {1, 2}), 9);  // the row just past the last
  EXPECT_EQ(PointAfter(*grid, {2, 1}), (TPoint{2, 1}));  // the end of the text
  EXPECT_EQ(PointAfter(*grid, {4, 0}), (TPoint{5, 0}));  // past the row's end: keeps moving right
  EXPECT_EQ(PointBefore(*grid, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(PointAtDistanceFrom(*grid, 3, {1, 0}), (TPoint{1, 1}));    // b, the line break, c
  EXPECT_EQ(PointAtDistanceFrom(*grid, -3, {1, 1}), (TPoint{-2, 1}));  // never wraps back
  EXPECT_EQ(PointAtDistanceFrom(*grid, 5, {1, 0}), (TPoint{2, 1}));    // past the end: the end
  EXPECT_EQ(PointAtDistanceFrom(*grid, 1, {0, 1000}), (TPoint{2, 1}));
}

// Every index up to one past the last line break names a position that gives
// the index back, and every position within a row or on its line break gives
// an index that names it.
void ExpectIndicesRoundTrip(const TStringGrid& grid, int32_t stride) {
  int32_t index = 0;
  for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
    const int32_t length = grid.RowLength(row);
    for (int32_t column = 0; column <= length + 1; ++column, ++index) {
      if (index % stride != 0 && row + 1 < grid.NumberOfRows()) continue;
      ASSERT_EQ(IndexForPoint(grid, {column, row}), index) << column << "," << row;
      ASSERT_EQ(PointForIndex(grid, index), (TPoint{column, row})) << index;
    }
  }
  ASSERT_EQ(PointForIndex(grid, index), grid.LastRowAndColumn());
}

// From every position within a row, d steps are d applications of
// PointAfter, up to and past the end of the text.
TEST_F(PositionsTest, DistanceIsRepeatedSteps) {
  std::mt19937 random(4);
  for (int trial = 0; trial < 10; ++trial) {
    auto grid = Grid(GeneratedTabbedText(random, 12));
    const TPoint end = grid->LastRowAndColumn();
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      for (int32_t column = 0; column <= grid->RowLength(row); ++column) {
        TPoint stepped{column, row};
        for (int32_t distance = 0;; ++distance) {
          ASSERT_EQ(PointAtDistanceFrom(*grid, distance, {column, row}), stepped)
              << "from " << column << "," << row << " distance " << distance;
          if (stepped == end && distance > 2) break;
          stepped = PointAfter(*grid, stepped);
        }
      }
    }
  }
}

TEST_F(PositionsTest, StepsBackUndoStepsForward) {
  std::mt19937 random(6);
  for (int trial = 0; trial < 50; ++trial) {
    auto grid = Grid(GeneratedTabbedText(random, 20));
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      for (int32_t column = 0; column <= grid->RowLength(row); ++column) {
        const TPoint position{column, row};
        if (position != grid->LastRowAndColumn()) {
          ASSERT_EQ(PointBefore(*grid, PointAfter(*grid, position)), position);
        }
        if (position != TPoint{0, 0}) {
          ASSERT_EQ(PointAfter(*grid, PointBefore(*grid, position)), position);
        }
        for (int32_t back : {1, 3}) {
          ASSERT_EQ(PointAtDistanceFrom(*grid, -back, position), (TPoint{column - back, row}));
        }
      }
    }
  }
}

// On the corpus: indices round-trip, the whole text's step count reaches its
// end, and a few hundred steps from random positions are that many
// applications of PointAfter.
TEST_F(PositionsTest, IndicesAndDistancesOnGeneratedTextAndTheCorpus) {
  std::mt19937 random(3);
  for (int trial = 0; trial < 50; ++trial) ExpectIndicesRoundTrip(*Grid(GeneratedTabbedText(random, 40)), 1);
  for (const auto& path : testing::CorpusFiles()) {
    auto grid = Grid(testing::ReadFile(path));
    ExpectIndicesRoundTrip(*grid, testing::SamplingStride(path));
    if (HasFatalFailure()) FAIL() << path;
    int32_t steps = grid->NumberOfRows() - 1;  // a line break is one step
    for (const TRowString& row : grid->rows()) steps += row.size();
    const TPoint end = grid->LastRowAndColumn();
    ASSERT_EQ(PointAtDistanceFrom(*grid, steps, {0, 0}), end) << path;
    ASSERT_EQ(PointAtDistanceFrom(*grid, steps + 1, {0, 0}), end) << path;
    ASSERT_EQ(PointAtDistanceFrom(*grid, steps - 1, {0, 0}), PointBefore(*grid, end)) << path;
    for (int start = 0; start < 5; ++start) {
      const auto row = static_cast<int32_t>(random() % static_cast<uint32_t>(grid->NumberOfRows()));
      const auto column = static_cast<int32_t>(random() % static_cast<uint32_t>(grid->RowLength(row) + 1));
      TPoint stepped{column, row};
      for (int32_t distance = 0; distance < 300; ++distance) {
        ASSERT_EQ(PointAtDistanceFrom(*grid, distance, {column, row}), stepped) << path;
        stepped = PointAfter(*grid, stepped);
      }
    }
  }
}

// The edits against a model of the whole text: insertion at a linear index,
// deletion of an inclusive stretch, which gives the text before back; and
// TextInRect of any stretch against the same stretch of Text, within any
// limit.
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
      const std::string before = TextOf(*grid);
      const TPoint at = randomPoint(*grid);
      const size_t index = static_cast<size_t>(IndexForPoint(*grid, at));
      const std::string inserted = kInsertions[random() % std::size(kInsertions)];
      const TPoint end = InsertString(*grid, inserted.c_str(), at, nullptr);
      const std::string after = TextOf(*grid);
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
        ASSERT_EQ(TextOf(*grid), before) << "trial " << trial;
      }
    }
  }
}

}  // namespace
}  // namespace weft
