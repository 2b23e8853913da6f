// The grid tests' fixture: grids over a shared state with tab width 4, the stand-in's fixed-pitch font and eight
// styles that are all distinct (so every style change shows), and the text and rows a grid holds.
#ifndef WEFT_TESTS_SUPPORT_GRID_TEST_SUPPORT_H_
#define WEFT_TESTS_SUPPORT_GRID_TEST_SUPPORT_H_

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/grid_copy.h"
#include "tests/support/test_support.h"
#include "text/string_grid.h"
#include "text/token_cursor.h"

namespace weft::testing {

// The whole text of a grid, with tabs expanded or not, and its rows.
inline std::string TextOf(const TStringGrid& grid, bool expandTabs = false) {
  int64_t size = 1;
  for (const TRowString& row : grid.rows()) size += int64_t{row.size()} * std::max(grid.indentWidth(), 1) + 2;
  std::string buffer(static_cast<size_t>(size), '\0');
  buffer.resize(static_cast<size_t>(std::max(grid.Text(buffer.data(), static_cast<int32_t>(size), expandTabs), 0)));
  return buffer;
}

inline std::vector<std::string> RowsOf(const TStringGrid& grid) {
  std::vector<std::string> rows;
  for (const TRowString& row : grid.rows()) rows.emplace_back(row.view());
  return rows;
}

// Both grids hold one token list and one attribute list per row, the same row by row.
inline void ExpectSameLists(const TStringGrid& a, const TStringGrid& b, const std::string& context) {
  ASSERT_EQ(a.tokenLists().size(), a.rows().size()) << context;
  ASSERT_EQ(a.attributeLists().size(), a.rows().size()) << context;
  ASSERT_EQ(b.tokenLists().size(), a.rows().size()) << context;
  for (size_t row = 0; row < a.rows().size(); ++row) {
    ASSERT_TRUE(SameRowLists(a, row, b, row)) << context << " row " << row;
  }
}

// A point on a row of the text, from column 0 to `beyond` columns past the row's end.
inline TPoint RandomPoint(std::mt19937& random, const TStringGrid& grid, int32_t beyond = 1) {
  const int32_t row = static_cast<int32_t>(random() % static_cast<unsigned>(grid.NumberOfRows()));
  return {static_cast<int32_t>(random() % static_cast<unsigned>(grid.RowLength(row) + 1 + beyond)), row};
}

// A handed token as "(column,row)..(column,row) kind 'text'", or "" for none.
inline std::string ShowToken(const THandedToken& t) {
  if (!t) return "";
  std::string shown;
  for (TPoint p : {t.start, t.end}) {
    shown += std::string(shown.empty() ? "(" : "..(") + std::to_string(p.column) + "," + std::to_string(p.row) + ")";
  }
  return shown + " " + std::to_string(t.kind) + " '" + std::string(t.text, t.length) + "'";
}

// Styles 2 (white space) and 5 (text) share their background, as an editor's usually do.
class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    TConfiguration configuration{};
    configuration.tabWidth = 4;
    for (int32_t style = 0; style < 8; ++style) {
      configuration.styles[style] = {style % 4, RGB(10 * style, 0, 0), RGB(0, 0, 100 + style), 0, 0};
    }
    configuration.styles[kWhiteSpaceStyle].backColor = configuration.styles[kTextStyle].backColor;
    shared.settings.SetFont("Mono", 10);
    shared.settings.SetConfiguration(configuration);
  }

  std::unique_ptr<TStringGrid> Grid(std::string_view text, bool convertSpaces = false) {
    auto grid = std::make_unique<TStringGrid>(shared);
    grid->SetText(text.data(), static_cast<int32_t>(text.size()), convertSpaces);
    return grid;
  }

  int32_t cellWidth() const { return shared.settings.cellWidth(); }
  int32_t lineHeight() const { return shared.settings.lineHeight(); }

  TSharedState shared;
};

}  // namespace weft::testing

#endif  // WEFT_TESTS_SUPPORT_GRID_TEST_SUPPORT_H_
