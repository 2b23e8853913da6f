// Tokens: what the scanner cuts the text into.
//
// A token records where it starts and ends, both inclusive, and its kind.
// Kinds 128 to 146 name token classes and are part of the external interface;
// any other kind is a one-character token whose kind is that byte read as a
// signed 8-bit value. A token's text lives in the TTokenList that holds it
// (token_list.h), so a token itself is 24 plain bytes.
#ifndef WEFT_LEX_TOKEN_H_
#define WEFT_LEX_TOKEN_H_

#include <cstdint>
#include <string_view>

namespace weft {

enum TokenKind : int32_t {
  kIncompleteToken = 128,
  kAssignment = 129,
  kCharacterLiteral = 130,
  kKeywordChainAtEnd = 131,
  kKeywordChain = 132,
  kKeywordChainWord = 133,
  kRealNumber = 134,
  kRealNumberOpen = 135,
  kIntegerNumber = 136,
  kRadixNumberOpen = 137,
  kCommentOpen = 138,
  kComment = 139,
  kStringOpen = 140,
  kStringLiteral = 141,
  kIdentifier = 142,
  kKeywordPart = 143,
  kSymbol = 144,
  kBinaryPair = 145,
  kWhiteSpace = 146,
};

// The kind of a one-character token: the byte as a signed 8-bit value, so
// bytes 0x80 to 0xFF give -128 to -1.
constexpr int32_t CharacterKind(unsigned char c) { return static_cast<int8_t>(c); }

// Longest text a token keeps; a longer source stretch keeps its beginning.
constexpr int32_t kMaxTokenText = 32767;

// A token whose start and end rows differ stores a placeholder end column
// instead of the real one: the full rebuild stores kRebuildSpanEndColumn, the
// refresh after an edit kRefreshSpanEndColumn.
constexpr int32_t kRebuildSpanEndColumn = 10000;
constexpr int32_t kRefreshSpanEndColumn = 3000;

struct TToken {
  int32_t startColumn = 0;
  int32_t startRow = 0;
  int32_t endColumn = 0;  // inclusive
  int32_t endRow = 0;     // inclusive
  int32_t kind = 0;
  // Where the text starts in the owning list's character arena. Set by
  // TTokenList::Append; callers leave it alone.
  int32_t textOffset = 0;
};

// Equal positions, kinds and texts (byte by byte, case matters). The text
// offsets are storage details and do not take part.
bool TokensEqual(const TToken& a, std::string_view aText, const TToken& b, std::string_view bText);

}  // namespace weft

#endif  // WEFT_LEX_TOKEN_H_
