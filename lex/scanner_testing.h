// Test helpers for the scanner: rows from a text, the end of text that a full
// rebuild sets, and a full scan from the first character, as the rebuild runs
// it.
#ifndef WEFT_LEX_SCANNER_TESTING_H_
#define WEFT_LEX_SCANNER_TESTING_H_

#include <string>
#include <string_view>
#include <vector>

#include "lex/scanner.h"
#include "text/point.h"
#include "text/str.h"

namespace weft::testing {

struct ScannedToken {
  int32_t kind;
  TPoint start;
  TPoint end;
  std::string text;
};

// Lines end at LF; one CR before it (or at the very end) is dropped.
inline std::vector<str> RowsFromText(std::string_view text) {
  std::vector<str> rows;
  for (;;) {
    const size_t lineFeed = text.find('\n');
    std::string_view line = text.substr(0, lineFeed);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rows.emplace_back(line);
    if (lineFeed == std::string_view::npos) return rows;
    text.remove_prefix(lineFeed + 1);
  }
}

// The last position a full scan consumes: the last character, or, when the
// text ends in a line break, the line end of the row before the empty last row.
inline TPoint EndOfTextFor(const std::vector<str>& rows) {
  if (rows.empty()) return {0, 0};
  const int32_t last = static_cast<int32_t>(rows.size()) - 1;
  if (!rows[last].empty()) return {rows[last].size() - 1, last};
  if (last == 0) return {0, 0};
  return {rows[last - 1].size(), last - 1};
}

inline TScanner ScannerAtTextStart(const std::vector<str>& rows) {
  TScanner scanner;
  scanner.scanPosition = {-1, 0};
  scanner.tokenStart = {0, 0};
  scanner.endOfText = EndOfTextFor(rows);
  return scanner;
}

inline std::vector<ScannedToken> ScanAll(const std::vector<str>& rows) {
  std::vector<ScannedToken> tokens;
  TScanner scanner = ScannerAtTextStart(rows);
  std::string scratch;
  while (!ScanAtEnd(scanner)) {
    const int32_t kind = ScanToken(rows, scanner);
    tokens.push_back({kind, scanner.tokenStart, scanner.scanPosition,
                      std::string(SpanText(rows, scanner.tokenStart, scanner.scanPosition, scratch))});
  }
  return tokens;
}

// What a full scan covers: the rows joined with CR LF, and the line end of a
// lone empty row.
inline std::string ScannedText(const std::vector<str>& rows) {
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += rows[i].view();
  }
  if (rows.size() == 1 && rows[0].empty()) text = "\r\n";
  return text;
}

}  // namespace weft::testing

#endif  // WEFT_LEX_SCANNER_TESTING_H_
