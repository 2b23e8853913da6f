// The Smalltalk source scanner: a 16-state machine that cuts rows (a
// read-only view of them) into tokens, one ScanToken call per token, as one
// stream over the whole text (comments, strings and white space run across
// line ends).
//
// Positions are (column, row). Every row has a line-end position at column =
// row length, which reads as a line feed. The rows are read only through
// these rules:
//   - clamp point: (length of the last row, last row), or (0, 0) without rows;
//   - next position after p: p itself at the clamp point, the start of the
//     next row from a line end, else one column on;
//   - previous position before p: (0, 0) stays, column 0 goes to the line end
//     of the row above, else one column back;
//   - character at p: NUL outside the rows or at a negative column, a line
//     feed at or past a row's end, else the stored byte.
// A scan is at end when scanPosition is at or past endOfText in text order.
//
// The caller starts a scan by setting endOfText (not beyond the clamp point),
// scanPosition (the position before the first character to scan) and
// tokenStart, then calls ScanToken while !ScanAtEnd. After each call
// tokenStart is the token's first position and scanPosition its last.
//
// The machine never reads outside the rows, whatever state it is given. Three
// liberties make every call finish on any state: a column past a row's line
// end steps to the next row as the line end does, the clamp point counts as
// the end of the scan even when endOfText lies beyond it, and so does a column
// of INT32_MAX on any row (which ScanAtEnd does not know). None can happen on
// positions that a scan produces.
#ifndef WEFT_LEX_SCANNER_H_
#define WEFT_LEX_SCANNER_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lex/token.h"
#include "base/point.h"
#include "base/row_string.h"

namespace weft {

struct TScanner {
  int32_t scanState = 0;  // the state that produced the last token, 0 to 15
  TPoint endOfText;       // last position the scan may consume
  TPoint scanPosition;    // last position consumed
  TPoint tokenStart;      // first position of the last token
  int32_t radixDigitLimit = 0;  // highest code of a letter digit: radix + 54
};

// Scans one token from the position after scanPosition and answers its kind
// (a TTokenKind, or a one-character kind). At end it answers kIncompleteToken
// and leaves both positions as they are.
int32_t ScanToken(TRowsView rows, TScanner& scanner);

// A token as ScanToken cuts it: its kind, its first position (tokenStart) and
// its last (scanPosition).
struct TScannedToken {
  int32_t kind;
  TPoint start;
  TPoint end;
};

// Scans as ScanToken would, up to tokens.size() times, stopping where the
// scan ends, and answers how many tokens it put into `tokens`; the scanner is
// left as after the last of those ScanToken calls. For scans that consume
// every token: one call keeps the machine's state at hand over many tokens.
int32_t ScanTokens(TRowsView rows, TScanner& scanner, std::span<TScannedToken> tokens);

// Scans to the end, calling `visit(const TScannedToken&)` for each token in
// text order.
template <typename Visit>
void ScanToEnd(TRowsView rows, TScanner& scanner, Visit&& visit) {
  std::array<TScannedToken, 64> batch;
  while (const int32_t count = ScanTokens(rows, scanner, batch)) {
    for (const TScannedToken& token : std::span(batch).first(static_cast<size_t>(count))) visit(token);
  }
}

// scanPosition is at or past endOfText.
inline bool ScanAtEnd(const TScanner& scanner) { return !(scanner.scanPosition < scanner.endOfText); }

// Calls `piece(characters, count)` for each stretch of the text of the
// positions `from` to `to`, both inclusive, in text order: a line-end
// position gives CR LF, every other position inside a row its byte, and
// positions outside the rows nothing. Stops early when `piece` answers false.
template <typename Piece>
void ForEachSpanPiece(TRowsView rows, TPoint from, TPoint to, Piece&& piece) {
  if (to < from) return;
  const int32_t lastRow = std::min(to.row, static_cast<int32_t>(rows.size()) - 1);
  for (int32_t row = std::max(from.row, 0); row <= lastRow; ++row) {
    const TRowString& text = rows[static_cast<size_t>(row)];
    const int32_t length = text.size();
    const int32_t first = std::max(row == from.row ? from.column : 0, 0);
    const int32_t last = row == to.row ? to.column : length;
    const int32_t lastByte = std::min(last, length - 1);
    if (first <= lastByte && !piece(text.data() + first, lastByte - first + 1)) return;
    if (first <= length && length <= last && !piece("\r\n", 2)) return;
  }
}

// The number of characters ForEachSpanPiece gives for `from` to `to`, or
// `limit` when that is fewer. Costs a step per row the span covers, with no
// character read.
inline int32_t SpanLength(TRowsView rows, TPoint from, TPoint to, int32_t limit) {
  const int32_t lastRow = std::min(to.row, static_cast<int32_t>(rows.size()) - 1);
  const int32_t firstRow = std::max(from.row, 0);
  if (to < from || firstRow > lastRow) return 0;
  // Every row the span covers gives its bytes from `first` to `last` and, when
  // `last` reaches its line end, CR LF.
  auto rowLength = [&](int32_t row, int32_t first, int32_t last) -> int64_t {
    const int32_t length = rows[static_cast<size_t>(row)].size();
    first = std::max(first, 0);
    return std::max(std::min(last, length - 1) - first + 1, 0) + (first <= length && length <= last ? 2 : 0);
  };
  if (firstRow == lastRow) {
    return static_cast<int32_t>(std::min<int64_t>(
        rowLength(firstRow, firstRow == from.row ? from.column : 0, lastRow == to.row ? to.column : INT32_MAX), limit));
  }
  int64_t length = rowLength(firstRow, firstRow == from.row ? from.column : 0, INT32_MAX);
  for (int32_t row = firstRow + 1; row < lastRow && length < limit; ++row) {
    length += rows[static_cast<size_t>(row)].size() + 2;
  }
  length += rowLength(lastRow, 0, lastRow == to.row ? to.column : INT32_MAX);
  return static_cast<int32_t>(std::min<int64_t>(length, limit));
}

std::string_view SpanTextAnywhere(TRowsView rows, TPoint from, TPoint to, std::string& scratch);

// The text of the positions from `from` to `to` as ForEachSpanPiece gives
// it, cut to kMaxTokenText characters. Within one row the answer views the
// row itself; otherwise it is built in `scratch`, which it then views. The
// span inside one row, the case of almost every token, is handled inline;
// SpanTextAnywhere builds the others.
inline std::string_view SpanText(TRowsView rows, TPoint from, TPoint to, std::string& scratch) {
  if (from.row == to.row && static_cast<size_t>(from.row) < rows.size() && from.column >= 0 &&
      from.column <= to.column) {
    const TRowString& row = rows[static_cast<size_t>(from.row)];
    if (to.column < row.size()) {
      return {row.data() + from.column, static_cast<size_t>(std::min(to.column - from.column + 1, kMaxTokenText))};
    }
  }
  return SpanTextAnywhere(rows, from, to, scratch);
}

}  // namespace weft

#endif  // WEFT_LEX_SCANNER_H_
