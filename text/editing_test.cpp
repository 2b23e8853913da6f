#include "text/editing.h"

#include <gtest/gtest.h>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::RowsOf;
using testing::TextOf;

class EditingTest : public testing::GridTest {};

// Line breaks in inserted texts, deletions over them and clamped coordinates are the geometry and export tests'
// part; a cell never splits its row, and a CR that ends an inserted text is dropped, as SetText drops it.
TEST_F(EditingTest, ACellNeverSplitsItsRow) {
  auto grid = Grid("ab");
  InsertCell(*grid, '\n', {1, 0}, nullptr);
  EXPECT_EQ(InsertString(*grid, "x\r", {9, 0}, nullptr), (TPoint{4, 0}));  // past the end: appends
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"a\nbx"}));
}

TEST_F(EditingTest, RowsOutsideTheTextChangeNothing) {
  auto grid = Grid("ab\ncd");
  for (TPoint at : {TPoint{0, 5}, TPoint{0, -1}, TPoint{7, 0}, TPoint{-3, 0}}) InsertCell(*grid, 'x', at, nullptr);
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
