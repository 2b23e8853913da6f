#include "text/tab_conversion.h"

#include <algorithm>

namespace weft {

namespace {

constexpr int32_t kNoIndentation = 3000;

int32_t SpacesAt(std::string_view text, size_t from) {
  size_t end = from;
  while (end < text.size() && text[end] == ' ') ++end;
  return static_cast<int32_t>(std::min<size_t>(end - from, kNoIndentation));
}

}  // namespace

int32_t IndentationOf(std::string_view text, int32_t fallback) {
  int32_t indentation = kNoIndentation;
  if (!text.empty() && text[0] == ' ') indentation = SpacesAt(text, 0);
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', lf + 1)) {
    const int32_t spaces = SpacesAt(text, lf + 1);
    if (spaces >= 2) indentation = std::min(indentation, spaces);
  }
  return indentation == kNoIndentation ? fallback : indentation;
}

void ConvertSpacesToTabs(std::string_view line, int32_t indentWidth, bool& inLiteral, std::string& out) {
  int32_t column = 0;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    // A doubled quote inside a literal leaves it and enters it again at once.
    if (c == '\'') inLiteral = !inLiteral;
    if (c == ' ' && !inLiteral && i + 1 < line.size() && line[i + 1] == ' ') {
      const size_t toStop = static_cast<size_t>(ColumnsToTabStop(column, indentWidth));
      const bool coversStop = i + toStop < line.size() &&
                              line.substr(i, toStop).find_first_not_of(' ') == std::string_view::npos;
      if (coversStop) {
        out.push_back('\t');
        i += toStop;
        column += static_cast<int32_t>(toStop);
        continue;
      }
    }
    out.push_back(c);
    ++i;
    ++column;
  }
}

}  // namespace weft
