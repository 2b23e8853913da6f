#include "geometry/columns.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::GeneratedTabbedText;

class ColumnsTest : public testing::GridTest {};

int32_t Length(const std::string& text) { return static_cast<int32_t>(text.size()); }

// One example per rule; the cross-checks below cover the rest.
TEST_F(ColumnsTest, VisualColumnsAndCaretsAtTheEdges) {
  EXPECT_EQ(VisualColumn("ab\tc", 4, 3, 4), 4);   // a tab between stops reaches the next one
  EXPECT_EQ(VisualColumn("abcd\t", 5, 5, 4), 8);  // a tab on a stop advances a full stop
  EXPECT_EQ(VisualColumn("a\t", 2, 6, 4), 8);     // past the end each index is one column
  EXPECT_EQ(VisualColumn("ab", 2, -3, 4), 0);
  EXPECT_EQ(VisualColumn("\t", 1, 1, -5), 1);     // tab widths below 1 count as 1
  EXPECT_EQ(VisualColumn(nullptr, 4, 3, 4), 3);
  auto grid = Grid("\tab");
  const int32_t visual[][3] = {{0, 0, 0}, {1, 0, 4}, {5, 0, 8}, {-2, 0, -2}, {5, 1, 5}, {5, -1, 5}};
  for (const auto& c : visual) EXPECT_EQ(VisualColumnFor(*grid, {c[0], c[1]}), c[2]) << c[0] << "," << c[1];

  const struct {
    std::string text;
    int32_t cellWidth, tabWidth, pixel, expected;
  } carets[] = {
      {"a\t", 8, 4, 24, 2},  // a tab three cells wide still rounds at 16
      {"a\t", 8, 4, 25, 3},
      {"", 8, 4, -5, 1},
      {"", 8, 4, -9, 0},     // signed division
      {"\t", 8, 0, 5, 2},    // tab width 0 counts as 1
      {"ab", 0, 4, 1, 2},    // cell width 0 counts as 1
      {"ab", -3, 4, 7, 8},
  };
  for (const auto& c : carets) {
    EXPECT_EQ(IndexFromPixelWidth(c.text.data(), Length(c.text), c.cellWidth, c.tabWidth, c.pixel), c.expected)
        << c.text << " cell " << c.cellWidth << " tab " << c.tabWidth << " pixel " << c.pixel;
  }
  EXPECT_EQ(IndexFromPixelWidth(nullptr, 5, 8, 4, 20), 3);
  EXPECT_EQ(IndexFromPixelWidth("ab", -1, 8, 4, 20), 3);
}

TEST_F(ColumnsTest, CellsAndPixelsAroundTheText) {
  auto grid = Grid("\tab\nxy");
  const int32_t w = cellWidth(), h = lineHeight();
  const struct {
    int32_t x, y;
    TPoint expected;
  } cases[] = {
      {2 * w, 0, {0, 0}},             // left half of the tab
      {2 * w + 1, -(h - 1), {1, 0}},  // just above the text still counts as row 0
      {2 * w + 1, -h, {2, 0}},        // further up: row 0 by the cell grid alone
      {2 * w + 1, 2 * h, {2, 2}},     // below the last row: rows past it
      {-w - 1, h, {-1, 1}},           // left of the text: the cell grid alone
      {7 * w, h, {7, 1}},             // past a row's end, one column per cell
  };
  for (const auto& c : cases) EXPECT_EQ(CellForPoint(*grid, c.x, c.y), c.expected) << c.x << "," << c.y;
  grid->SetTopCorner(5, 7);
  EXPECT_EQ(PointForCell(*grid, {1, 0}), (TPoint{4 * w - 5, -7}));
  EXPECT_EQ(PointForCell(*grid, {3, 4}), (TPoint{3 * w - 5, 4 * h - 7}));  // past the last row: not expanded
  EXPECT_EQ(RowEndPixelX(*grid, 0), 6 * w - 5);
  EXPECT_EQ(RowEndPixelX(*grid, 9), -5);
  EXPECT_EQ(PixelYOf(*grid, 3), 3 * h - 7);
  EXPECT_EQ(CellExtent(*grid), (TPoint{6, 2}));
  EXPECT_EQ(CellExtent(*Grid("abcdef\n\t\tb\n")), (TPoint{9, 3}));
  EXPECT_EQ(CellExtent(*Grid("")), (TPoint{0, 1}));
}

TEST_F(ColumnsTest, AtPointAnswersALineFeedOffTheCharacters) {
  auto grid = Grid("ab\xe9\ncd");
  EXPECT_EQ(AtPoint(*grid, {2, 0}), 0xe9);
  EXPECT_EQ(AtPoint(*grid, {1, 1}), 'd');
  for (TPoint off : {TPoint{3, 0}, TPoint{-1, 0}, TPoint{2, 1}, TPoint{0, 2}, TPoint{0, -1}}) {
    EXPECT_EQ(AtPoint(*grid, off), '\n') << off.column << "," << off.row;
  }
}

// Every position within a row, and on rows past the text, comes back from
// the pixel of its cell, whatever the scroll offset; and every caret of a
// row from its pixels.
void ExpectCellsAndCaretsInvert(const TStringGrid& grid, int32_t cellWidth, int32_t tabWidth);

TEST_F(ColumnsTest, CellsAndCaretsInvertOnGeneratedTextAndTheCorpus) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 20; ++trial) {
    auto grid = Grid(GeneratedTabbedText(random, 30));
    for (TPoint corner : {TPoint{0, 0}, TPoint{13, 37}, TPoint{-20, -5}, TPoint{1000, 5000}}) {
      grid->SetTopCorner(corner.column, corner.row);
      ExpectCellsAndCaretsInvert(*grid, cellWidth(), shared.settings.tabWidth());
      if (HasFatalFailure()) FAIL() << "corner " << corner.column << "," << corner.row;
    }
  }
  for (const auto& path : testing::CorpusFiles(10000)) {
    auto grid = Grid(testing::ReadFile(path));
    grid->SetTopCorner(3 * cellWidth(), 17);
    ExpectCellsAndCaretsInvert(*grid, cellWidth(), shared.settings.tabWidth());
    if (HasFatalFailure()) FAIL() << path;
  }
}

// The caret index of a pixel, from each character's edges as VisualColumn
// places them: the left half of a character (half a full stop for a tab)
// gives the caret before it, the rest the caret after it.
void ExpectCaretsAgreeWithVisualColumns(const char* text, int32_t length, int32_t cellWidth, int32_t tabWidth) {
  for (int32_t i = 0; i < length; ++i) {
    const int32_t left = VisualColumn(text, length, i, tabWidth) * cellWidth;
    const int32_t right = VisualColumn(text, length, i + 1, tabWidth) * cellWidth;
    const int32_t half = (text[i] == '\t' ? cellWidth * tabWidth : cellWidth) / 2;
    for (int32_t pixel : {left, left + 1, left + half - 1, left + half, left + half + 1, right - 1}) {
      if (pixel < left || pixel >= right) continue;
      ASSERT_EQ(IndexFromPixelWidth(text, length, cellWidth, tabWidth, pixel), pixel <= left + half ? i + 1 : i + 2)
          << std::string(text, static_cast<size_t>(length)) << " character " << i << " pixel " << pixel;
    }
  }
  const int32_t end = VisualColumn(text, length, length, tabWidth) * cellWidth;
  for (int32_t cell = 0; cell < 3; ++cell) {
    for (int32_t offset : {0, cellWidth / 2, cellWidth - 1}) {
      ASSERT_EQ(IndexFromPixelWidth(text, length, cellWidth, tabWidth, end + cell * cellWidth + offset),
                length + 1 + cell);
    }
  }
}

void ExpectCellsAndCaretsInvert(const TStringGrid& grid, int32_t cellWidth, int32_t tabWidth) {
  for (int32_t row = 0; row < grid.NumberOfRows() + 2; ++row) {
    const int32_t last = grid.HasRow(row) ? grid.RowLength(row) : 5;
    for (int32_t column = 0; column <= last; ++column) {
      const TPoint pixel = PointForCell(grid, {column, row});
      ASSERT_EQ(CellForPoint(grid, pixel.column, pixel.row), (TPoint{column, row})) << "row " << row << " column " << column;
    }
    if (grid.HasRow(row)) ExpectCaretsAgreeWithVisualColumns(grid.Row(row).data(), last, cellWidth, tabWidth);
  }
}

TEST_F(ColumnsTest, IndexFromPixelWidthAgreesWithVisualColumn) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const std::string row = GeneratedTabbedText(random, 1);
    for (int32_t cellWidth : {1, 8, 9}) {
      for (int32_t tabWidth : {1, 3, 4, 8}) ExpectCaretsAgreeWithVisualColumns(row.data(), Length(row), cellWidth, tabWidth);
    }
  }
}

// The reference: walk the grid's rows beside the text that Text writes with
// its tabs expanded, where each tab stands for the spaces up to the next
// multiple of the indent width. The first of those spaces maps to the tab,
// the others after it; a CR to its row's end, an LF to the next row's start.
std::vector<int32_t> TabbedIndexReference(const TStringGrid& grid, const std::string& expanded) {
  std::vector<int32_t> reference;
  const int32_t width = grid.indentWidth();
  int32_t tabbed = 0;
  size_t at = 0;
  for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
    const size_t rowStart = at;
    for (unsigned char c : grid.Row(row).view()) {
      if (c == '\t') {
        const size_t spaces = width - (at - rowStart) % width;
        EXPECT_EQ(expanded.substr(at, spaces), std::string(spaces, ' ')) << "at " << at;
        reference.push_back(tabbed);
        reference.insert(reference.end(), spaces - 1, tabbed + 1);
        at += spaces;
      } else {
        EXPECT_EQ(static_cast<unsigned char>(expanded[at]), c) << "at " << at;
        reference.push_back(tabbed);
        ++at;
      }
      ++tabbed;
    }
    if (row + 1 < grid.NumberOfRows()) {
      reference.push_back(tabbed);
      reference.push_back(tabbed + 2);
      tabbed += 2;
      at += 2;
    }
  }
  EXPECT_EQ(at, expanded.size());
  reference.push_back(tabbed);
  reference.push_back(tabbed + 2);  // past the end: as if the last row had a line break
  return reference;
}

void ExpectTabbedIndicesMatchReference(const TStringGrid& grid, int32_t stride) {
  const std::string expanded = testing::TextOf(grid, true);
  const std::vector<int32_t> reference = TabbedIndexReference(grid, expanded);
  for (size_t index = 0; index < reference.size(); index += static_cast<size_t>(stride)) {
    ASSERT_EQ(NonTabbedToTabbedIndex(grid, static_cast<int32_t>(index)), reference[index]) << "index " << index;
  }
  ASSERT_EQ(NonTabbedToTabbedIndex(grid, static_cast<int32_t>(expanded.size())), reference[expanded.size()]);
  ASSERT_EQ(NonTabbedToTabbedIndex(grid, -4), 0);
}

TEST_F(ColumnsTest, NonTabbedToTabbedIndexMatchesTheExpandedText) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 1000; ++trial) {
    auto grid = Grid(testing::RandomText(random, "     a'\n\nx", 99), true);
    ASSERT_FALSE(grid->hasTabs());
    ExpectTabbedIndicesMatchReference(*grid, 1);
  }
  auto kept = Grid("a\tb", true);  // kept as it was
  EXPECT_EQ(NonTabbedToTabbedIndex(*kept, 5), 5);
  EXPECT_EQ(NonTabbedToTabbedIndex(TStringGrid(shared), 5), 0);
  for (const auto& path : testing::CorpusFiles()) {
    // Tabs become spaces first, so every file can be converted back.
    auto grid = Grid(testing::TextOf(*Grid(testing::ReadFile(path)), true), true);
    if (grid->hasTabs()) continue;  // tabs inside string literals stay tabs
    ExpectTabbedIndicesMatchReference(*grid, testing::SamplingStride(path));
    if (HasFatalFailure()) FAIL() << path;
  }
}

}  // namespace
}  // namespace weft
