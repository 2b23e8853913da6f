#include "lex/token.h"

namespace weft {

bool TokensEqual(const TToken& a, std::string_view aText, const TToken& b, std::string_view bText) {
  return a.startColumn == b.startColumn && a.endColumn == b.endColumn && a.rowSpan == b.rowSpan &&
         a.kind == b.kind && aText == bText;
}

}  // namespace weft
