// The token cursor: how the host walks a grid's tokens.
//
// RewindTokens puts the cursor before the first token; NextToken and
// PreviousToken step it through every token of the text in row order,
// skipping rows whose lists are empty; TokenAt places it on the token at a
// point. Before a token is handed out its stored span is normalized: it is
// given its list's row, and the last token of a row is stretched to end just
// before the next token, so every position after it belongs to it.
//
// A cursor left stale by an edit or SetText (its row or index no longer
// exists) is clamped into the lists before it moves: it never reads outside
// them.
#ifndef WEFT_LEX_TOKEN_CURSOR_H_
#define WEFT_LEX_TOKEN_CURSOR_H_

#include <cstdint>

#include "lex/token.h"
#include "text/point.h"

namespace weft {

class TStringGrid;

// A token handed out: the stored token and its NUL-terminated text, which
// stays valid until the token's row is re-scanned or the grid deleted.
struct THandedToken {
  const TToken* token = nullptr;
  const char* text = nullptr;
  int32_t length = 0;

  explicit operator bool() const { return token != nullptr; }
};

void RewindTokens(TStringGrid& grid);
THandedToken NextToken(TStringGrid& grid);
THandedToken PreviousToken(TStringGrid& grid);
THandedToken TokenAt(TStringGrid& grid, TPoint point);

}  // namespace weft

#endif  // WEFT_LEX_TOKEN_CURSOR_H_
