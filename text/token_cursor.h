// The token cursor: how the host walks a grid's tokens.
//
// RewindTokens puts the cursor before the first token; NextToken and
// PreviousToken step it through every token of the text in row order,
// skipping rows whose lists are empty; TokenAt places it on the token at a
// point. A token is handed out with its span normalized and in absolute
// rows: it starts and ends on its list's row, and the last token of a row is
// stretched to end just before the next token, so every position after it
// belongs to it (TokenAt answers by these spans too). The stored tokens are
// never rewritten: reads leave the lists as the last scan made them, so a
// walk cannot change what a later edit's re-scan compares against.
//
// A cursor left stale by an edit or SetText (its row or index no longer
// exists) is clamped into the lists before it moves: it never reads outside
// them.
#ifndef WEFT_TEXT_TOKEN_CURSOR_H_
#define WEFT_TEXT_TOKEN_CURSOR_H_

#include <cstdint>

#include "lex/token.h"
#include "base/point.h"

namespace weft {

class TStringGrid;

// A token handed out: its normalized span in absolute rows, its kind, and
// its NUL-terminated text, which stays valid until the token's row is
// re-scanned or the grid deleted.
struct THandedToken {
  TPoint start;
  TPoint end;  // inclusive
  int32_t kind = 0;
  const char* text = nullptr;
  int32_t length = 0;

  explicit operator bool() const { return text != nullptr; }
};

// Each moves the grid's cursor and nothing else. Stepping costs one list
// access per token plus one per empty row skipped; TokenAt binary-searches
// one row's list, or scans back over empty rows.
void RewindTokens(TStringGrid& grid);
THandedToken NextToken(TStringGrid& grid);
THandedToken PreviousToken(TStringGrid& grid);
THandedToken TokenAt(TStringGrid& grid, TPoint point);

}  // namespace weft

#endif  // WEFT_TEXT_TOKEN_CURSOR_H_
