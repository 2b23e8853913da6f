#include "lex/token.h"

namespace weft {

bool TokensEqual(const TToken& a, std::string_view aText, const TToken& b, std::string_view bText) {
  return a.startColumn == b.startColumn && a.startRow == b.startRow && a.endColumn == b.endColumn &&
         a.endRow == b.endRow && a.kind == b.kind && aText == bText;
}

}  // namespace weft
