// Turning tokens into the per-row token and attribute lists.
//
// RebuildTokens scans the whole text once, puts every token into the list of
// the row it starts on, and records an attribute change only where a token's
// font or colours differ from the change before it (white space only
// compares its background). Styles come from token kinds; the keyword table
// gives the keyword style to listed words of the remaining kinds.
#ifndef WEFT_LEX_REBUILD_H_
#define WEFT_LEX_REBUILD_H_

#include <cstdint>
#include <string_view>

#include "lex/keyword_table.h"
#include "paint/attribute_delta.h"
#include "text/point.h"

namespace weft {

class TStringGrid;

// The style number (0 to 7) of a token of `kind` with `text`.
int32_t StyleOfKind(int32_t kind, std::string_view text, const TKeywordTable& keywords);

// Decides token by token where a new attribute change is needed, starting
// after `previous` (null: no change so far). The styles are resolved once,
// for the grid's colours at construction.
class TAttributeChangeMaker {
 public:
  TAttributeChangeMaker(const TStringGrid& grid, const TTextAttributeDelta* previous);

  // True, with `change` filled in at `start`, when the token cannot be
  // painted in the previous change's attributes; it then becomes the
  // previous change.
  bool MakeAttributeChange(int32_t kind, std::string_view text, TPoint start, TTextAttributeDelta& change);
  // The attributes in effect after the tokens seen so far; null before any.
  const TTextAttributeDelta* previous() const { return hasPrevious_ ? &previous_ : nullptr; }

 private:
  const TKeywordTable& keywords_;
  TTextAttributeDelta styles_[8];
  bool hasPrevious_;
  TTextAttributeDelta previous_;
};

// The last position a scan of the grid may consume: the last character of
// the last row; when that row is empty, the line end of the row before it,
// or (0, 0) for a text of one empty row.
TPoint EndOfText(const TStringGrid& grid);

// Replaces every row's token list and attribute list from the rows as they
// stand. A grid without rows gets no lists.
void RebuildTokens(TStringGrid& grid);

}  // namespace weft

#endif  // WEFT_LEX_REBUILD_H_
