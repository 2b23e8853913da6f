#include "text/token_cursor.h"

#include <algorithm>

#include "text/string_grid.h"

namespace weft {

namespace {

int32_t TokensIn(const TStringGrid& grid, int32_t row) { return grid.TokenList(row).count(); }

// The token at `index` of `row`'s list with its normalized span: on the
// list's row, and, when it is the row's last token, ending just before the
// next token of the text, or at the text's last character when none follows.
THandedToken Normalized(const TStringGrid& grid, const TTokenList& list, int32_t index, int32_t row) {
  const auto [stored, text] = list.WithText(index);
  THandedToken token{{stored.startColumn, row}, {stored.endColumn, row}, stored.kind, text.data(),
                     static_cast<int32_t>(text.size())};
  if (index != list.count() - 1) return token;
  const int32_t lastRow = grid.NumberOfLists() - 1;
  if (row >= lastRow) return token;
  for (int32_t next = row + 1; next <= lastRow; ++next) {
    if (TokensIn(grid, next) > 0) {
      token.end = {grid.TokenList(next).StartColumn(0) - 1, next};
      return token;
    }
  }
  token.end = {grid.RowLength(lastRow) - 1, lastRow};
  return token;
}

// Puts the cursor on the token and hands it out; `token` is its normalized copy.
THandedToken HandOut(TStringGrid& grid, int32_t index, int32_t row, const THandedToken& token) {
  grid.tokenCursor() = {index, row};
  return token;
}

THandedToken HandOut(TStringGrid& grid, int32_t index, int32_t row) {
  grid.tokenCursor() = {index, row};
  return Normalized(grid, grid.TokenList(row), index, row);
}

}  // namespace

void RewindTokens(TStringGrid& grid) { grid.tokenCursor() = {-1, 0}; }

// Flattened: a walk calls it once per token, and inlining the normalizing and
// the list lookups into it saves a call and its register saves per token.
[[gnu::flatten]] THandedToken NextToken(TStringGrid& grid) {
  TTokenCursor& cursor = grid.tokenCursor();
  const int32_t rows = grid.NumberOfLists();
  int32_t row = std::max(cursor.row, 0);
  int32_t index = cursor.row < 0 ? 0 : std::max(cursor.index + 1, 0);
  for (; row < rows; ++row, index = 0) {
    const TTokenList& list = grid.TokenList(row);
    if (index < list.count()) {
      cursor = {index, row};
      return Normalized(grid, list, index, row);
    }
  }
  // The walk has ended: the cursor stays on the last token of the last row.
  cursor = rows == 0 ? TTokenCursor{-1, 0} : TTokenCursor{TokensIn(grid, rows - 1) - 1, rows - 1};
  return {};
}

THandedToken PreviousToken(TStringGrid& grid) {
  TTokenCursor& cursor = grid.tokenCursor();
  const int32_t rows = grid.NumberOfLists();
  int32_t row = cursor.row;
  int32_t index = cursor.index - 1;
  if (row >= rows) {
    row = rows - 1;
    index = rows > 0 ? TokensIn(grid, row) - 1 : -1;
  }
  for (; row >= 0; --row, index = row >= 0 ? TokensIn(grid, row) - 1 : -1) {
    index = std::min(index, TokensIn(grid, row) - 1);
    if (index >= 0) return HandOut(grid, index, row);
  }
  cursor = {-1, 0};
  return {};
}

THandedToken TokenAt(TStringGrid& grid, TPoint point) {
  const int32_t rows = grid.NumberOfLists();
  if (point.row < 0 || rows == 0) return {};
  if (point.row < rows) {
    const TTokenList& list = grid.TokenList(point.row);
    if (!list.empty() && list.StartColumn(0) <= point.column) {
      // A row's tokens tile it, and only its last token ends beyond its
      // stored span.
      const int32_t last = list.count() - 1;
      const int32_t holding = list.FirstStartingAfter(point.column) - 1;
      if (holding < last) return HandOut(grid, holding, point.row);
      const THandedToken token = Normalized(grid, list, last, point.row);
      if (token.end.column >= point.column || token.end.row > point.row) return HandOut(grid, last, point.row, token);
      return {};
    }
  }
  // Before the row's first token, or a row without tokens (or past the last
  // row): the point belongs to the last token of the nearest earlier row.
  for (int32_t row = std::min(point.row, rows) - 1; row >= 0; --row) {
    if (TokensIn(grid, row) > 0) return HandOut(grid, TokensIn(grid, row) - 1, row);
  }
  return {};
}

}  // namespace weft
