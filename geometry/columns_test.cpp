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

class ColumnsTest : public testing::GridTest {};

// One example per rule at the edges; the cross-checks below cover the rest. A grid without a font has cells of
// 0 pixels and a tab width of 0, which count as 1.
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
  EXPECT_EQ(CellForPoint(*grid, 2 * cellWidth() + 1, 1 - lineHeight()), (TPoint{1, 0}));  // just above: row 0
  EXPECT_EQ(CellForPoint(*grid, 2 * cellWidth() + 1, -lineHeight()), (TPoint{2, 0}));    // further: the cell grid
  EXPECT_EQ(NonTabbedToTabbedIndex(*Grid("a\tb", true), 5), 5);                          // kept as it was
  EXPECT_EQ(NonTabbedToTabbedIndex(TStringGrid(shared), 5), 0);
  TSharedState bare;
  grid = std::make_unique<TStringGrid>(bare);
  grid->SetText("\tab\ncd", 0, false);
  EXPECT_EQ(PointForCell(*grid, {2, 1}), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, 2, 1), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, -7, -7), (TPoint{-7, 0}));
  EXPECT_EQ(CellExtent(*grid), (TPoint{3, 2}));
}

int32_t ModelColumn(std::string_view text, int32_t index, int32_t tabWidth) {
  int32_t column = 0;
  for (size_t i = 0; i < static_cast<size_t>(index); ++i) {
    column = i < text.size() && text[i] == '\t' ? (column / tabWidth + 1) * tabWidth : column + 1;
  }
  return column;
}

// The left half of a character (half a full stop for a tab) gives the caret before it, the rest the caret after
// it; past the text, one per cell.
TEST_F(ColumnsTest, VisualColumnsAndCaretsFollowTheTabStops) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const std::string text = testing::GeneratedTabbedText(random, 1);
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t cell : {1, 8, 9}) {
      for (int32_t tabWidth : {1, 3, 4, 8}) {
        for (int32_t i = 0; i < length + 3; ++i) {
          const int32_t left = ModelColumn(text, i, tabWidth) * cell, right = ModelColumn(text, i + 1, tabWidth) * cell;
          ASSERT_EQ(VisualColumn(text.data(), length, i, tabWidth), left / cell) << text << " index " << i;
          const int32_t half = (i < length && text[i] == '\t' ? cell * tabWidth : cell) / 2;
          for (int32_t pixel : {left, left + 1, left + half - 1, left + half, left + half + 1, right - 1}) {
            if (pixel < left || pixel >= right) continue;
            const int32_t caret = i >= length ? i + 1 : pixel <= left + half ? i + 1 : i + 2;
            ASSERT_EQ(IndexFromPixelWidth(text.data(), length, cell, tabWidth, pixel), caret) << text << " " << pixel;
          }
        }
      }
    }
  }
}

// Each cell's pixel is its visual column and row less the top corner and maps back to it; AtPoint reads it, or a
// line feed off the characters.
TEST_F(ColumnsTest, CellsAndPixelsInvertOnGeneratedText) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 20; ++trial) {
    auto grid = Grid(testing::GeneratedTabbedText(random, 30));
    for (TPoint corner : {TPoint{0, 0}, TPoint{13, 37}, TPoint{-20, -5}, TPoint{1000, 5000}}) {
      grid->SetTopCorner(corner.column, corner.row);
      int32_t widest = 0;
      for (int32_t row = -1; row < grid->NumberOfRows() + 2; ++row) {
        const std::string_view text = grid->HasRow(row) ? grid->Row(row).view() : std::string_view();
        const int32_t length = static_cast<int32_t>(text.size());
        widest = std::max(widest, ModelColumn(text, length, 4));
        for (int32_t column = -1; column < length + 3; ++column) {
          const int32_t character = column >= 0 && column < length ? static_cast<unsigned char>(text[column]) : '\n';
          ASSERT_EQ(AtPoint(*grid, {column, row}), character) << "row " << row << " column " << column;
          const int32_t visual = column < 0 ? column : ModelColumn(text, column, 4);
          ASSERT_EQ(VisualColumnFor(*grid, {column, row}), visual) << "row " << row << " column " << column;
          if (column < 0) continue;
          const TPoint pixel = PointForCell(*grid, {column, row});
          ASSERT_EQ(pixel, (TPoint{visual * cellWidth() - corner.column, row * lineHeight() - corner.row}))
              << "row " << row << " column " << column;
          if (row >= 0) {
            ASSERT_EQ(CellForPoint(*grid, pixel.column, pixel.row), (TPoint{column, row})) << "row " << row;
          }
        }
        ASSERT_EQ(RowEndPixelX(*grid, row), ModelColumn(text, length, 4) * cellWidth() - corner.column);
      }
      ASSERT_EQ(CellExtent(*grid), (TPoint{widest, grid->NumberOfRows()}));
    }
  }
}

// Against Text with tabs expanded: a tab's first space maps to the tab, the others after it; a CR to its row's
// end, an LF to the next row's start.
TEST_F(ColumnsTest, NonTabbedToTabbedIndexMatchesTheExpandedText) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 1000; ++trial) {
    auto grid = Grid(testing::RandomText(random, "     a'\n\nx", 99), true);
    ASSERT_FALSE(grid->hasTabs());
    const std::string expanded = testing::TextOf(*grid, true);
    std::vector<int32_t> reference;
    int32_t tabbed = 0;
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row, tabbed += 2) {
      const size_t rowStart = reference.size();
      for (unsigned char c : grid->Row(row).view()) {
        const size_t spaces = c == '\t' ? grid->indentWidth() - (reference.size() - rowStart) % grid->indentWidth() : 1;
        ASSERT_EQ(expanded.substr(reference.size(), spaces), c == '\t' ? std::string(spaces, ' ') : std::string(1, c));
        reference.push_back(tabbed);
        reference.insert(reference.end(), spaces - 1, tabbed + 1);
        ++tabbed;
      }
      reference.insert(reference.end(), {tabbed, tabbed + 2});
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
