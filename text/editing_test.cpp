#include "text/editing.h"

#include <gtest/gtest.h>

#include <random>

#include "geometry/positions.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

class EditingTest : public testing::GridTest {
 protected:
  static std::string TextOf(const TStringGrid& grid) {
    std::string buffer(1 << 16, '\0');
    buffer.resize(static_cast<size_t>(grid.Text(buffer.data(), static_cast<int32_t>(buffer.size()), false)));
    return buffer;
  }
  static std::vector<std::string> Rows(const TStringGrid& grid) {
    std::vector<std::string> rows;
    for (const str& row : grid.rows()) rows.emplace_back(row.view());
    return rows;
  }
};

TEST_F(EditingTest, InsertStringSplitsJoinsAndAppends) {
  struct Case {
    const char* text;
    std::string inserted;
    TPoint at;
    std::vector<std::string> rows;
    TPoint end;
  } cases[] = {
      {"abcd", "\r\n", {2, 0}, {"ab", "cd"}, {0, 1}},
      {"abcd", "\n", {9, 0}, {"abcd", ""}, {0, 1}},
      {"abcde", "xy", {10, 0}, {"abcdexy"}, {7, 0}},
      {"abcd", "1\n2\r\n3", {1, 0}, {"a1", "2", "3bcd"}, {1, 2}},
      {"abcd", "x\n", {2, 0}, {"abx", "cd"}, {0, 1}},
      {"ab", "c\rd", {1, 0}, {"ac\rdb"}, {4, 0}},
      {"ab", "x\r", {0, 0}, {"xab"}, {1, 0}},
      {"ab", "x\r\r\ny\r", {1, 0}, {"ax\r", "yb"}, {1, 1}},
      {"", std::string(600, 'z'), {0, 0}, {std::string(600, 'z')}, {600, 0}},
  };
  for (const Case& c : cases) {
    auto grid = Grid(c.text);
    EXPECT_EQ(InsertString(*grid, c.inserted.c_str(), c.at, nullptr), c.end) << c.inserted;
    EXPECT_EQ(Rows(*grid), c.rows) << c.inserted;
  }
}

TEST_F(EditingTest, DeleteSectionIsInclusiveAndTakesLineBreaks) {
  struct Case {
    const char* text;
    TPoint first, last;
    std::vector<std::string> rows;
  } cases[] = {
      {"abcdefg", {2, 0}, {4, 0}, {"abfg"}},
      {"abc\ndef", {1, 0}, {3, 0}, {"adef"}},
      {"abc\ndef", {1, 0}, {2, 0}, {"a", "def"}},
      {"abc\ndef\ngh", {2, 0}, {0, 2}, {"abh"}},
      {"abc\ndef", {1, 1}, {9, 1}, {"abc", "d"}},
      {"abc\ndef", {0, 0}, {5, 9}, {"abc", "def"}},
      {"ab\ncd\nef", {0, 0}, {-6, 1}, {"cd", "ef"}},
      {"ab\ncd\nef", {1, 0}, {INT32_MIN, 2}, {"aef"}},
      {"ab\ncd", {INT32_MIN, 1}, {INT32_MAX, 1}, {"ab", ""}},
      {"abc", {2, 0}, {1, 0}, {"abc"}},
      {"abc", {2, 0}, {-1, 0}, {"abc"}},
  };
  for (const Case& c : cases) {
    auto grid = Grid(c.text);
    DeleteSection(*grid, c.first, c.last, nullptr);
    EXPECT_EQ(Rows(*grid), c.rows) << c.text << " " << c.first.column << "," << c.first.row;
  }
}

TEST_F(EditingTest, TextInRectCopiesStretchesWithinItsLimit) {
  auto grid = Grid("abc\ndef\n\nxyz");
  struct Case {
    TPoint first, last;
    int32_t limit;
    const char* expected;
  } cases[] = {
      {{0, 0}, {9, 1}, 100, "abc\r\ndef\r\n"}, {{1, 0}, {1, 0}, 100, "b"},     {{3, 0}, {3, 0}, 100, "\r\n"},
      {{1, 0}, {5, 0}, 100, "bc\r\n"},         {{1, 0}, {5, 0}, 3, "bc\r"},    {{0, 1}, {0, 0}, 100, ""},
      {{2, 0}, {1, 3}, 100, "c\r\ndef\r\n\r\nxy"}, {{2, 0}, {1, 3}, 6, "c\r\ndef"}, {{0, 2}, {0, 2}, 1, "\r"},
      {{-4, -2}, {1, 0}, 100, "ab"},           {{0, 3}, {2, 40}, 100, "xyz"},
  };
  for (const Case& c : cases) {
    std::string buffer(static_cast<size_t>(c.limit) + 8, '#');
    const int32_t length = TextInRect(*grid, c.first, c.last, buffer.data(), c.limit);
    EXPECT_EQ(std::string(buffer.data(), static_cast<size_t>(length)), c.expected);
    EXPECT_EQ(buffer[static_cast<size_t>(length)], '\0');
    EXPECT_EQ(buffer.find_first_not_of('#', static_cast<size_t>(c.limit) + 1), std::string::npos);
  }
}

// The edits against a model of the whole text: insertion at a linear index,
// deletion of an inclusive stretch; TextInRect against the same stretch of
// Text; and a deletion of what was inserted gives the text back.
TEST_F(EditingTest, EditsAgreeWithAModelOfTheText) {
  std::mt19937 random(17);
  const char* const kInsertions[] = {"x", "\n", "\r\n", "ab\ncd", "q\n\n", "\n\n", "tail"};
  for (int trial = 0; trial < 600; ++trial) {
    auto grid = Grid("first\nsecond row\n\nlast");
    for (int step = 0; step < 12; ++step) {
      const std::string before = TextOf(*grid);
      const int32_t row = static_cast<int32_t>(random() % static_cast<unsigned>(grid->NumberOfRows()));
      const int32_t column = static_cast<int32_t>(random() % static_cast<unsigned>(grid->RowLength(row) + 1));
      const size_t index = static_cast<size_t>(IndexForPoint(*grid, {column, row}));
      const std::string inserted = kInsertions[random() % std::size(kInsertions)];
      const TPoint end = InsertString(*grid, inserted.c_str(), {column, row}, nullptr);
      ASSERT_EQ(TextOf(*grid), before.substr(0, index) + testing::WithCrLf(inserted) + before.substr(index));
      // The stretch just inserted, as TextInRect sees it.
      const TPoint last = PointBefore(*grid, end);
      std::string copy(256, '\0');
      const int32_t length = TextInRect(*grid, {column, row}, last, copy.data(), 255);
      const std::string stretch = TextOf(*grid).substr(index, testing::WithCrLf(inserted).size());
      if (!(last < TPoint{column, row})) {
        ASSERT_EQ(copy.substr(0, static_cast<size_t>(length)), stretch);
      }
      if (random() % 2 && !(last < TPoint{column, row})) {
        DeleteSection(*grid, {column, row}, last, nullptr);
        ASSERT_EQ(TextOf(*grid), before) << "trial " << trial;
      }
    }
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
  SplitRow(*grid, {0, 3}, nullptr);
  EXPECT_EQ(Rows(*grid), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(grid->tokenLists().size(), 2u);
  char buffer[4];
  EXPECT_EQ(TextInRect(*grid, {0, 5}, {0, 9}, buffer, 3), 0);
  EXPECT_EQ(TextInRect(*grid, {0, 0}, {0, 0}, nullptr, 3), 0);
}

}  // namespace
}  // namespace weft
