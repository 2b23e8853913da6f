// Tokens: what the scanner cuts the text into.
//
// A token records where it starts and ends, both inclusive, and its kind.
// Kinds 128 to 146 name token classes and are part of the external interface;
// any other kind is a one-character token whose kind is that byte read as a
// signed 8-bit value. A token's text lives in the TTokenList that holds it
// (token_list.h).
#ifndef WEFT_LEX_TOKEN_H_
#define WEFT_LEX_TOKEN_H_

#include <cstdint>
#include <string_view>

namespace weft {

enum TTokenKind : int32_t {
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

// A token of a row's list. It starts on the list's row, so it has only its
// columns and how many rows further it ends: moving the list to another row
// moves the token with it, and tokens compare equal wherever their rows went.
// Both columns are real ones, for tokens that span rows too (the end column
// is then on the token's last row); the token cursor makes the rows absolute
// when it hands a token out.
struct TToken {
  int32_t startColumn = 0;
  int32_t endColumn = 0;  // inclusive, on the token's last row
  int32_t rowSpan = 0;    // rows from the start row to the last row
  int32_t kind = 0;
};

// Equal columns, row spans, kinds and texts (byte by byte, case matters).
bool TokensEqual(const TToken& a, std::string_view aText, const TToken& b, std::string_view bText);

}  // namespace weft

#endif  // WEFT_LEX_TOKEN_H_
