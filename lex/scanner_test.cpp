#include "lex/scanner.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "lex/scanner_testing.h"
#include "lex/token.h"

namespace weft {
namespace {

using testing::RowsFromText;
using testing::ScanAll;
using testing::ScannedToken;

struct Expected {
  int32_t kind;
  std::string text;
};

struct Case {
  const char* name;
  std::string text;
  std::vector<Expected> tokens;
};

std::string Describe(int32_t kind) {
  const char* name = TokenKindName(kind);
  return name != nullptr ? name : "char " + std::to_string(kind);
}

std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string Listing(const std::vector<Expected>& tokens) {
  std::string out;
  for (const Expected& token : tokens) out += Describe(token.kind) + " [" + Printable(token.text) + "]\n";
  return out;
}

void ExpectTokens(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::vector<Expected> actual;
    for (const ScannedToken& token : ScanAll(RowsFromText(c.text))) actual.push_back({token.kind, token.text});
    EXPECT_EQ(Listing(c.tokens), Listing(actual)) << c.name << ": [" << Printable(c.text) << "]";
  }
}

constexpr int32_t kChar(char c) { return CharacterKind(static_cast<unsigned char>(c)); }

TEST(ScanTokenTest, IdentifiersAndAssignment) {
  ExpectTokens({
      {"assignment", "x:=3", {{kIdentifier, "x"}, {kAssignment, ":="}, {kIntegerNumber, "3"}}},
      {"spaced assignment",
       "x := 3",
       {{kIdentifier, "x"}, {kWhiteSpace, " "}, {kAssignment, ":="}, {kWhiteSpace, " "}, {kIntegerNumber, "3"}}},
      {"underscore first", "_x", {{kIdentifier, "_x"}}},
      {"underscore inside", "x_1", {{kIdentifier, "x_1"}}},
      {"digits inside", "a1b2 ", {{kIdentifier, "a1b2"}, {kWhiteSpace, " "}}},
      {"colon equals gives the colon back", "a:=b", {{kIdentifier, "a"}, {kAssignment, ":="}, {kIdentifier, "b"}}},
      {"lone colon", ": x", {{kChar(':'), ":"}, {kWhiteSpace, " "}, {kIdentifier, "x"}}},
      {"colon at the end", ":", {{kChar(':'), ":"}}},
      {"assignment at the end", ":=", {{kAssignment, ":="}}},
      {"block parameter",
       "[:each | each]",
       {{kChar('['), "["},
        {kChar(':'), ":"},
        {kIdentifier, "each"},
        {kWhiteSpace, " "},
        {kChar('|'), "|"},
        {kWhiteSpace, " "},
        {kIdentifier, "each"},
        {kChar(']'), "]"}}},
  });
}

TEST(ScanTokenTest, KeywordPartsAndChains) {
  ExpectTokens({
      {"chain", "at:put:", {{kKeywordChain, "at:put:"}}},
      {"separate parts",
       "at: 1 put: 2",
       {{kKeywordPart, "at:"},
        {kWhiteSpace, " "},
        {kIntegerNumber, "1"},
        {kWhiteSpace, " "},
        {kKeywordPart, "put:"},
        {kWhiteSpace, " "},
        {kIntegerNumber, "2"}}},
      {"part then word", "at:x ", {{kKeywordPart, "at:"}, {kIdentifier, "x"}, {kWhiteSpace, " "}}},
      {"part then word at the end", "at:x", {{kKeywordPart, "at:"}, {kIdentifier, "x"}}},
      {"part at the end", "ifTrue:", {{kKeywordPart, "ifTrue:"}}},
      {"part before a bracket", "ifTrue:[", {{kKeywordPart, "ifTrue:"}, {kChar('['), "["}}},
      {"chain ending in a word", "a:b:c ", {{kKeywordChainWord, "a:b:c"}, {kWhiteSpace, " "}}},
      {"chain word with digits", "a:b:c1.", {{kKeywordChainWord, "a:b:c1"}, {kChar('.'), "."}}},
      {"chain word at the end", "a:b:c", {{kKeywordChainAtEnd, "a:b:c"}}},
      {"chain closed at the end", "a:b:", {{kKeywordChain, "a:b:"}}},
      {"chain before a digit", "a:b:1", {{kKeywordChain, "a:b:"}, {kIntegerNumber, "1"}}},
      {"chain continues only with a letter", "a:b:_c", {{kKeywordChain, "a:b:"}, {kIdentifier, "_c"}}},
      {"underscore word in look-ahead", "a:_b: ", {{kKeywordChain, "a:_b:"}, {kWhiteSpace, " "}}},
      {"chain before equals", "a:b:=", {{kKeywordChain, "a:b:"}, {kChar('='), "="}}},
      {"digit after colon", "a:1", {{kKeywordPart, "a:"}, {kIntegerNumber, "1"}}},
      {"chain at a row end", "a:b:\nc", {{kKeywordChain, "a:b:"}, {kWhiteSpace, "\r\n"}, {kIdentifier, "c"}}},
      {"part at a row end", "a:\nb:", {{kKeywordPart, "a:"}, {kWhiteSpace, "\r\n"}, {kKeywordPart, "b:"}}},
      {"long chain", "with:with:with:with: ", {{kKeywordChain, "with:with:with:with:"}, {kWhiteSpace, " "}}},
  });
}

TEST(ScanTokenTest, Numbers) {
  ExpectTokens({
      {"integer", "42", {{kIntegerNumber, "42"}}},
      {"fraction", "3.14", {{kRealNumber, "3.14"}}},
      {"dot after integer", "3. ", {{kIntegerNumber, "3"}, {kChar('.'), "."}, {kWhiteSpace, " "}}},
      {"dot at the end", "3.", {{kIntegerNumber, "3"}, {kChar('.'), "."}}},
      {"dot before a name", "3.x", {{kIntegerNumber, "3"}, {kChar('.'), "."}, {kIdentifier, "x"}}},
      {"fraction with signed exponent", "2.5e-3", {{kRealNumber, "2.5e-3"}}},
      {"integer exponent", "1e10", {{kRealNumber, "1e10"}}},
      {"upper-case exponent", "1E10", {{kRealNumber, "1E10"}}},
      {"integer exponent refuses a minus", "1e-5", {{kRealNumberOpen, "1e"}, {kIntegerNumber, "-5"}}},
      {"open exponent", "2e ", {{kRealNumberOpen, "2e"}, {kWhiteSpace, " "}}},
      {"open exponent at the end", "2e", {{kRealNumberOpen, "2e"}}},
      {"open fraction exponent", "3.2e ", {{kRealNumberOpen, "3.2e"}, {kWhiteSpace, " "}}},
      {"fraction exponent at the end", "2.5E", {{kRealNumberOpen, "2.5E"}}},
      {"dot then minus", "3.-4", {{kRealNumber, "3."}, {kIntegerNumber, "-4"}}},
      {"minus inside an exponent", "1e5-3", {{kRealNumber, "1e5-3"}}},
      {"second minus in an exponent", "1e5--3", {{kRealNumberOpen, "1e5-"}, {kIntegerNumber, "-3"}}},
      {"fraction exponent minus", "1.5e5-2", {{kRealNumber, "1.5e5-2"}}},
      {"negative", "-5", {{kIntegerNumber, "-5"}}},
      {"minus after a name", "x-1", {{kIdentifier, "x"}, {kIntegerNumber, "-1"}}},
      {"spaced minus",
       "x - 1",
       {{kIdentifier, "x"}, {kWhiteSpace, " "}, {kChar('-'), "-"}, {kWhiteSpace, " "}, {kIntegerNumber, "1"}}},
      {"double minus", "--1", {{kBinaryPair, "--"}, {kIntegerNumber, "1"}}},
      {"number then name", "12ab", {{kIntegerNumber, "12"}, {kIdentifier, "ab"}}},
      {"long digits", "12345678901234567890", {{kIntegerNumber, "12345678901234567890"}}},
  });
}

TEST(ScanTokenTest, RadixNumbers) {
  ExpectTokens({
      {"hex", "16r1F", {{kIntegerNumber, "16r1F"}}},
      {"letter beyond the radix", "16r1G", {{kRadixNumberOpen, "16r1"}, {kIdentifier, "G"}}},
      {"lower-case digits", "16rff", {{kRadixNumberOpen, "16r"}, {kIdentifier, "ff"}}},
      {"radix 40", "40r1", {{kRadixNumberOpen, "40"}, {kIdentifier, "r1"}}},
      {"radix 37", "37rZ", {{kRadixNumberOpen, "37"}, {kIdentifier, "rZ"}}},
      {"radix 36", "36rZZ", {{kIntegerNumber, "36rZZ"}}},
      {"digits whatever the radix", "2r9", {{kIntegerNumber, "2r9"}}},
      {"radix letter R", "10R5", {{kIntegerNumber, "10R5"}}},
      {"r at the end", "16r", {{kRadixNumberOpen, "16r"}}},
      {"r before space", "16r ", {{kRadixNumberOpen, "16r"}, {kWhiteSpace, " "}}},
      {"signed digits", "16r-1F", {{kIntegerNumber, "16r-1F"}}},
      {"minus anywhere once signed", "16r-1-2", {{kIntegerNumber, "16r-1-2"}}},
      {"minus at the end", "16r-", {{kIntegerNumber, "16r-"}}},
      {"unsigned digits stop at minus", "16r1-2", {{kIntegerNumber, "16r1"}, {kIntegerNumber, "-2"}}},
      {"negative radix takes no letters", "-16r1F", {{kRadixNumberOpen, "-16r1"}, {kIdentifier, "F"}}},
      {"radix wraps to 16", "4294967312rF", {{kIntegerNumber, "4294967312rF"}}},
      {"radix wraps to 0", "4294967296r5", {{kIntegerNumber, "4294967296r5"}}},
      {"radix wraps negative", "2147483648r1A", {{kRadixNumberOpen, "2147483648r1"}, {kIdentifier, "A"}}},
      {"radix digits then dot", "16rA.", {{kIntegerNumber, "16rA"}, {kChar('.'), "."}}},
  });
}

TEST(ScanTokenTest, RadixDigitLimitWrapsAround) {
  const std::vector<str> rows = RowsFromText("2147483647rZ");
  TScanner scanner = testing::ScannerAtTextStart(rows);
  EXPECT_EQ(kRadixNumberOpen, ScanToken(rows, scanner));
  EXPECT_EQ(static_cast<int32_t>(2147483647u + 54u), scanner.radixDigitLimit);

  const std::vector<str> hex = RowsFromText("16r1F");
  scanner = testing::ScannerAtTextStart(hex);
  ScanToken(hex, scanner);
  EXPECT_EQ(70, scanner.radixDigitLimit);
}

TEST(ScanTokenTest, SymbolsAndBinaryCharacters) {
  ExpectTokens({
      {"keyword symbol", "#foo:bar:", {{kSymbol, "#foo:bar:"}}},
      {"name symbol", "#foo bar", {{kSymbol, "#foo"}, {kWhiteSpace, " "}, {kIdentifier, "bar"}}},
      {"underscore symbol", "#_x", {{kSymbol, "#_x"}}},
      {"symbol takes colon then stops", "#a:=", {{kSymbol, "#a:"}, {kChar('='), "="}}},
      {"binary symbol", "#+", {{kSymbol, "#+"}}},
      {"two-character binary symbol", "#->", {{kSymbol, "#->"}}},
      {"at most two binary characters", "#+++", {{kSymbol, "#++"}, {kChar('+'), "+"}}},
      {"literal array", "#(", {{kChar('#'), "#"}, {kChar('('), "("}}},
      {"quoted symbol", "#'a b'", {{kChar('#'), "#"}, {kStringLiteral, "'a b'"}}},
      {"hash before digit", "#1", {{kChar('#'), "#"}, {kIntegerNumber, "1"}}},
      {"hash at the end", "#", {{kChar('#'), "#"}}},
      {"hash before space", "# x", {{kChar('#'), "#"}, {kWhiteSpace, " "}, {kIdentifier, "x"}}},
      {"binary pair", "<=", {{kBinaryPair, "<="}}},
      {"pair then single", "+++", {{kBinaryPair, "++"}, {kChar('+'), "+"}}},
      {"plus alone", "+", {{kChar('+'), "+"}}},
      {"plus equals", "+=", {{kBinaryPair, "+="}}},
      {"arrow", "->", {{kBinaryPair, "->"}}},
      {"tilde pair", "~~", {{kBinaryPair, "~~"}}},
      {"pair takes the minus of a number", "+-1", {{kBinaryPair, "+-"}, {kIntegerNumber, "1"}}},
      {"punctuation",
       "^.;(){}",
       {{kChar('^'), "^"},
        {kChar('.'), "."},
        {kChar(';'), ";"},
        {kChar('('), "("},
        {kChar(')'), ")"},
        {kChar('{'), "{"},
        {kChar('}'), "}"}}},
  });
}

TEST(ScanTokenTest, CommentsAndStrings) {
  ExpectTokens({
      {"string with embedded quote", "'it''s'", {{kStringLiteral, "'it''s'"}}},
      {"empty string", "''", {{kStringLiteral, "''"}}},
      {"string of one quote", "''''", {{kStringLiteral, "''''"}}},
      {"open string after a doubled quote", "'''", {{kStringOpen, "'''"}}},
      {"open string", "'abc", {{kStringOpen, "'abc"}}},
      {"comment with doubled quotes", "\"a\"\"b\"", {{kComment, "\"a\"\"b\""}}},
      {"empty comment", "\"\"", {{kComment, "\"\""}}},
      {"lone double quote", "\"", {{kCommentOpen, "\""}}},
      {"open comment", "\"abc", {{kCommentOpen, "\"abc"}}},
      {"doubled quote at the end", "\"a\"\"", {{kCommentOpen, "\"a\"\""}}},
      {"open comment over rows", "x \"a\nb", {{kIdentifier, "x"}, {kWhiteSpace, " "}, {kCommentOpen, "\"a\r\nb"}}},
      {"open string over rows", "'a\n\n", {{kStringOpen, "'a\r\n\r\n"}}},
      {"string over rows", "'a\nb' c", {{kStringLiteral, "'a\r\nb'"}, {kWhiteSpace, " "}, {kIdentifier, "c"}}},
      {"quotes inside a comment", "\"it's\"", {{kComment, "\"it's\""}}},
      {"comment then code", "\"c\"x", {{kComment, "\"c\""}, {kIdentifier, "x"}}},
  });
}

TEST(ScanTokenTest, CharacterLiterals) {
  ExpectTokens({
      {"dollar space", "$ ", {{kCharacterLiteral, "$ "}}},
      {"dollar quote", "$'", {{kCharacterLiteral, "$'"}}},
      {"dollar dollar", "$$", {{kCharacterLiteral, "$$"}}},
      {"dollar letter then dollar", "$a$", {{kCharacterLiteral, "$a"}, {kIncompleteToken, "$"}}},
      {"dollar alone", "$", {{kIncompleteToken, "$"}}},
      {"dollar at a row end", "$\nx", {{kCharacterLiteral, "$\r\n"}, {kIdentifier, "x"}}},
      {"dollar before the final line break", "a$\n", {{kIdentifier, "a"}, {kCharacterLiteral, "$\r\n"}}},
      {"dollar and a high byte", "$\xE9", {{kCharacterLiteral, "$\xE9"}}},
  });
}

TEST(ScanTokenTest, WhiteSpaceAndLineEnds) {
  ExpectTokens({
      {"empty text", "", {{kWhiteSpace, "\r\n"}}},
      {"mixed white space", "\t\f\r x", {{kWhiteSpace, "\t\f\r "}, {kIdentifier, "x"}}},
      {"vertical tab is no white space", "x\v", {{kIdentifier, "x"}, {kChar('\v'), "\v"}}},
      {"indented second row", "a\n  b", {{kIdentifier, "a"}, {kWhiteSpace, "\r\n  "}, {kIdentifier, "b"}}},
      {"blank rows", "a\n\n\nb", {{kIdentifier, "a"}, {kWhiteSpace, "\r\n\r\n\r\n"}, {kIdentifier, "b"}}},
      {"final line break", "a\n", {{kIdentifier, "a"}, {kWhiteSpace, "\r\n"}}},
      {"two final line breaks", "a\n\n", {{kIdentifier, "a"}, {kWhiteSpace, "\r\n\r\n"}}},
      {"only line breaks", "\n\n", {{kWhiteSpace, "\r\n\r\n"}}},
  });
}

TEST(ScanTokenTest, BytesOfNoClass) {
  ExpectTokens({
      {"high byte", "\xE9", {{-23, "\xE9"}}},
      {"lowest high byte", "\x80", {{-128, "\x80"}}},
      {"highest byte", "\xFF", {{-1, "\xFF"}}},
      {"high byte between names", "a\xE9"
                                  "b",
       {{kIdentifier, "a"}, {-23, "\xE9"}, {kIdentifier, "b"}}},
      {"NUL inside a row", std::string("a\0b", 3), {{kIdentifier, "a"}, {0, std::string(1, '\0')}, {kIdentifier, "b"}}},
      {"control byte", "\x01", {{1, "\x01"}}},
  });
}

TEST(ScanTokenTest, PositionsOfTokensOverRows) {
  // A comment opened on row 1 and closed on row 3 is one token.
  const std::vector<ScannedToken> tokens = ScanAll(RowsFromText("x\n\"a\nb\nc\" y"));
  ASSERT_EQ(5u, tokens.size());
  EXPECT_EQ(kComment, tokens[2].kind);
  EXPECT_EQ((TPoint{0, 1}), tokens[2].start);
  EXPECT_EQ((TPoint{1, 3}), tokens[2].end);
  EXPECT_EQ("\"a\r\nb\r\nc\"", tokens[2].text);
  EXPECT_EQ((TPoint{1, 0}), tokens[1].start);  // the line end of row 0
  EXPECT_EQ((TPoint{1, 0}), tokens[1].end);
  EXPECT_EQ((TPoint{2, 3}), tokens[3].start);
  EXPECT_EQ((TPoint{3, 3}), tokens[4].end);

  // White space from a line end into the next row's indentation.
  const std::vector<ScannedToken> indented = ScanAll(RowsFromText("a\n  b"));
  ASSERT_EQ(3u, indented.size());
  EXPECT_EQ((TPoint{1, 0}), indented[1].start);
  EXPECT_EQ((TPoint{1, 1}), indented[1].end);
  EXPECT_EQ((TPoint{2, 1}), indented[2].start);

  // A text ending in a line break ends at the line end of the row before.
  const std::vector<ScannedToken> trailing = ScanAll(RowsFromText("ab\n"));
  ASSERT_EQ(2u, trailing.size());
  EXPECT_EQ((TPoint{2, 0}), trailing[1].start);
  EXPECT_EQ((TPoint{2, 0}), trailing[1].end);

  // One empty row: one white-space token at (0, 0).
  const std::vector<ScannedToken> empty = ScanAll(RowsFromText(""));
  ASSERT_EQ(1u, empty.size());
  EXPECT_EQ((TPoint{0, 0}), empty[0].start);
  EXPECT_EQ((TPoint{0, 0}), empty[0].end);
}

TEST(ScanTokenTest, ScanAtEndYieldsIncompleteTokenInPlace) {
  const std::vector<str> rows = RowsFromText("ab");
  TScanner scanner = testing::ScannerAtTextStart(rows);
  EXPECT_EQ(kIdentifier, ScanToken(rows, scanner));
  ASSERT_TRUE(ScanAtEnd(scanner));
  EXPECT_EQ(kIncompleteToken, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{1, 0}), scanner.scanPosition);
  EXPECT_EQ((TPoint{0, 0}), scanner.tokenStart);
  EXPECT_EQ(0, scanner.scanState);
}

TEST(ScanTokenTest, RestartsInTheMiddleOfTheText) {
  // The refresh after an edit starts a scan just before a token boundary.
  const std::vector<str> rows = RowsFromText("a := b\n  c: 1");
  TScanner scanner = testing::ScannerAtTextStart(rows);
  scanner.scanPosition = {6, 0};
  scanner.tokenStart = {0, 1};
  EXPECT_EQ(kWhiteSpace, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{1, 1}), scanner.scanPosition);
  EXPECT_EQ(kKeywordPart, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{2, 1}), scanner.tokenStart);
  EXPECT_EQ((TPoint{3, 1}), scanner.scanPosition);
}

TEST(ScanTokenTest, NoRows) {
  const std::vector<str> rows;
  TScanner scanner = testing::ScannerAtTextStart(rows);
  EXPECT_EQ(0, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{0, 0}), scanner.scanPosition);
  EXPECT_TRUE(ScanAtEnd(scanner));
  std::string scratch;
  EXPECT_EQ("", SpanText(rows, {0, 0}, {0, 0}, scratch));
}

TEST(ScanTokenTest, StateNumbersAfterEachKindOfToken) {
  const struct {
    const char* text;
    int32_t state;
  } cases[] = {
      {"  x", 1},  {"abc ", 2},   {"12 ", 3},   {"#ab ", 4}, {"#+ ", 5},     {"$a", 6},     {"\"c\"", 7},
      {"'s'", 8},  {":=", 9},     {"a:b: ", 10}, {"1.5 ", 11}, {"1.5e2 ", 12}, {"16r-1 ", 13}, {"16r1 ", 14},
      {"1e2-3 ", 15}, {"( ", 0},
  };
  for (const auto& c : cases) {
    const std::vector<str> rows = RowsFromText(c.text);
    TScanner scanner = testing::ScannerAtTextStart(rows);
    ScanToken(rows, scanner);
    EXPECT_EQ(c.state, scanner.scanState) << c.text;
  }
}

TEST(SpanTextTest, ViewsOneRowAndBuildsSpansOverRows) {
  const std::vector<str> rows = RowsFromText("abc\n\nde");
  std::string scratch;
  const std::string_view inRow = SpanText(rows, {1, 0}, {2, 0}, scratch);
  EXPECT_EQ("bc", inRow);
  EXPECT_EQ(rows[0].data() + 1, inRow.data());
  EXPECT_EQ("c\r\n", SpanText(rows, {2, 0}, {3, 0}, scratch));
  EXPECT_EQ("\r\n\r\nd", SpanText(rows, {3, 0}, {0, 2}, scratch));
  EXPECT_EQ("abc\r\n\r\nde", SpanText(rows, {0, 0}, {1, 2}, scratch));
  EXPECT_EQ("", SpanText(rows, {1, 2}, {0, 2}, scratch));
  EXPECT_EQ("de\r\n", SpanText(rows, {0, 2}, {1, 9}, scratch));  // rows past the last give nothing
}

TEST(SpanTextTest, CutsLongSpans) {
  const std::string longRow(40000, 'x');
  std::vector<str> rows = RowsFromText(longRow + "\n" + longRow);
  std::string scratch;
  EXPECT_EQ(static_cast<size_t>(kMaxTokenText), SpanText(rows, {0, 0}, {39999, 0}, scratch).size());
  const std::string_view overRows = SpanText(rows, {39990, 0}, {39999, 1}, scratch);
  ASSERT_EQ(static_cast<size_t>(kMaxTokenText), overRows.size());
  EXPECT_EQ("xxxxxxxxxx\r\nxx", overRows.substr(0, 14));

  // A comment longer than the cut keeps its real end position.
  rows = RowsFromText("\"" + longRow + "\" x");
  TScanner scanner = testing::ScannerAtTextStart(rows);
  EXPECT_EQ(kComment, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{40001, 0}), scanner.scanPosition);
}

}  // namespace
}  // namespace weft
