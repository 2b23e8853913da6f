#include "text/token_cursor.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

// A handed token as "(column,row)..(column,row) kind 'text'", or "" for none.
std::string Show(const THandedToken& t) {
  if (!t) return "";
  std::string shown;
  for (TPoint p : {t.start, t.end}) {
    shown += std::string(shown.empty() ? "(" : "..(") + std::to_string(p.column) + "," + std::to_string(p.row) + ")";
  }
  return shown + " " + std::to_string(t.kind) + " '" + std::string(t.text, t.length) + "'";
}

std::vector<std::string> WalkForward(TStringGrid& grid) {
  std::vector<std::string> tokens;
  RewindTokens(grid);
  while (const THandedToken token = NextToken(grid)) tokens.push_back(Show(token));
  return tokens;
}

class TokenCursorTest : public testing::GridTest {};

// A token's span reaches the next token: indentation belongs to the line
// end before it, and a point past a row's last token to that token. A cursor
// left stale by new text is clamped into the lists.
TEST_F(TokenCursorTest, SpansReachTheNextTokenAndWalksTurnBack) {
  auto grid = Grid("ab cd\n\n    x");
  const std::string lineEnd = "(5,0)..(3,2) 146 '\r\n\r\n    '";
  EXPECT_EQ(WalkForward(*grid), (std::vector<std::string>{"(0,0)..(1,0) 142 'ab'", "(2,0)..(2,0) 146 ' '",
                                                          "(3,0)..(4,0) 142 'cd'", lineEnd, "(4,2)..(4,2) 142 'x'"}));
  EXPECT_FALSE(NextToken(*grid));
  EXPECT_EQ(Show(PreviousToken(*grid)), lineEnd);  // the cursor stood on the last token
  RewindTokens(*grid);
  EXPECT_FALSE(PreviousToken(*grid));
  EXPECT_EQ(Show(TokenAt(*grid, {1, 2})) + Show(TokenAt(*grid, {9, 0})), lineEnd + lineEnd);
  EXPECT_FALSE(TokenAt(*grid, {5, 2}) || TokenAt(*grid, {-1, 0}) || TokenAt(*grid, {0, -1}));
  auto open = Grid("a\n\"b\n");  // with an empty last row, the last token itself comes back
  while (NextToken(*open)) {
  }
  EXPECT_EQ(PreviousToken(*open).kind, kCommentOpen);
  while (NextToken(*grid)) {
  }
  grid->SetText("x y", 0, false);
  EXPECT_FALSE(NextToken(*grid));
  EXPECT_EQ(Show(PreviousToken(*grid)), "(1,0)..(1,0) 146 ' '");
  grid->tokenCursor() = {1000, 1000};
  EXPECT_EQ(PreviousToken(*grid).text[0], 'y');
  grid->tokenCursor() = {-50, -3};
  EXPECT_EQ(NextToken(*grid).text[0], 'x');
  TStringGrid empty(shared);
  EXPECT_FALSE(NextToken(empty) || PreviousToken(empty) || TokenAt(empty, {0, 0}));
}

// Every position of the text lies in the span of the token TokenAt answers
// for it, before any walk; forward and backward walks then visit the same
// tokens, one ending just before the next starts, and a second round of
// lookups answers as the first.
void CrossCheck(TStringGrid& grid, const std::string& name) {
  std::vector<std::string> lookups;
  for (int pass = 0; pass < 2; ++pass) {
    size_t lookup = 0;
    for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
      for (int32_t column = 0; column < grid.RowLength(row); ++column) {
        const THandedToken token = TokenAt(grid, {column, row});
        const std::string where = name + " at " + std::to_string(column) + "," + std::to_string(row);
        ASSERT_TRUE(token && token.start <= (TPoint{column, row}) && (TPoint{column, row}) <= token.end) << where;
        if (pass == 0) lookups.push_back(Show(token));
        ASSERT_EQ(Show(token), lookups[lookup++]) << where;
      }
    }
    if (pass == 1) break;
    std::vector<std::string> forward, backward;
    RewindTokens(grid);
    TPoint lastEnd{-1, -1};
    while (const THandedToken token = NextToken(grid)) {
      forward.push_back(Show(token));
      ASSERT_TRUE(lastEnd.row == token.start.row ? lastEnd.column == token.start.column - 1 : lastEnd.row < token.start.row)
          << name << " " << forward.back();
      lastEnd = token.end;
    }
    while (const THandedToken token = PreviousToken(grid)) backward.insert(backward.begin(), Show(token));
    if (!grid.tokenLists().back().empty() && !forward.empty()) backward.push_back(forward.back());
    ASSERT_EQ(backward, forward) << name;
  }
}

TEST_F(TokenCursorTest, WalksAndLookupsAgreeOnGeneratedTextAndTheCorpus) {
  std::mt19937 random(9);
  for (int trial = 0; trial < 3000; ++trial) {
    auto grid = Grid(testing::RandomText(random, "ab  \n\n\"'$#:=1.e\t", 29));
    CrossCheck(*grid, "trial " + std::to_string(trial));
    if (HasFatalFailure()) return;
  }
  const auto files = testing::CorpusFiles(48 * 1024);
  for (size_t i = 0; i < files.size(); i += 5) {
    auto grid = Grid(testing::ReadFile(files[i]));
    CrossCheck(*grid, files[i].filename().string());
  }
}

}  // namespace
}  // namespace weft
