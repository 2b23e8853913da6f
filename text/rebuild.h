// Turning tokens into the per-row token and attribute lists.
//
// RebuildTokens scans the whole text once, puts every token into the list of
// the row it starts on, and records an attribute change where a token's font
// or colours differ from the change before it (white space only compares its
// background). A row that holds tokens but no such change gets the change in
// effect repeated at its first token: looking up what is in effect then never
// walks back over more rows than one token spans, however long a stretch
// paints alike. Styles come from token kinds; the keyword table gives the
// keyword style to listed words of the remaining kinds.
// TRowListsBuilder does the per-row gathering for it and for the re-scan
// after an edit.
#ifndef WEFT_TEXT_REBUILD_H_
#define WEFT_TEXT_REBUILD_H_

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lex/keyword_table.h"
#include "lex/scanner.h"
#include "lex/token.h"
#include "lex/token_list.h"
#include "settings/attribute_delta.h"
#include "style/attributes.h"
#include "settings/settings.h"
#include "base/arena.h"
#include "base/point.h"
#include "base/row_string.h"

namespace weft {

class TStringGrid;

// The style number (0 to 7) that every token of `kind` has, or -1 for the
// kinds without a style of their own, whose style depends on their text.
constexpr int32_t StyleOfKindAlone(int32_t kind) {
  switch (kind) {
    case kStringOpen:
    case kStringLiteral: return kStringStyle;
    case kCharacterLiteral: return kCharacterStyle;
    case kWhiteSpace: return kWhiteSpaceStyle;
    case kRealNumber:
    case kRealNumberOpen:
    case kIntegerNumber:
    case kRadixNumberOpen: return kNumberStyle;
    case kCommentOpen:
    case kComment: return kCommentStyle;
    case kSymbol: return kSymbolStyle;
    default: return -1;
  }
}

// The style number (0 to 7) of a token of `kind` with `text`. Only kinds
// without a style of their own look their text up in the keyword table.
inline int32_t StyleOfKind(int32_t kind, std::string_view text, const TKeywordTable& keywords) {
  const int32_t style = StyleOfKindAlone(kind);
  if (style >= 0) return style;
  return keywords.Contains(text) ? kKeywordStyle : kTextStyle;
}

// Decides token by token where a new attribute change is needed, starting
// after `previous` (null: no change so far). The styles are resolved once,
// for the grid's colours at construction.
class TAttributeChangeMaker {
 public:
  TAttributeChangeMaker(const TStringGrid& grid, const TTextAttributeDelta* previous);

  // The new change, at `column` of the token's row, when the token cannot be
  // painted in the previous change's attributes; it then becomes the
  // previous change (the answer points at it, valid until the next call).
  // Null when no change is needed. `textOf()` gives the token's text, asked
  // for only where the style depends on it.
  template <typename TextOf>
  const TTextAttributeDelta* MakeAttributeChange(int32_t kind, TextOf&& textOf, int32_t column) {
    int32_t style = StyleOfKindAlone(kind);
    if (style < 0) style = StyleOfKind(kind, textOf(), keywords_);
    // Runs on every token: once the previous change is known to come from a
    // style, the answer is a table lookup.
    if (previousStyle_ >= 0 && paintsAs_[previousStyle_][style]) return nullptr;
    return MakeChangeUnlessSamePaint(style, column);
  }
  // The attributes in effect after the tokens seen so far; null before any.
  const TTextAttributeDelta* previous() const { return hasPrevious_ ? &previous_ : nullptr; }

 private:
  const TTextAttributeDelta* MakeChangeUnlessSamePaint(int32_t style, int32_t column);

  const TKeywordTable& keywords_;
  TTextAttributeDelta styles_[8];
  // paintsAs_[a][b]: a token of style b can be painted in style a's
  // attributes (white space needs only the same background).
  bool paintsAs_[8][8];
  bool hasPrevious_;
  TTextAttributeDelta previous_;
  int32_t previousStyle_ = -1;  // the style previous_ was made from; -1: unknown
};

// Gathers the tokens and attribute changes of one row at a time and hands
// them over as lists of exactly their size, so a grid's lists hold no room
// for growth. Tokens are gathered as positions: their texts are read from the
// grid's rows, once, when the row is handed over, which is why a stored token
// may only be added where the rows still hold its text (as they do for every
// token an edit leaves in place). The staging storage is reused from row to
// row. Lists that need new storage get it from `arena`, or from the heap when
// that is null.
class TRowListsBuilder {
 public:
  TRowListsBuilder(const TStringGrid& grid, const TTextAttributeDelta* previous, TArena* arena = nullptr);

  bool empty() const { return tokens_.empty(); }

  // Adds a stored token that starts on `row`.
  void Add(int32_t row, const TToken& token) {
    AddScanned({token.kind, {token.startColumn, row}, {token.endColumn, row + token.rowSpan}});
  }
  // Adds a token as the scanner cut it.
  void AddScanned(const TScannedToken& scanned) {
    // A row holds at most as many tokens as characters and line end; room for
    // that many, up to a bound, is made at once.
    if (tokens_.empty()) {
      const int32_t length = rows_[static_cast<size_t>(scanned.start.row)].size();
      tokens_.reserve(std::min(length, kMostTokensReservedAtOnce - 1) + 1);
    }
    tokens_.Add(scanned);
    const TTextAttributeDelta* change =
        changes_.MakeAttributeChange(scanned.kind, [&] { return TextOf(scanned); }, scanned.start.column);
    if (change != nullptr) rowChanges_.push_back(*change);
  }
  // The tokens and the changes gathered for the row so far.
  const TRowTokens& tokens() const { return tokens_; }
  std::span<const TTextAttributeDelta> changes() const { return rowChanges_.changes(); }
  // The token added last, and its text (valid until the next call).
  TToken LastToken() const {
    const TScannedToken& last = tokens_.last();
    return {last.start.column, last.end.column, last.end.row - last.start.row, last.kind};
  }
  std::string_view LastText() const { return TextOf(tokens_.last()); }

  // Moves the gathered row into `tokens` and `changes`, leaving the builder
  // ready for the next row.
  void FinishRow(TTokenList& tokens, TAttributeList& changes);
  // Forgets the row gathered so far; the attributes in effect stay.
  void DropRow() {
    tokens_.clear();
    rowChanges_.truncate();
  }

  // The attributes in effect after the tokens added so far.
  const TTextAttributeDelta* inEffect() const { return changes_.previous(); }

 private:
  std::string_view TextOf(const TScannedToken& token) const {
    return SpanText(rows_, token.start, token.end, spanScratch_);
  }

  // 8 MB of staging: a row of a million characters gets it all at once, and a
  // row of a single huge string reserves no more than this.
  static constexpr int32_t kMostTokensReservedAtOnce = 1 << 20;

  TAttributeChangeMaker changes_;
  TArena* arena_;
  TRowsView rows_;
  TRowTokens tokens_;
  TAttributeList rowChanges_;
  mutable std::string spanScratch_;  // the text of a token over rows
};

// The one change of a row that holds tokens but makes no change of its own:
// the attributes in effect, repeated at its first token.
inline TTextAttributeDelta RepeatedChange(const TTextAttributeDelta& inEffect, int32_t firstTokenColumn) {
  TTextAttributeDelta repeated = inEffect;
  repeated.column = firstTokenColumn;
  return repeated;
}

// The last position a scan of the grid may consume: the last character of
// the last row; when that row is empty, the line end of the row before it,
// or (0, 0) for a text of one empty row.
TPoint EndOfText(const TStringGrid& grid);

// Replaces every row's token list and attribute list from the rows as they
// stand. A grid without rows gets no lists.
void RebuildTokens(TStringGrid& grid);

}  // namespace weft

#endif  // WEFT_TEXT_REBUILD_H_
