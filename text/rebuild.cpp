#include "text/rebuild.h"

#include <cassert>

#include "lex/scanner.h"
#include "lex/token.h"
#include "style/attributes.h"
#include "text/string_grid.h"

namespace weft {

TAttributeChangeMaker::TAttributeChangeMaker(const TStringGrid& grid, const TTextAttributeDelta* previous)
    : keywords_(grid.shared().keywords), hasPrevious_(previous != nullptr) {
  for (int32_t style = 0; style < 8; ++style) styles_[style] = StyleFor(style, grid.settings(), grid.defaultColors());
  for (int32_t in = 0; in < 8; ++in) {
    for (int32_t style = 0; style < 8; ++style) {
      paintsAs_[in][style] = style == kWhiteSpaceStyle ? styles_[in].backColor == styles_[style].backColor
                                                       : styles_[in] == styles_[style];
    }
  }
  if (previous != nullptr) previous_ = *previous;
}

// Only white space has the white space style, so the style alone tells how
// much of the paint must match.
const TTextAttributeDelta* TAttributeChangeMaker::MakeChangeUnlessSamePaint(int32_t style, int32_t column) {
  const TTextAttributeDelta& attributes = styles_[style];
  const bool sameBackground = hasPrevious_ && attributes.backColor == previous_.backColor;
  const bool samePaint = style == kWhiteSpaceStyle ? sameBackground : sameBackground && attributes == previous_;
  if (samePaint) return nullptr;
  previous_ = attributes;
  previous_.column = column;
  hasPrevious_ = true;
  previousStyle_ = style;
  return &previous_;
}

TRowListsBuilder::TRowListsBuilder(const TStringGrid& grid, const TTextAttributeDelta* previous, TArena* arena)
    : changes_(grid, previous), arena_(arena), rows_(grid.rows()) {}

// A row without tokens keeps no storage at all. A row with tokens but no
// change of its own gets the attributes in effect, repeated at its first
// token, so that finding what is in effect never walks back further than the
// rows inside one token.
void TRowListsBuilder::FinishRow(TTokenList& tokens, TAttributeList& changes) {
  if (tokens_.empty()) {
    tokens.clear();
  } else {
    tokens.AssignTiling(tokens_, rows_, arena_);
    if (rowChanges_.empty()) {
      assert(changes_.previous() != nullptr);  // the text's first token always makes a change
      rowChanges_.push_back(RepeatedChange(*changes_.previous(), tokens_.tokens().front().start));
    }
  }
  if (rowChanges_.empty()) {
    changes.clear();
  } else {
    changes.Assign(rowChanges_.changes(), arena_);
  }
  DropRow();
}

TPoint EndOfText(const TStringGrid& grid) {
  const int32_t last = grid.NumberOfRows() - 1;
  if (last < 0) return {0, 0};
  if (grid.RowLength(last) > 0) return {grid.RowLength(last) - 1, last};
  if (last == 0) return {0, 0};
  return {grid.RowLength(last - 1), last - 1};
}

void RebuildTokens(TStringGrid& grid) {
  const size_t rowCount = static_cast<size_t>(grid.NumberOfRows());
  TGapVector<TTokenList>& tokenLists = grid.editableTokenLists();
  TGapVector<TAttributeList>& attributeLists = grid.editableAttributeLists();
  tokenLists.clear();
  tokenLists.resize(rowCount);
  attributeLists.clear();
  attributeLists.resize(rowCount);
  // No list holds a piece of the old lists' arena any more.
  grid.listArena().Reset();
  if (rowCount == 0) return;

  TScanner scanner;
  scanner.scanPosition = {-1, 0};
  scanner.endOfText = EndOfText(grid);
  TRowListsBuilder builder(grid, nullptr, &grid.listArena());
  size_t row = 0;
  const TRowsView rows = grid.rows();
  ScanToEnd(rows, scanner, [&](const TScannedToken& token) {
    const size_t startRow = static_cast<size_t>(token.start.row);
    if (startRow != row) {
      builder.FinishRow(tokenLists[row], attributeLists[row]);
      row = startRow;
    }
    builder.AddScanned(token);
  });
  builder.FinishRow(tokenLists[row], attributeLists[row]);
  grid.AssertListsMatchRows();
}

}  // namespace weft
