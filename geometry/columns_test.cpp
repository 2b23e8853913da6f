#include "geometry/columns.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "geometry/test_grid.h"

namespace weft {
namespace {

using ColumnsTest = GeometryTest;

int32_t Length(const std::string& text) { return static_cast<int32_t>(text.size()); }

TEST_F(ColumnsTest, VisualColumnExpandsTabsToTheNextStop) {
  struct Case {
    std::string text;
    int32_t n, tabWidth, expected;
  } cases[] = {
      {"ab\tc", 3, 4, 4},   // a tab between stops reaches the next one
      {"abcd\t", 5, 4, 8},  // a tab on a stop advances a full stop
      {"\tab", 1, 4, 4},
      {"\tab", 2, 4, 5},
      {"\tab", 3, 4, 6},
      {"\t\t", 2, 4, 8},
      {"a\t", 2, 3, 3},
      {"ab\t", 3, 1, 3},
      {"ab", 5, 4, 5},  // past the end each index is one column
      {"a\t", 6, 4, 8},
      {"ab", 0, 4, 0},
      {"ab", -3, 4, 0},
      {"\t", 1, 0, 1},  // tab widths below 1 count as 1
      {"\t", 1, -5, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VisualColumn(c.text.data(), Length(c.text), c.n, c.tabWidth), c.expected)
        << c.text << " n " << c.n << " tab " << c.tabWidth;
  }
  EXPECT_EQ(VisualColumn(nullptr, 4, 3, 4), 3);
}

TEST_F(ColumnsTest, VisualColumnForExpandsOnlyRowsOfTheText) {
  auto grid = Grid("\tab");
  const struct {
    TPoint position;
    int32_t expected;
  } cases[] = {
      {{0, 0}, 0},   {{1, 0}, 4}, {{2, 0}, 5}, {{3, 0}, 6}, {{5, 0}, 8},
      {{-2, 0}, -2}, {{5, 1}, 5}, {{5, -1}, 5},  // not expanded
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VisualColumnFor(*grid, c.position), c.expected) << c.position.column << "," << c.position.row;
  }
}

TEST_F(ColumnsTest, IndexFromPixelWidthRoundsToTheNearestCaret) {
  struct Case {
    std::string text;
    int32_t cellWidth, tabWidth, pixel, expected;
  } cases[] = {
      {"ab", 8, 4, 12, 2},  // left half of b
      {"ab", 8, 4, 13, 3},
      {"ab", 8, 4, 8, 2},
      {"ab", 8, 4, 4, 1},
      {"ab", 8, 4, 5, 2},
      {"ab", 8, 4, 16, 3},  // first cell past the end
      {"ab", 8, 4, 23, 3},
      {"ab", 8, 4, 24, 4},
      {"ab", 8, 4, -5, 1},
      {"abc\td", 8, 4, 24, 4},  // the tab spans one cell, its half is 16
      {"abc\td", 8, 4, 25, 4},
      {"abc\td", 8, 4, 31, 4},
      {"abc\td", 8, 4, 32, 5},
      {"abc\td", 8, 4, 36, 5},
      {"abc\td", 8, 4, 37, 6},
      {"a\t", 8, 4, 24, 2},  // a tab three cells wide still rounds at 16
      {"a\t", 8, 4, 25, 3},
      {"a\t", 8, 4, 32, 3},
      {"\ta", 8, 4, 16, 1},
      {"\ta", 8, 4, 17, 2},
      {"\ta", 8, 4, 36, 2},
      {"\ta", 8, 4, 37, 3},
      {"\ta", 8, 4, 48, 4},
      {"", 8, 4, 20, 3},
      {"", 8, 4, -5, 1},
      {"", 8, 4, -9, 0},  // signed division
      {"\t", 8, 0, 4, 1},  // tab width 0 counts as 1
      {"\t", 8, 0, 5, 2},
      {"ab", 0, 4, 0, 1},  // cell width 0 counts as 1
      {"ab", 0, 4, 1, 2},
      {"ab", -3, 4, 7, 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IndexFromPixelWidth(c.text.data(), Length(c.text), c.cellWidth, c.tabWidth, c.pixel), c.expected)
        << c.text << " cell " << c.cellWidth << " tab " << c.tabWidth << " pixel " << c.pixel;
  }
  EXPECT_EQ(IndexFromPixelWidth(nullptr, 5, 8, 4, 20), 3);
  EXPECT_EQ(IndexFromPixelWidth("ab", -1, 8, 4, 20), 3);
}

TEST_F(ColumnsTest, CellForPointAroundTheText) {
  auto grid = Grid("\tab\nxy");
  const int32_t w = cellWidth(), h = lineHeight();
  const struct {
    int32_t x, y;
    TPoint expected;
  } cases[] = {
      {2 * w, 0, {0, 0}},              // left half of the tab
      {2 * w + 1, 0, {1, 0}},          // right half
      {2 * w + 1, -(h - 1), {1, 0}},   // just above the text still counts as row 0
      {2 * w + 1, -1, {1, 0}},
      {2 * w + 1, -h, {2, 0}},         // further up: row 0 by the cell grid alone
      {2 * w + 1, -3 * h, {2, 0}},
      {2 * w + 1, 2 * h, {2, 2}},      // below the last row: rows past it
      {0, 100 * h + h - 1, {0, 100}},
      {-1, 0, {0, 0}},                 // left of the text: the cell grid alone
      {-w - 1, h, {-1, 1}},
      {7 * w, h, {7, 1}},              // past a row's end, one column per cell
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CellForPoint(*grid, c.x, c.y), c.expected) << c.x << "," << c.y;
  }
  grid->SetTopCorner(w, h);
  EXPECT_EQ(CellForPoint(*grid, 0, 0), (TPoint{1, 1}));
  EXPECT_EQ(CellForPoint(*grid, -w, -h), (TPoint{0, 0}));
}

TEST_F(ColumnsTest, PointForCellPlacesCellsOnThePixelGrid) {
  auto grid = Grid("\tab\nxy");
  const int32_t w = cellWidth(), h = lineHeight();
  grid->SetTopCorner(5, 7);
  EXPECT_EQ(PointForCell(*grid, {0, 0}), (TPoint{-5, -7}));
  EXPECT_EQ(PointForCell(*grid, {0, 1}), (TPoint{-5, h - 7}));
  EXPECT_EQ(PointForCell(*grid, {1, 0}), (TPoint{4 * w - 5, -7}));
  EXPECT_EQ(PointForCell(*grid, {3, 0}), (TPoint{6 * w - 5, -7}));
  EXPECT_EQ(PointForCell(*grid, {5, 0}), (TPoint{8 * w - 5, -7}));
  EXPECT_EQ(PointForCell(*grid, {3, 4}), (TPoint{3 * w - 5, 4 * h - 7}));  // past the last row: not expanded
  EXPECT_EQ(PointForCell(*grid, {2, -1}), (TPoint{2 * w - 5, -h - 7}));
  EXPECT_EQ(RowEndPixelX(*grid, 0), 6 * w - 5);
  EXPECT_EQ(RowEndPixelX(*grid, 1), 2 * w - 5);
  EXPECT_EQ(RowEndPixelX(*grid, 9), -5);
  EXPECT_EQ(PixelYOf(*grid, 3), 3 * h - 7);
}

TEST_F(ColumnsTest, CellExtentIsTheWidestExpandedRow) {
  EXPECT_EQ(CellExtent(*Grid("a\tb\nabcdef")), (TPoint{6, 2}));
  EXPECT_EQ(CellExtent(*Grid("abcdef\na\tb")), (TPoint{6, 2}));
  EXPECT_EQ(CellExtent(*Grid("a\tb")), (TPoint{5, 1}));
  EXPECT_EQ(CellExtent(*Grid("abcdef\n\t\tb\n")), (TPoint{9, 3}));
  EXPECT_EQ(CellExtent(*Grid("")), (TPoint{0, 1}));
  EXPECT_EQ(CellExtent(TStringGrid(shared)), (TPoint{0, 0}));
}

TEST_F(ColumnsTest, AtPointAnswersALineFeedOffTheCharacters) {
  auto grid = Grid("ab\xe9\ncd");
  EXPECT_EQ(AtPoint(*grid, {0, 0}), 'a');
  EXPECT_EQ(AtPoint(*grid, {2, 0}), 0xe9);
  EXPECT_EQ(AtPoint(*grid, {1, 1}), 'd');
  for (TPoint off : {TPoint{3, 0}, TPoint{9, 0}, TPoint{-1, 0}, TPoint{2, 1}, TPoint{0, 2}, TPoint{0, -1}}) {
    EXPECT_EQ(AtPoint(*grid, off), '\n') << off.column << "," << off.row;
  }
}

TEST_F(ColumnsTest, NonTabbedToTabbedIndexTable) {
  // Spaces text "a\r\n    x\r\nb" against the grid's "a\r\n\tx\r\nb".
  auto grid = Grid("a\n    x\nb", true);
  ASSERT_EQ(grid->Row(1).view(), "\tx");
  const int32_t cases[][2] = {
      {0, 0},   {1, 1},           // CR: its row's end
      {2, 3},                     // LF: the next row's start
      {3, 3},                     // the first space a tab replaced: the tab
      {4, 4},   {5, 4}, {6, 4},   // the others: after it
      {7, 4},   {8, 5}, {9, 7}, {10, 7}, {11, 8},
      {12, 10}, {13, 10},         // past the end: as if the last row had a line break
      {1000, 10}, {-4, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NonTabbedToTabbedIndex(*grid, c[0]), c[1]) << c[0];

  // A tab one column wide: "abc  d" became "abc\t d".
  grid = Grid("    x\nabc  d", true);
  ASSERT_EQ(grid->Row(1).view(), "abc\t d");
  EXPECT_EQ(NonTabbedToTabbedIndex(*grid, 10), 7);
  EXPECT_EQ(NonTabbedToTabbedIndex(*grid, 11), 8);
  EXPECT_EQ(NonTabbedToTabbedIndex(*grid, 12), 9);

  grid = Grid("a\tb", true);  // kept as it was
  EXPECT_EQ(NonTabbedToTabbedIndex(*grid, 5), 5);
  EXPECT_EQ(NonTabbedToTabbedIndex(*grid, -3), -3);
  EXPECT_EQ(NonTabbedToTabbedIndex(TStringGrid(shared), 5), 0);
}

// Every position within a row, and on rows past the text, comes back from
// the pixel of its cell, whatever the scroll offset.
TEST_F(ColumnsTest, CellForPointInvertsPointForCell) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 20; ++trial) {
    auto grid = Grid(GeneratedTabbedText(random, 30));
    for (TPoint corner : {TPoint{0, 0}, TPoint{13, 37}, TPoint{-20, -5}, TPoint{1000, 5000}}) {
      grid->SetTopCorner(corner.column, corner.row);
      for (int32_t row = 0; row < grid->NumberOfRows() + 2; ++row) {
        const int32_t last = grid->HasRow(row) ? grid->RowLength(row) : 5;
        for (int32_t column = 0; column <= last; ++column) {
          const TPoint pixel = PointForCell(*grid, {column, row});
          ASSERT_EQ(CellForPoint(*grid, pixel.column, pixel.row), (TPoint{column, row}))
              << "row " << row << " column " << column << " corner " << corner.column << "," << corner.row;
        }
      }
    }
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

TEST_F(ColumnsTest, IndexFromPixelWidthAgreesWithVisualColumn) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const std::string row = GeneratedTabbedText(random, 1);
    for (int32_t cellWidth : {1, 8, 9}) {
      for (int32_t tabWidth : {1, 3, 4, 8}) {
        ExpectCaretsAgreeWithVisualColumns(row.data(), Length(row), cellWidth, tabWidth);
      }
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

std::string ExpandedText(const TStringGrid& grid) {
  int64_t size = 1;
  for (const str& row : grid.rows()) size += int64_t{row.size()} * grid.indentWidth() + 2;
  std::string buffer(static_cast<size_t>(size), '\0');
  buffer.resize(static_cast<size_t>(grid.Text(buffer.data(), static_cast<int32_t>(size), true)));
  return buffer;
}

void ExpectTabbedIndicesMatchReference(const TStringGrid& grid, int32_t stride) {
  const std::string expanded = ExpandedText(grid);
  const std::vector<int32_t> reference = TabbedIndexReference(grid, expanded);
  for (size_t index = 0; index < reference.size(); index += static_cast<size_t>(stride)) {
    ASSERT_EQ(NonTabbedToTabbedIndex(grid, static_cast<int32_t>(index)), reference[index]) << "index " << index;
  }
  ASSERT_EQ(NonTabbedToTabbedIndex(grid, static_cast<int32_t>(expanded.size())), reference[expanded.size()]);
}

TEST_F(ColumnsTest, NonTabbedToTabbedIndexMatchesTheExpandedText) {
  std::mt19937 random(11);
  const char alphabet[] = {' ', ' ', ' ', ' ', ' ', 'a', '\'', '\n', '\n', 'x'};
  for (int trial = 0; trial < 1000; ++trial) {
    std::string text;
    const size_t length = random() % 100;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
    auto grid = Grid(text, true);
    ASSERT_FALSE(grid->hasTabs());
    ExpectTabbedIndicesMatchReference(*grid, 1);
  }
}

TEST_F(ColumnsTest, CorpusNonTabbedToTabbedIndex) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "corpus not found at " << WEFT_CORPUS_DIR;
  int converted = 0;
  for (const auto& path : files) {
    // Tabs become spaces first, so every file can be converted back.
    auto original = Grid(ReadFile(path));
    auto grid = Grid(ExpandedText(*original), true);
    if (grid->hasTabs()) continue;  // tabs inside string literals stay tabs
    ExpectTabbedIndicesMatchReference(*grid, SamplingStride(path));
    if (HasFatalFailure()) FAIL() << path;
    ++converted;
  }
  EXPECT_GT(converted, 40);
}

TEST_F(ColumnsTest, CorpusCellsAndCarets) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "corpus not found at " << WEFT_CORPUS_DIR;
  for (const auto& path : files) {
    if (std::filesystem::file_size(path) > 10000) break;
    auto grid = Grid(ReadFile(path));
    grid->SetTopCorner(3 * cellWidth(), 17);
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      const str& text = grid->Row(row);
      ExpectCaretsAgreeWithVisualColumns(text.data(), text.size(), cellWidth(), shared.settings.tabWidth());
      for (int32_t column = 0; column <= text.size(); ++column) {
        const TPoint pixel = PointForCell(*grid, {column, row});
        ASSERT_EQ(CellForPoint(*grid, pixel.column, pixel.row), (TPoint{column, row})) << path;
      }
    }
    if (HasFatalFailure()) FAIL() << path;
  }
}

}  // namespace
}  // namespace weft
