#include "paint/display.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

#include "geometry/columns.h"
#include "style/attributes.h"
#include "platform/fake_win32_control.h"
#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

constexpr COLORREF kHighlight = 0x00FA9630;
constexpr COLORREF kHighlightText = 0x00FFFFFF;

class DisplayTest : public testing::GridTest {
 protected:
  DisplayTest() { fake::ClearLogs(); }

  void Paint(const TStringGrid& grid, TPoint from, TPoint to, TPoint selectionStart = {-1, -1},
             TPoint selectionEnd = {-1, -1}) {
    fake::ClearLogs();
    Display(grid, {dc, from, to, selectionStart, selectionEnd});
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const fake::TextOutRecord& out : fake::TextOuts()) texts.push_back(out.text);
    return texts;
  }

  HDC dc = fake::CreatePaintContext();
};

// Runs of equal attributes are drawn once per row; reaching a line end fills
// the rest of the row, and painting past the text fills the rows below.
TEST_F(DisplayTest, RunsAndFills) {
  auto grid = Grid("ab := 1\ncd");  // changes at column 0 (text) and 6 (number)
  Paint(*grid, {0, 0}, {6, 0});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"ab := ", "1"}));
  const auto& outs = fake::TextOuts();
  EXPECT_EQ(outs[1].x, 54);
  EXPECT_EQ(outs[0].tabStops, std::vector<int>{36});
  EXPECT_TRUE(fake::Fills().empty());
  Paint(*grid, {0, 1}, {3, 4});
  EXPECT_EQ(Texts(), std::vector<std::string>{"cd"});
  const auto& fills = fake::Fills();
  ASSERT_EQ(fills.size(), 3u);  // the row end inside the run, then the rest of the row and the rows below
  EXPECT_EQ(fills[0].color, BlankBackground(grid->settings(), grid->defaultColors()));
  const auto corners = [](const RECT& r) { return std::vector<LONG>{r.left, r.top, r.right, r.bottom}; };
  EXPECT_EQ(corners(fills[1].rect), (std::vector<LONG>{18, 16, 27000, 32}));
  EXPECT_EQ(corners(fills[2].rect), (std::vector<LONG>{0, 32, 27000, 80}));
  Paint(*grid, {0, 5}, {0, 3});  // from after to: no text, but the fill after the text
  EXPECT_TRUE(fake::TextOuts().empty());
  EXPECT_EQ(fake::Fills().size(), 2u);
}

TEST_F(DisplayTest, SelectionSplitsRunsAndIsFilledOverLineBreaks) {
  auto grid = Grid("abcdef\ncd");
  Paint(*grid, {0, 0}, {1, 1}, {2, 0}, {0, 1});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"ab", "cdef", "c", "d"}));
  EXPECT_EQ(fake::TextOuts()[3].x, 9);  // the colours are the property's below
  // The selected line break is filled in the blank background.
  ASSERT_EQ(fake::Fills().size(), 1u);
  EXPECT_EQ(fake::Fills()[0].color, BlankBackground(grid->settings(), grid->defaultColors()));
}

TEST_F(DisplayTest, RestoresTheDeviceContextReportsFailedBrushesAndSkipsEmptyGrids) {
  auto grid = Grid("'s' x");
  HFONT hostFont = CreateFontIndirectA(&grid->settings().logFont());
  SelectObject(dc, hostFont);
  SetTextCharacterExtra(dc, 7);
  fake::SetBrushCreationFails(true);
  Paint(*grid, {0, 0}, {5, 0});
  fake::SetBrushCreationFails(false);
  EXPECT_EQ(fake::DebugMessages(), std::vector<std::string>{"Invalid brush in FillRect\n"});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"'s'", " ", "x"}));
  EXPECT_EQ(fake::SelectedFont(dc), hostFont);
  EXPECT_EQ(GetTextCharacterExtra(dc), 7);
  TStringGrid empty(shared);
  Paint(empty, {0, 0}, {4, 4});
  EXPECT_TRUE(fake::TextOuts().empty() && fake::Fills().empty());
  DeleteObject(hostFont);
}

// Every character of a random stretch is drawn exactly once, at its cell, in the highlight colours when selected and
// otherwise in the colours and font of the change in effect there; with a clip box, every one whose cell reaches
// into it, and the others at most once.
TEST_F(DisplayTest, EveryCharacterIsDrawnOnceInTheRightAttributes) {
  std::mt19937 random(21);
  const char alphabet[] = "ab 1'\"\n\t#$.";
  for (int trial = 0; trial < 1500; ++trial) {
    const std::string text = testing::RandomText(random, alphabet, 39);
    auto grid = Grid(text);
    const int32_t rows = grid->NumberOfRows();
    auto randomPoint = [&] {
      const int32_t row = static_cast<int32_t>(random() % static_cast<unsigned>(rows + 1));
      return TPoint{static_cast<int32_t>(random() % static_cast<unsigned>(grid->RowLength(row) + 2)), row};
    };
    TPoint from = randomPoint(), to = randomPoint(), start = randomPoint(), end = randomPoint();
    if (to < from) std::swap(from, to);
    if (end < start) std::swap(start, end);
    if (trial % 5 == 0) start = end = {-1, -1};
    dc = fake::CreatePaintContext();
    const bool clipped = trial % 2 == 1;
    const auto cellWidth = static_cast<LONG>(this->cellWidth()), height = static_cast<LONG>(lineHeight());
    const RECT clip{static_cast<LONG>(random() % 12) * cellWidth - 2, static_cast<LONG>(random() % 3) * height + 3,
                    static_cast<LONG>(random() % 30) * cellWidth + 5, static_cast<LONG>(random() % 6) * height};
    if (clipped) fake::SetClipBox(dc, clip);
    Paint(*grid, from, to, start, end);

    std::map<std::pair<int32_t, int32_t>, int> drawn;
    std::map<int32_t, int> outsPerRow;
    for (const fake::TextOutRecord& out : fake::TextOuts()) {
      const int32_t row = out.y / grid->settings().lineHeight();
      int32_t column = 0;
      while (PixelXOf(*grid, {column, row}) != out.x) ++column;
      ++outsPerRow[row];
      for (size_t i = 0; i < out.text.size(); ++i) {
        const TPoint p{column + static_cast<int32_t>(i), row};
        ++drawn[{p.row, p.column}];
        const bool selected = end.row >= 0 && start <= p && p <= end;
        TAttributeCursor cursor;
        const TTextAttributeDelta* change = AttributeAt(grid->attributeLists(), p, cursor);
        const TTextAttributeDelta& expected = change ? *change : grid->settings().defaultAttributes();
        ASSERT_EQ(std::tuple(out.font, out.backColor, out.textColor),
                  std::tuple(expected.font, selected ? kHighlight : expected.backColor,
                             selected ? kHighlightText : expected.foreColor))
            << "trial " << trial << " at " << p.column << "," << p.row;
      }
    }
    const TPoint stop = std::min(to, grid->LastRowAndColumn());
    for (int32_t row = 0; row < rows; ++row) {
      for (int32_t column = 0; column < grid->RowLength(row); ++column) {
        const bool inStretch = from <= (TPoint{column, row}) && (TPoint{column, row}) <= stop;
        const bool visible = !clipped || (PixelXOf(*grid, {column + 1, row}) > clip.left &&
                                          PixelXOf(*grid, {column, row}) < clip.right &&
                                          PixelYOf(*grid, row) + height > clip.top && PixelYOf(*grid, row) < clip.bottom);
        const int times = drawn[std::make_pair(row, column)];
        ASSERT_TRUE(inStretch ? times == 1 || (times == 0 && !visible) : times == 0)
            << "trial " << trial << " drawn " << times << " times at " << column << "," << row;
      }
    }
    for (const auto& [row, count] : outsPerRow) {
      ASSERT_LE(count, 3 + static_cast<int>(grid->attributeLists()[static_cast<size_t>(row)].size()) + 1)
          << "trial " << trial;
    }
  }
}

// Hostile top corners, clip boxes, stretches and selections, with and without a font (cells a pixel wide): the
// sanitizers watch the arithmetic, and whatever is drawn is a piece of a row.
TEST_F(DisplayTest, ExtremeArgumentsDrawOnlyPiecesOfRows) {
  constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  const TPoint points[] = {{kMin, kMin}, {-1, 0}, {0, 0}, {2, 1}, {kMax, 0}, {kMax, kMax}};
  const std::pair<TPoint, TPoint> selections[] = {{{-1, -1}, {-1, -1}}, {{kMin, kMin}, {kMax, kMax}}, {{1, 0}, {1, 1}}};
  const RECT clips[] = {{0, 0, 100, 100}, {kMin, kMin, kMax, kMax}, {-50, 20, -10, 30}};
  TSharedState noFont;
  for (TSharedState* state : {&shared, &noFont}) {
    TStringGrid grid(*state);
    grid.SetText("abc\n\tdef", 8, false);
    for (TPoint corner : {TPoint{kMin, 0}, TPoint{0, 0}, TPoint{kMax, kMax}, TPoint{0, kMin}}) {
      grid.SetTopCorner(corner.column, corner.row);
      for (int clip = -1; clip < static_cast<int>(std::size(clips)); ++clip) {
        dc = fake::CreatePaintContext();
        if (clip >= 0) fake::SetClipBox(dc, clips[clip]);
        for (TPoint from : points) {
          for (TPoint to : points) {
            for (const auto& [start, end] : selections) {
              Paint(grid, from, to, start, end);
              for (const std::string& text : Texts()) {
                ASSERT_TRUE(std::string_view("abc").find(text) != std::string_view::npos ||
                            std::string_view("\tdef").find(text) != std::string_view::npos)
                    << text;
              }
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace weft
