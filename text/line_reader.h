// How a text is cut into lines, for SetText and InsertString alike: a line
// runs up to its LF (which no line keeps), ends early at a NUL, and loses a
// CR that is its last character. The text after the last LF is a line too,
// empty when the text ends with LF.
#ifndef WEFT_TEXT_LINE_READER_H_
#define WEFT_TEXT_LINE_READER_H_

#include <algorithm>
#include <string_view>

namespace weft {

// Calls `visit(std::string_view line)` for each line of `text`, in order.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  // Most texts hold no NUL, which one search of the whole text tells,
  // sparing a search per line.
  const bool hasNul = text.find('\0') != std::string_view::npos;
  size_t start = 0;
  while (true) {
    const size_t lf = text.find('\n', start);
    std::string_view line = text.substr(start, lf == std::string_view::npos ? text.size() - start : lf - start);
    if (hasNul) line = line.substr(0, std::min(line.size(), line.find('\0')));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line);
    if (lf == std::string_view::npos) return;
    start = lf + 1;
  }
}

}  // namespace weft

#endif  // WEFT_TEXT_LINE_READER_H_
