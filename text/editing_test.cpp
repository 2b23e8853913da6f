#include "text/editing.h"

#include <gtest/gtest.h>

#include "tests/support/grid_test_support.h"

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
