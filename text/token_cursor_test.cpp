#include "text/token_cursor.h"

#include <gtest/gtest.h>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::ShowToken;

std::vector<std::string> WalkForward(TStringGrid& grid) {
  std::vector<std::string> tokens;
  RewindTokens(grid);
  while (const THandedToken token = NextToken(grid)) tokens.push_back(ShowToken(token));
  return tokens;
}

class TokenCursorTest : public testing::GridTest {};

// A token's span reaches the next token: indentation belongs to the line end before it, and a point past a row's
// last token to that token. A cursor left stale by new text is clamped into the lists.
TEST_F(TokenCursorTest, SpansReachTheNextTokenAndWalksTurnBack) {
  auto grid = Grid("ab cd\n\n    x");
  const std::string lineEnd = "(5,0)..(3,2) 146 '\r\n\r\n    '";
  EXPECT_EQ(WalkForward(*grid), (std::vector<std::string>{"(0,0)..(1,0) 142 'ab'", "(2,0)..(2,0) 146 ' '",
                                                          "(3,0)..(4,0) 142 'cd'", lineEnd, "(4,2)..(4,2) 142 'x'"}));
  EXPECT_FALSE(NextToken(*grid));
  EXPECT_EQ(ShowToken(PreviousToken(*grid)), lineEnd);  // the cursor stood on the last token
  RewindTokens(*grid);
  EXPECT_FALSE(PreviousToken(*grid));
  EXPECT_EQ(ShowToken(TokenAt(*grid, {1, 2})) + ShowToken(TokenAt(*grid, {9, 0})), lineEnd + lineEnd);
  EXPECT_FALSE(TokenAt(*grid, {5, 2}) || TokenAt(*grid, {-1, 0}) || TokenAt(*grid, {0, -1}));
  auto open = Grid("a\n\"b\n");  // with an empty last row, the last token itself comes back
  while (NextToken(*open)) {
  }
  EXPECT_EQ(PreviousToken(*open).kind, kCommentOpen);
  while (NextToken(*grid)) {
  }
  grid->SetText("x y", 0, false);  // the cursor left on row 2 goes back from past the last token
  EXPECT_EQ(ShowToken(PreviousToken(*grid)), "(2,0)..(2,0) 142 'y'");
  TStringGrid empty(shared);
  EXPECT_FALSE(NextToken(empty) || PreviousToken(empty) || TokenAt(empty, {0, 0}));
}

}  // namespace
}  // namespace weft
