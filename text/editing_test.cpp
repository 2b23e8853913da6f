#include "text/editing.h"

#include <gtest/gtest.h>

#include <random>

#include "geometry/positions.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

using testing::RowsOf;
using testing::TextOf;

class EditingTest : public testing::GridTest {};

TEST_F(EditingTest, InsertAndDeleteTakeLineBreaks) {
  auto grid = Grid("abcd");
  EXPECT_EQ(InsertString(*grid, "1\n2\r\n3", {1, 0}, nullptr), (TPoint{1, 2}));
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"a1", "2", "3bcd"}));
  // Past the end: appends; a CR that ends the inserted text is dropped, as SetText drops it.
  EXPECT_EQ(InsertString(*grid, "x\r", {9, 2}, nullptr), (TPoint{5, 2}));
  InsertCell(*grid, '\n', {0, 1}, nullptr);  // a cell never splits
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"a1", "\n2", "3bcdx"}));
  DeleteSection(*grid, {1, 0}, {2, 1}, nullptr);  // from the 1 through the line end of row 1
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"a3bcdx"}));
  DeleteSection(*grid, {2, 0}, {1, 0}, nullptr);  // an empty stretch
  DeleteSection(*grid, {5, 0}, {9, 0}, nullptr);  // the end of the text has no line break to take
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"a3bcd"}));
}

// The edits against a model of the whole text: insertion at a linear index,
// deletion of an inclusive stretch, which gives the text before back; and
// TextInRect of any stretch against the same stretch of Text, within any
// limit.
TEST_F(EditingTest, EditsAgreeWithAModelOfTheText) {
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

// Columns at the extremes are moved into their rows: an end column below 0
// ends the deletion with the line break before the end row.
TEST_F(EditingTest, DeletionsClampExtremeColumns) {
  struct Case {
    const char* text;
    TPoint first, last;
    std::vector<std::string> rows;
  } cases[] = {
      {"ab\ncd\nef", {0, 0}, {-6, 1}, {"cd", "ef"}},
      {"ab\ncd\nef", {1, 0}, {INT32_MIN, 2}, {"aef"}},
      {"ab\ncd", {INT32_MIN, 1}, {INT32_MAX, 1}, {"ab", ""}},
      {"abc", {2, 0}, {-1, 0}, {"abc"}},
  };
  for (const Case& c : cases) {
    auto grid = Grid(c.text);
    DeleteSection(*grid, c.first, c.last, nullptr);
    EXPECT_EQ(RowsOf(*grid), c.rows) << c.text << " to " << c.last.column << "," << c.last.row;
  }
}

TEST_F(EditingTest, RowsOutsideTheTextChangeNothing) {
  auto grid = Grid("ab\ncd");
  InsertCell(*grid, 'x', {0, 5}, nullptr);
  InsertCell(*grid, 'x', {0, -1}, nullptr);
  InsertCell(*grid, 'x', {7, 0}, nullptr);
  InsertCell(*grid, 'x', {-3, 0}, nullptr);
  EXPECT_EQ(InsertString(*grid, "yy", {0, 9}, nullptr), (TPoint{0, 9}));
  InsertString(*grid, nullptr, {0, 0}, nullptr);
  DeleteSection(*grid, {0, 4}, {0, 6}, nullptr);
  DeleteSection(*grid, {0, -4}, {0, 0}, nullptr);
  DeleteSection(*grid, {1, 0}, {1, 4}, nullptr);  // an end row past the text: not "to the end"
  SplitRow(*grid, {0, 3}, nullptr);
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(grid->tokenLists().size(), 2u);
  char buffer[8];
  EXPECT_EQ(TextInRect(*grid, {0, 5}, {0, 9}, buffer, 3), 0);
  EXPECT_EQ(TextInRect(*grid, {-4, -2}, {1, 0}, buffer, 7), 2);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(TextInRect(*grid, {0, 1}, {2, 40}, buffer, 7), 4);
  EXPECT_STREQ(buffer, "cd\r\n");
  EXPECT_EQ(TextInRect(*grid, {0, 0}, {0, 0}, nullptr, 3), 0);
}

}  // namespace
}  // namespace weft
