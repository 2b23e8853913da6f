// Columns, pixels, positions and steps on generated text, against edits, and on arguments outside the text (the
// native build runs these under the sanitizers).
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/columns.h"
#include "geometry/positions.h"
#include "text/editing.h"
#include "tests/support/grid_test_support.h"
#include "text/editing.h"

namespace weft {
namespace {

class GeometryTest : public testing::GridTest {};

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// One example per rule at the edges; the cross-checks below cover the rest. A grid without a font has cells of
// 0 pixels and a tab width of 0, which count as 1. Rows outside the text read as empty.
TEST_F(GeometryTest, EdgeCases) {
  EXPECT_EQ(VisualColumn(nullptr, 4, 3, 4), 3);
  EXPECT_EQ(IndexFromPixelWidth("", 0, 8, 4, -5), 1);
  EXPECT_EQ(IndexFromPixelWidth("", 0, 8, 4, -9), 0);  // signed division
  EXPECT_EQ(IndexFromPixelWidth(nullptr, 5, 8, 4, 20), 3);
  EXPECT_EQ(IndexFromPixelWidth("ab", -1, 8, 4, 20), 3);
  auto grid = Grid("\tab\nxy");
  EXPECT_EQ(CellForPoint(*grid, 2 * cellWidth() + 1, 1 - lineHeight()), (TPoint{1, 0}));  // just above: row 0
  EXPECT_EQ(CellForPoint(*grid, 2 * cellWidth() + 1, -lineHeight()), (TPoint{2, 0}));    // further: the cell grid
  EXPECT_EQ(NonTabbedToTabbedIndex(*Grid("a\tb", true), 5), 5);                          // kept as it was
  TSharedState bare;  // no font, no configuration
  grid = std::make_unique<TStringGrid>(bare);
  grid->SetText("\tab\ncd", 0, false);
  EXPECT_EQ(PointForCell(*grid, {2, 1}), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, 2, 1), (TPoint{2, 1}));
  EXPECT_EQ(CellForPoint(*grid, -7, -7), (TPoint{-7, 0}));
  EXPECT_EQ(CellExtent(*grid), (TPoint{3, 2}));
  grid = Grid("ab\ncd");  // indices: a 0, b 1, CR 2, LF 3, c 4, d 5; other rows are empty
  EXPECT_EQ(PointForIndex(*grid, -1), (TPoint{-1, 0}));
  EXPECT_EQ(IndexForPoint(*grid, {5, 0}), 5);  // a column past the row's end runs into the next
  EXPECT_EQ(IndexForPoint(*grid, {1, 4}), 8 + 2 * 2 + 1);
  EXPECT_EQ(IndexForPoint(*grid, {1, kMax}), kMax);
  EXPECT_EQ(PointAfter(*grid, {kMax - 1, 0}), (TPoint{kMax, 0}));  // past the row's end: keeps moving right
  EXPECT_EQ(PointBefore(*grid, {0, 2}), (TPoint{2, 1}));
  EXPECT_EQ(PointBefore(*grid, {0, -4}), (TPoint{0, -4}));
  TPoint stepped{0, -3};  // from rows before the text each row is one step
  for (int32_t distance = 0; distance < 12; ++distance, stepped = PointAfter(*grid, stepped)) {
    EXPECT_EQ(PointAtDistanceFrom(*grid, distance, {0, -3}), stepped) << distance;
  }
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, kMin}), (TPoint{0, -1}));
  EXPECT_EQ(PointAtDistanceFrom(*grid, kMax, {0, 0}), (TPoint{2, 1}));
  const TStringGrid empty(shared);
  EXPECT_EQ(NonTabbedToTabbedIndex(empty, 5), 0);
  EXPECT_EQ(PointForIndex(empty, 5), (TPoint{0, 0}));
  EXPECT_EQ(PointAtDistanceFrom(empty, 3, {0, 0}), (TPoint{0, 0}));
  EXPECT_EQ(IndexForPoint(empty, {1, 2}), 5);
  EXPECT_EQ(CellExtent(empty), (TPoint{0, 0}));
}

int32_t ModelColumn(std::string_view text, int32_t index, int32_t tabWidth) {
  int32_t column = 0;
  for (int32_t i = 0; i < index; ++i) {
    column = i < static_cast<int32_t>(text.size()) && text[i] == '\t' ? (column / tabWidth + 1) * tabWidth : column + 1;
  }
  return column;
}

// The left half of a character (half a full stop for a tab) gives the caret before it, the rest the caret after
// it; past the text, one per cell. Cell and tab widths below 1 count as 1, indices below 1 give column 0.
TEST_F(GeometryTest, VisualColumnsAndCaretsFollowTheTabStops) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const std::string text = testing::GeneratedTabbedText(random, 1);
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t cellWidth : {-3, 1, 8, 9}) {
      for (int32_t tabWidth : {-5, 0, 3, 4, 8}) {
        const int32_t cell = std::max(cellWidth, 1), tab = std::max(tabWidth, 1);
        for (int32_t i = -2; i < length + 3; ++i) {
          const int32_t left = ModelColumn(text, i, tab) * cell, right = ModelColumn(text, i + 1, tab) * cell;
          ASSERT_EQ(VisualColumn(text.data(), length, i, tabWidth), left / cell) << text << " index " << i;
          const int32_t half = (i >= 0 && i < length && text[i] == '\t' ? cell * tab : cell) / 2;
          for (int32_t pixel : {left, left + 1, left + half - 1, left + half, left + half + 1, right - 1}) {
            if (pixel < left || pixel >= right) continue;
            const int32_t caret = i >= length ? i + 1 : pixel <= left + half ? i + 1 : i + 2;
            ASSERT_EQ(IndexFromPixelWidth(text.data(), length, cellWidth, tabWidth, pixel), caret) << text << " " << pixel;
          }
        }
      }
    }
  }
}

// Each cell's pixel is its visual column and row less the top corner and maps back to it; AtPoint reads it, or a
// line feed off the characters.
TEST_F(GeometryTest, CellsAndPixelsInvertOnGeneratedText) {
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
          SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
          ASSERT_EQ(AtPoint(*grid, {column, row}), character);
          const int32_t visual = column < 0 ? column : ModelColumn(text, column, 4);
          ASSERT_EQ(VisualColumnFor(*grid, {column, row}), visual);
          if (column < 0) continue;
          const TPoint pixel = PointForCell(*grid, {column, row});
          ASSERT_EQ(pixel, (TPoint{visual * cellWidth() - corner.column, row * lineHeight() - corner.row}));
          if (row < 0) continue;
          ASSERT_EQ(CellForPoint(*grid, pixel.column, pixel.row), (TPoint{column, row}));
        }
        ASSERT_EQ(RowEndPixelX(*grid, row), ModelColumn(text, length, 4) * cellWidth() - corner.column);
      }
      ASSERT_EQ(CellExtent(*grid), (TPoint{widest, grid->NumberOfRows()}));
    }
  }
}

// Against Text with tabs expanded: a tab's first space maps to the tab, the others after it; a CR to its row's
// end, an LF to the next row's start. Tabs typed after SetText count as well.
TEST_F(GeometryTest, NonTabbedToTabbedIndexMatchesTheExpandedText) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 1000; ++trial) {
    // Half the texts hold no literal, inside which Text would keep a tab: those get a tab typed at a row's end.
    const bool typeATab = trial % 2 == 1;
    auto grid = Grid(testing::RandomText(random, typeATab ? "     a\n\nx" : "     a'\n\nx", 99), true);
    ASSERT_FALSE(grid->hasTabs());
    if (typeATab) {
      const auto row = static_cast<int32_t>(random() % static_cast<uint32_t>(grid->NumberOfRows()));
      InsertCell(*grid, '\t', {grid->RowLength(row), row}, nullptr);
    }
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

// Index to point and back; steps back undo steps forward; d steps are d applications of PointAfter, up to and
// past the end, or d columns left.
TEST_F(GeometryTest, IndicesAndStepsOnGeneratedText) {
  std::mt19937 random(4);
  for (int trial = 0; trial < 30; ++trial) {
    auto grid = Grid(testing::GeneratedTabbedText(random, 12));
    const TPoint end = grid->LastRowAndColumn();
    int32_t index = 0;
    for (int32_t row = -2; row < 0; ++row) ASSERT_EQ(PointAtDistanceFrom(*grid, -3, {9, row}), (TPoint{6, row}));
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      const int32_t pastEnd = grid->RowLength(row) + 5;
      ASSERT_EQ(PointAtDistanceFrom(*grid, -3, {pastEnd, row}), (TPoint{pastEnd - 3, row}));
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

// Insertion at a linear index, deleting it again, and TextInRect within any limit, against the whole text as
// Text writes it.
TEST_F(GeometryTest, EditsAgreeWithAModelOfTheText) {
  std::mt19937 random(17);
  const char* const kInsertions[] = {"x", "\n", "\r\n", "ab\ncd", "q\n\n", "\n\n", "tail"};
  const auto randomPoint = [&](const TStringGrid& grid) { return testing::RandomPoint(random, grid, 0); };
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

TEST_F(GeometryTest, ExtremeArgumentsOnEveryKindOfGrid) {
  const int32_t extremes[] = {kMin, kMin + 1, -1000, -1, 0, 1, 2, 3, 1000, kMax - 1, kMax};
  for (const char* text : {"", "ab\ncd", "\t\tx\n\n'a  b'\n", "    a\n        b", static_cast<const char*>(nullptr)}) {
    for (bool convert : {false, true}) {
      auto grid = text == nullptr ? std::make_unique<TStringGrid>(shared) : Grid(text, convert);
      for (TPoint corner : {TPoint{kMin, kMax}, TPoint{0, 0}, TPoint{kMax, kMin}}) {
        grid->SetTopCorner(corner.column, corner.row);
        for (int32_t row : extremes) {
          for (int32_t column : extremes) {
            VisualColumn(*grid, row, column); VisualColumnFor(*grid, {column, row}); CellForPoint(*grid, column, row);
            PointForCell(*grid, {column, row}); RowEndPixelX(*grid, row); AtPoint(*grid, {column, row});
            IndexForPoint(*grid, {column, row}); PointAfter(*grid, {column, row}); PointBefore(*grid, {column, row});
            PointForIndex(*grid, column); NonTabbedToTabbedIndex(*grid, column); CellExtent(*grid);
            for (int32_t distance : extremes) PointAtDistanceFrom(*grid, distance, {column, row});
            IndexFromPixelWidth("a\tb", 3, row, row, column); IndexFromPixelWidth(nullptr, row, 8, 4, column);
            VisualColumn("a\tb", 3, column, row);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace weft
