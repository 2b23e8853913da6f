// Indentation as tabs or spaces. SetText may turn runs of spaces into tabs
// (ConvertSpacesToTabs) and Text may turn tabs back into spaces
// (ExpandTabsToSpaces); with the same indent width the second undoes the
// first. Neither touches string literals: a single quote opens and closes
// one, two quotes inside stand for one, and a literal may run across lines,
// so the caller carries `inLiteral` from each line to the next.
#ifndef WEFT_TEXT_TAB_CONVERSION_H_
#define WEFT_TEXT_TAB_CONVERSION_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "base/int_math.h"

namespace weft {

// The indentation of a whole text: the number of spaces it starts with, if
// any, and the shortest run of two or more spaces after any line feed.
// Answers `fallback` when there is none (a count of 3000 also means none).
int32_t IndentationOf(std::string_view text, int32_t fallback);

// Appends `line` to `out` with every run of spaces outside a literal that
// reaches a tab stop (a multiple of `indentWidth`), and is followed by at
// least one more character, replaced by a TAB. The result is never longer.
void ConvertSpacesToTabs(std::string_view line, int32_t indentWidth, bool& inLiteral, std::string& out);

// Calls `emit(const char*, size_t)` with the row's characters, each TAB
// outside a literal written as the spaces up to the next tab stop.
template <typename Emit>
void ExpandTabsToSpaces(std::string_view row, int32_t indentWidth, bool& inLiteral, Emit&& emit) {
  static constexpr char kSpaces[] = "                                                                ";
  int64_t column = 0;  // a row may be longer than int32 columns once its tabs are expanded
  size_t plainStart = 0;
  for (size_t i = 0; i < row.size(); ++i) {
    const char c = row[i];
    if (c == '\'') {
      if (inLiteral && i + 1 < row.size() && row[i + 1] == '\'') {
        ++i;
        column += 2;
        continue;
      }
      inLiteral = !inLiteral;
    } else if (c == '\t' && !inLiteral) {
      emit(row.data() + plainStart, i - plainStart);
      int32_t spaces = static_cast<int32_t>(ColumnsToTabStop(column, indentWidth));
      column += spaces;
      for (; spaces > 0; spaces -= static_cast<int32_t>(sizeof kSpaces - 1)) {
        emit(kSpaces, static_cast<size_t>(spaces < int32_t{sizeof kSpaces - 1} ? spaces : int32_t{sizeof kSpaces - 1}));
      }
      plainStart = i + 1;
      continue;
    }
    ++column;
  }
  emit(row.data() + plainStart, row.size() - plainStart);
}

}  // namespace weft

#endif  // WEFT_TEXT_TAB_CONVERSION_H_
