#include "lex/token.h"

namespace weft {

const char* TokenKindName(int32_t kind) {
  static constexpr const char* kNames[] = {
      "IncompleteToken", "Assignment",      "CharacterLiteral", "KeywordChainAtEnd", "KeywordChain",
      "KeywordChainWord", "RealNumber",     "RealNumberOpen",   "IntegerNumber",     "RadixNumberOpen",
      "CommentOpen",     "Comment",         "StringOpen",       "StringLiteral",     "Identifier",
      "KeywordPart",     "Symbol",          "BinaryPair",       "WhiteSpace",
  };
  if (kind < kIncompleteToken || kind > kWhiteSpace) return nullptr;
  return kNames[kind - kIncompleteToken];
}

bool TokensEqual(const TToken& a, std::string_view aText, const TToken& b, std::string_view bText) {
  return a.startColumn == b.startColumn && a.startRow == b.startRow && a.endColumn == b.endColumn &&
         a.endRow == b.endRow && a.kind == b.kind && aText == bText;
}

}  // namespace weft
