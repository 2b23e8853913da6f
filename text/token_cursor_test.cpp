#include "text/token_cursor.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

struct Handed {
  TPoint start, end;
  std::string text;
  int32_t kind;
  friend bool operator==(const Handed&, const Handed&) = default;
};

std::ostream& operator<<(std::ostream& out, const Handed& h) {
  return out << "{(" << h.start.column << "," << h.start.row << ")..(" << h.end.column << "," << h.end.row
             << ") '" << h.text << "' " << h.kind << "}";
}

std::optional<Handed> Take(const THandedToken& handed) {
  if (!handed) return std::nullopt;
  return Handed{handed.start, handed.end, std::string(handed.text, handed.length), handed.kind};
}

std::string TextOf(const THandedToken& handed) { return Take(handed).value_or(Handed{}).text; }

std::vector<Handed> WalkForward(TStringGrid& grid) {
  std::vector<Handed> tokens;
  RewindTokens(grid);
  while (auto token = Take(NextToken(grid))) tokens.push_back(*token);
  return tokens;
}

class TokenCursorTest : public testing::GridTest {};

// A token's span reaches the next token: indentation belongs to the line
// end before it, and a point past a row's last token to that token.
TEST_F(TokenCursorTest, SpansReachTheNextTokenAndWalksTurnBack) {
  auto grid = Grid("ab cd\n\n    x");
  EXPECT_EQ(WalkForward(*grid), (std::vector<Handed>{{{0, 0}, {1, 0}, "ab", kIdentifier},
                                                     {{2, 0}, {2, 0}, " ", kWhiteSpace},
                                                     {{3, 0}, {4, 0}, "cd", kIdentifier},
                                                     {{5, 0}, {3, 2}, "\r\n\r\n    ", kWhiteSpace},
                                                     {{4, 2}, {4, 2}, "x", kIdentifier}}));
  EXPECT_FALSE(NextToken(*grid));
  EXPECT_EQ(TextOf(PreviousToken(*grid)), "\r\n\r\n    ");  // the cursor stood on the last token
  RewindTokens(*grid);
  EXPECT_FALSE(PreviousToken(*grid));
  EXPECT_EQ(TextOf(TokenAt(*grid, {1, 2})), "\r\n\r\n    ");
  EXPECT_EQ(TextOf(TokenAt(*grid, {9, 0})), "\r\n\r\n    ");
  EXPECT_FALSE(TokenAt(*grid, {5, 2}));
  EXPECT_FALSE(TokenAt(*grid, {-1, 0}));
  EXPECT_FALSE(TokenAt(*grid, {0, -1}));
  auto open = Grid("a\n\"b\n");  // with an empty last row, the last token itself comes back
  while (NextToken(*open)) {
  }
  EXPECT_EQ(Take(PreviousToken(*open))->kind, kCommentOpen);
}

// Every position of the text lies in the span of the token TokenAt answers
// for it, before any walk; forward and backward walks then visit the same
// tokens, and a second round of lookups answers as the first.
void CrossCheck(TStringGrid& grid, const std::string& name) {
  std::vector<Handed> lookups;
  for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
    for (int32_t column = 0; column < grid.RowLength(row); ++column) {
      const std::optional<Handed> token = Take(TokenAt(grid, {column, row}));
      ASSERT_TRUE(token.has_value()) << name << " at " << column << "," << row;
      ASSERT_TRUE(token->start <= (TPoint{column, row}) && (TPoint{column, row}) <= token->end)
          << name << " at " << column << "," << row << " " << *token;
      lookups.push_back(*token);
    }
  }
  const std::vector<Handed> forward = WalkForward(grid);
  std::vector<Handed> backward;
  while (NextToken(grid)) {
  }
  const bool lastRowHasTokens = !grid.tokenLists().back().empty();
  while (auto token = Take(PreviousToken(grid))) backward.push_back(*token);
  std::reverse(backward.begin(), backward.end());
  if (lastRowHasTokens && !forward.empty()) backward.push_back(forward.back());
  ASSERT_EQ(backward, forward) << name;
  for (size_t i = 0; i + 1 < forward.size(); ++i) {
    const TPoint next = forward[i + 1].start;
    const TPoint end = forward[i].end;
    ASSERT_TRUE(end.row == next.row ? end.column == next.column - 1 : end.row < next.row) << name << forward[i];
  }
  size_t lookup = 0;
  for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
    for (int32_t column = 0; column < grid.RowLength(row); ++column) {
      ASSERT_EQ(Take(TokenAt(grid, {column, row})), lookups[lookup++]) << name << " at " << column << "," << row;
    }
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

TEST_F(TokenCursorTest, StaleCursorIsClampedIntoTheLists) {
  auto grid = Grid("a\nb\nc\nd");
  while (NextToken(*grid)) {
  }
  grid->SetText("x y", 0, false);
  EXPECT_FALSE(NextToken(*grid));
  EXPECT_EQ(TextOf(PreviousToken(*grid)), " ");
  grid->tokenCursor() = {1000, 1000};
  EXPECT_EQ(TextOf(PreviousToken(*grid)), "y");
  grid->tokenCursor() = {-50, -3};
  EXPECT_EQ(TextOf(NextToken(*grid)), "x");
  TStringGrid empty(shared);
  EXPECT_FALSE(NextToken(empty) || PreviousToken(empty) || TokenAt(empty, {0, 0}));
}

}  // namespace
}  // namespace weft
