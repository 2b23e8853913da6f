#include "geometry/columns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::GeneratedTabbedText;

class ColumnsTest : public testing::GridTest {};

// One example per rule at the edges; the cross-checks below cover the rest.
TEST_F(ColumnsTest, EdgeCases) {
  EXPECT_EQ(VisualColumn("ab", 2, -3, 4), 0);
  EXPECT_EQ(VisualColumn("\t", 1, 1, -5), 1);  // tab widths below 1 count as 1
  EXPECT_EQ(VisualColumn(nullptr, 4, 3, 4), 3);
  EXPECT_EQ(IndexFromPixelWidth("", 0, 8, 4, -5), 1);
  EXPECT_EQ(IndexFromPixelWidth("", 0, 8, 4, -9), 0);  // signed division
  EXPECT_EQ(IndexFromPixelWidth("\t", 1, 8, 0, 5), 2);
  EXPECT_EQ(IndexFromPixelWidth("ab", 2, -3, 4, 7), 8);  // cell widths below 1 count as 1
  EXPECT_EQ(IndexFromPixelWidth(nullptr, 5, 8, 4, 20), 3);
  EXPECT_EQ(IndexFromPixelWidth("ab", -1, 8, 4, 20), 3);
  auto grid = Grid("\tab\nxy");
  const int32_t w = cellWidth(), h = lineHeight();
  EXPECT_EQ(CellForPoint(*grid, 2 * w + 1, -(h - 1)), (TPoint{1, 0}));  // just above the text counts as row 0
  EXPECT_EQ(CellForPoint(*grid, 2 * w + 1, -h), (TPoint{2, 0}));        // further up: the cell grid alone
  EXPECT_EQ(NonTabbedToTabbedIndex(*Grid("a\tb", true), 5), 5);        // kept as it was
  EXPECT_EQ(NonTabbedToTabbedIndex(TStringGrid(shared), 5), 0);
}

// The visual column of every index of a text, by the rule: a tab advances to
// the next multiple of the tab width, anything else one column.
std::vector<int32_t> ModelColumns(std::string_view text, int32_t tabWidth) {
  std::vector<int32_t> columns = {0};
  for (char c : text) columns.push_back(c == '\t' ? (columns.back() / tabWidth + 1) * tabWidth : columns.back() + 1);
  return columns;
}

// VisualColumn against the model, and the caret under each pixel: the left
// half of a character (half a full stop for a tab) gives the caret before it,
// the rest the caret after it; past the text, one caret per cell.
void ExpectColumnsAndCarets(std::string_view text, int32_t cellWidth, int32_t tabWidth) {
  const std::vector<int32_t> columns = ModelColumns(text, tabWidth);
  const int32_t length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length + 3; ++i) {
    ASSERT_EQ(VisualColumn(text.data(), length, i, tabWidth), i <= length ? columns[i] : columns[length] + i - length);
    if (i >= length) continue;
    const int32_t left = columns[i] * cellWidth;
    const int32_t half = (text[i] == '\t' ? cellWidth * tabWidth : cellWidth) / 2;
    for (int32_t pixel : {left, left + 1, left + half - 1, left + half, left + half + 1, columns[i + 1] * cellWidth - 1}) {
      if (pixel < left || pixel >= columns[i + 1] * cellWidth) continue;
      ASSERT_EQ(IndexFromPixelWidth(text.data(), length, cellWidth, tabWidth, pixel), pixel <= left + half ? i + 1 : i + 2)
          << std::string(text) << " character " << i << " pixel " << pixel;
    }
  }
  for (int32_t cell = 0; cell < 3; ++cell) {
    for (int32_t offset : {0, cellWidth / 2, cellWidth - 1}) {
      const int32_t pixel = (columns[length] + cell) * cellWidth + offset;
      ASSERT_EQ(IndexFromPixelWidth(text.data(), length, cellWidth, tabWidth, pixel), length + 1 + cell);
    }
  }
}

TEST_F(ColumnsTest, VisualColumnsAndCaretsFollowTheTabStops) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const std::string row = GeneratedTabbedText(random, 1);
    for (int32_t cellWidth : {1, 8, 9}) {
      for (int32_t tabWidth : {1, 3, 4, 8}) ExpectColumnsAndCarets(row, cellWidth, tabWidth);
    }
  }
}

// Every cell of the rows and of the rows around them: its pixel is its visual
// column and row less the top corner, and comes back to the cell; AtPoint
// reads its character, or a line feed off the characters; and the extent is
// the widest row.
void ExpectCellsInvert(const TStringGrid& grid, int32_t cellWidth, int32_t lineHeight) {
  const TPoint corner = grid.topCorner();
  int32_t widest = 0;
  for (int32_t row = -1; row < grid.NumberOfRows() + 2; ++row) {
    const std::string_view text = grid.HasRow(row) ? grid.Row(row).view() : std::string_view();
    const int32_t length = static_cast<int32_t>(text.size());
    const std::vector<int32_t> columns = ModelColumns(text, grid.settings().tabWidth());
    widest = std::max(widest, columns.back());
    for (int32_t column = -1; column < length + 3; ++column) {
      const int32_t character = column >= 0 && column < length ? static_cast<unsigned char>(text[column]) : '\n';
      ASSERT_EQ(AtPoint(grid, {column, row}), character) << "row " << row << " column " << column;
      if (column < 0) continue;
      const int32_t visual = column <= length ? columns[column] : columns.back() + column - length;
      const TPoint pixel = PointForCell(grid, {column, row});
      ASSERT_EQ(pixel, (TPoint{visual * cellWidth - corner.column, row * lineHeight - corner.row}))
          << "row " << row << " column " << column;
      if (row >= 0) {
        ASSERT_EQ(CellForPoint(grid, pixel.column, pixel.row), (TPoint{column, row})) << "row " << row;
      }
    }
    ASSERT_EQ(RowEndPixelX(grid, row), columns.back() * cellWidth - corner.column) << "row " << row;
  }
  ASSERT_EQ(CellExtent(grid), (TPoint{widest, grid.NumberOfRows()}));
}

TEST_F(ColumnsTest, CellsAndPixelsInvertOnGeneratedText) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 20; ++trial) {
    auto grid = Grid(GeneratedTabbedText(random, 30));
    for (TPoint corner : {TPoint{0, 0}, TPoint{13, 37}, TPoint{-20, -5}, TPoint{1000, 5000}}) {
      grid->SetTopCorner(corner.column, corner.row);
      ExpectCellsInvert(*grid, cellWidth(), lineHeight());
      if (HasFatalFailure()) FAIL() << "corner " << corner.column << "," << corner.row;
    }
  }
}

// The reference: walk the grid's rows beside the text that Text writes with
// its tabs expanded, where each tab stands for the spaces up to the next
// multiple of the indent width. The first of those spaces maps to the tab,
// the others after it; a CR to its row's end, an LF to the next row's start;
// past the end, as if the last row had a line break too.
TEST_F(ColumnsTest, NonTabbedToTabbedIndexMatchesTheExpandedText) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 1000; ++trial) {
    auto grid = Grid(testing::RandomText(random, "     a'\n\nx", 99), true);
    ASSERT_FALSE(grid->hasTabs());
    const std::string expanded = testing::TextOf(*grid, true);
    std::vector<int32_t> reference;
    int32_t tabbed = 0;
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      const size_t rowStart = reference.size();
      for (unsigned char c : grid->Row(row).view()) {
        const size_t spaces = c == '\t' ? grid->indentWidth() - (reference.size() - rowStart) % grid->indentWidth() : 1;
        ASSERT_EQ(expanded.substr(reference.size(), spaces), c == '\t' ? std::string(spaces, ' ') : std::string(1, c));
        reference.push_back(tabbed);
        reference.insert(reference.end(), spaces - 1, tabbed + 1);
        ++tabbed;
      }
      reference.push_back(tabbed);
      reference.push_back(tabbed + 2);
      tabbed += 2;
    }
    ASSERT_EQ(reference.size(), expanded.size() + 2);
    for (size_t index = 0; index < reference.size(); ++index) {
      ASSERT_EQ(NonTabbedToTabbedIndex(*grid, static_cast<int32_t>(index)), reference[index]) << "index " << index;
    }
    ASSERT_EQ(NonTabbedToTabbedIndex(*grid, -4), 0);
  }
}

}  // namespace
}  // namespace weft
