#include "text/rebuild.h"

#include <algorithm>
#include <cstring>

#include "lex/scanner.h"
#include "lex/token.h"
#include "style/attributes.h"
#include "text/string_grid.h"

namespace weft {

namespace {

// Calls `piece(characters, count)` for each stretch of the text of the
// positions `from` to `to`, in order, by SpanText's rules but without its
// cut: the row's bytes, and CR LF for a line-end position.
template <typename Piece>
void ForEachSpanPiece(const std::vector<str>& rows, TPoint from, TPoint to, Piece&& piece) {
  if (to < from) return;
  const int32_t lastRow = std::min(to.row, static_cast<int32_t>(rows.size()) - 1);
  for (int32_t row = std::max(from.row, 0); row <= lastRow; ++row) {
    const str& text = rows[static_cast<size_t>(row)];
    const int32_t length = text.size();
    const int32_t first = std::max(row == from.row ? from.column : 0, 0);
    const int32_t last = row == to.row ? to.column : length;
    const int32_t lastByte = std::min(last, length - 1);
    if (first <= lastByte) piece(text.data() + first, lastByte - first + 1);
    if (first <= length && length <= last) piece("\r\n", 2);
  }
}

}  // namespace

TAttributeChangeMaker::TAttributeChangeMaker(const TStringGrid& grid, const TTextAttributeDelta* previous)
    : keywords_(grid.shared().keywords), hasPrevious_(previous != nullptr) {
  for (int32_t style = 0; style < 8; ++style) styles_[style] = StyleFor(style, grid);
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
bool TAttributeChangeMaker::MakeChangeUnlessSamePaint(int32_t style, int32_t column, TTextAttributeDelta& change) {
  const TTextAttributeDelta& attributes = styles_[style];
  const bool sameBackground = hasPrevious_ && attributes.backColor == previous_.backColor;
  const bool samePaint = style == kWhiteSpaceStyle ? sameBackground : sameBackground && attributes == previous_;
  if (samePaint) return false;
  change = attributes;
  change.column = column;
  previous_ = change;
  hasPrevious_ = true;
  previousStyle_ = style;
  return true;
}

// Mostly white space over line ends: written piece by piece straight into
// the list, cut to kMaxTokenText as SpanText cuts it.
void TRowListsBuilder::AddSpanning(const std::vector<str>& rows, const TToken& token, TPoint start, TPoint end) {
  if (AddOverOneLineEnd(rows, token, start, end)) return;
  int32_t length = 0;
  ForEachSpanPiece(rows, start, end, [&](const char*, int32_t count) {
    length = std::min(length + count, kMaxTokenText);
  });
  char* destination = tokens_.AppendUnfilled(token, length);
  int32_t written = 0;
  ForEachSpanPiece(rows, start, end, [&](const char* characters, int32_t count) {
    count = std::min(count, length - written);
    TTokenList::CopyText(destination + written, characters, count);
    written += count;
  });
  AddChange(token, lastText());
}

// The common case, a token from inside a row to inside the next: its text
// is the rest of the first row, CR LF, and the start of the next row.
bool TRowListsBuilder::AddOverOneLineEnd(const std::vector<str>& rows, const TToken& token, TPoint start,
                                         TPoint end) {
  if (start.row < 0 || end.row != start.row + 1 || static_cast<size_t>(end.row) >= rows.size()) return false;
  const str& first = rows[static_cast<size_t>(start.row)];
  const str& next = rows[static_cast<size_t>(end.row)];
  if (start.column < 0 || start.column > first.size() || end.column < 0 || end.column >= next.size()) return false;
  const int32_t rest = first.size() - start.column;
  const int32_t head = end.column + 1;
  if (int64_t{rest} + 2 + head > kMaxTokenText) return false;
  char* destination = tokens_.AppendUnfilled(token, rest + 2 + head);
  TTokenList::CopyText(destination, first.data() + start.column, rest);
  destination[rest] = '\r';
  destination[rest + 1] = '\n';
  TTokenList::CopyText(destination + rest + 2, next.data(), head);
  AddChange(token, lastText());
  return true;
}

// Copying into the lists reuses their storage when the row fits in it; a row
// without tokens or changes keeps no storage at all.
void TRowListsBuilder::FinishRow(TTokenList& tokens, TAttributeList& changes) {
  if (tokens_.empty()) {
    tokens.Clear();
  } else {
    tokens.Assign(tokens_, arena_);
  }
  tokens_.Truncate(0);
  if (rowChanges_.empty()) {
    changes.clear();
  } else {
    changes.Assign(rowChanges_, arena_);
  }
  rowChanges_.clear();
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
  // No list holds a piece of the old lists' arena any more.
  grid.listArena().Reset();
  if (rowCount == 0) return;

  TScanner& scanner = grid.scanner();
  scanner.scanPosition = {-1, 0};
  scanner.tokenStart = {0, 0};
  scanner.endOfText = EndOfText(grid);
  TRowListsBuilder builder(grid, nullptr, &grid.listArena());
  size_t row = 0;
  ScanToEnd(grid.rows(), scanner, [&](const TScannedToken& token) {
    const size_t startRow = static_cast<size_t>(token.start.row);
    if (startRow != row) {
      builder.FinishRow(tokenLists[row], attributeLists[row]);
      row = startRow;
    }
    builder.AddScanned(grid.rows(), token);
  });
  builder.FinishRow(tokenLists[row], attributeLists[row]);
}

}  // namespace weft
