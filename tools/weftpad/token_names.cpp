#include "token_names.h"

#include <iterator>

namespace {

// Kinds 128 to 146 name token classes; any other kind is a single character.
constexpr const char* kClassNames[] = {
    "IncompleteToken",  "Assignment", "CharacterLiteral", "KeywordChainAtEnd", "KeywordChain",
    "KeywordChainWord", "RealNumber", "RealNumberOpen",   "IntegerNumber",     "RadixNumberOpen",
    "CommentOpen",      "Comment",    "StringOpen",       "StringLiteral",     "Identifier",
    "KeywordPart",      "Symbol",     "BinaryPair",       "WhiteSpace",
};
constexpr int kFirstClass = 128;
constexpr size_t kShownLength = 48;

std::string KindName(int32_t kind) {
  const int32_t index = kind - kFirstClass;
  if (index >= 0 && index < static_cast<int32_t>(std::size(kClassNames))) return kClassNames[index];
  return "Character";
}

}  // namespace

std::string DescribeToken(const WeftTokenRecord& token) {
  std::string text(token.text, static_cast<size_t>(token.length));
  if (text.size() > kShownLength) text = text.substr(0, kShownLength) + "...";
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return KindName(token.kind) + "  " + text;
}
