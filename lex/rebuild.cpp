#include "lex/rebuild.h"

#include <string>

#include "lex/scanner.h"
#include "lex/token.h"
#include "paint/attributes.h"
#include "text/string_grid.h"

namespace weft {

int32_t StyleOfKind(int32_t kind, std::string_view text, const TKeywordTable& keywords) {
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
    default: return keywords.Contains(text) ? kKeywordStyle : kTextStyle;
  }
}

TAttributeChangeMaker::TAttributeChangeMaker(const TStringGrid& grid, const TTextAttributeDelta* previous)
    : keywords_(grid.shared().keywords), hasPrevious_(previous != nullptr) {
  for (int32_t style = 0; style < 8; ++style) styles_[style] = StyleFor(style, grid);
  if (previous != nullptr) previous_ = *previous;
}

bool TAttributeChangeMaker::MakeAttributeChange(int32_t kind, std::string_view text, TPoint start,
                                                TTextAttributeDelta& change) {
  const TTextAttributeDelta& style = styles_[StyleOfKind(kind, text, keywords_)];
  const bool sameBackground = hasPrevious_ && style.backColor == previous_.backColor;
  const bool samePaint = kind == kWhiteSpace ? sameBackground : sameBackground && style == previous_;
  if (samePaint) return false;
  change = style;
  change.column = start.column;
  change.row = start.row;
  previous_ = change;
  hasPrevious_ = true;
  return true;
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
  std::vector<TTokenList>& tokenLists = grid.tokenLists();
  std::vector<TAttributeList>& attributeLists = grid.attributeLists();
  tokenLists.clear();
  tokenLists.resize(rowCount);
  attributeLists.clear();
  attributeLists.resize(rowCount);
  if (rowCount == 0) return;

  TScanner& scanner = grid.scanner();
  scanner.scanPosition = {-1, 0};
  scanner.tokenStart = {0, 0};
  scanner.endOfText = EndOfText(grid);
  TAttributeChangeMaker changes(grid, nullptr);
  TTextAttributeDelta change;
  std::string scratch;
  // A row's tokens and changes are gathered here and then copied into blocks
  // of exactly their size, so the lists hold no room for growth.
  TTokenList rowTokens;
  TAttributeList rowChanges;
  int32_t row = 0;
  const auto flush = [&] {
    tokenLists[static_cast<size_t>(row)] = rowTokens;
    rowTokens.Truncate(0);
    attributeLists[static_cast<size_t>(row)].assign(rowChanges.begin(), rowChanges.end());
    rowChanges.clear();
  };
  while (!ScanAtEnd(scanner)) {
    const int32_t kind = ScanToken(grid.rows(), scanner);
    const TPoint start = scanner.tokenStart;
    const TPoint end = scanner.scanPosition;
    const std::string_view text = SpanText(grid.rows(), start, end, scratch);
    if (start.row != row) {
      flush();
      row = start.row;
    }
    if (changes.MakeAttributeChange(kind, text, start, change)) rowChanges.push_back(change);
    const int32_t endColumn = end.row == start.row ? end.column : kRebuildSpanEndColumn;
    rowTokens.Append({start.column, start.row, endColumn, end.row, kind}, text);
  }
  flush();
}

}  // namespace weft
