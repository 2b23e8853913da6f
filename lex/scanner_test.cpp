// The token list and keyword table against plain models; the scanner against a step model of its machine that reads
// through the position rules alone, from any state, on generated text, random bytes and the corpus.
#include "lex/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "base/arena.h"
#include "lex/keyword_table.h"
#include "lex/token_list.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

TEST(TokenTest, EqualityTakesEveryFieldAndTheText) {
  const TToken base{1, 2, 3, kIdentifier};
  for (int32_t TToken::*field : {&TToken::startColumn, &TToken::endColumn, &TToken::rowSpan, &TToken::kind}) {
    TToken other = base;
    ++(other.*field);
    EXPECT_FALSE(TokensEqual(base, "abc", other, "abc"));
  }
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ABC") || TokensEqual(base, "abc", base, "ab"));
}

// Tokens as a scan cuts them from row 0 of `rows`, and each as a list must hand it back, with its text.
struct TTiledRow {
  std::vector<TRowString> rows;
  TRowTokens scanned;
  std::vector<std::pair<TToken, std::string>> expected;
};

// Tokens that tile row 0 of fresh random rows from column `start` on: spans of every short length and a few too long
// to keep, the last one sometimes ending on the line end or running over rows. `span` > 0 asks for exactly that many
// columns, all inside the row.
TTiledRow TiledRow(std::mt19937& random, int32_t start, int count, int32_t span = 0) {
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const auto bytes = [&](int32_t length) {
    std::string text(static_cast<size_t>(length), '\0');
    for (char& c : text) c = static_cast<char>(below(256));
    return TRowString(text);
  };
  std::vector<int32_t> starts{start};
  for (int i = 0; i + 1 < count; ++i) {
    int32_t length = below(30) == 0 ? 40000 : below(4) == 0 ? 1 + below(41) : 1 + below(12);
    if (span > 0) length = std::min(length, span - (starts.back() - start) - (count - i - 1));
    starts.push_back(starts.back() + length);
  }
  const int32_t lastStart = starts.back();
  const int ending = span > 0 ? 0 : below(6);  // 0 to 3: inside the row; 4: on its line end; 5: over rows
  const int32_t lastLength = span > 0 ? span - (lastStart - start) : below(30) == 0 ? 40000 : 1 + below(12);
  TTiledRow tiled;
  const int32_t rowLength = lastStart + (ending < 4 ? lastLength + below(3) : ending == 4 ? lastLength - 1 : below(5));
  tiled.rows.push_back(bytes(rowLength));
  TPoint lastEnd{lastStart + lastLength - 1, 0};
  if (ending == 4) lastEnd.column = tiled.rows[0].size();
  if (ending == 5) {
    for (int row = 1 + below(3); row > 0; --row) tiled.rows.push_back(bytes(below(20)));
    lastEnd = {below(tiled.rows.back().size() + 1), static_cast<int32_t>(tiled.rows.size()) - 1};
  }
  std::string scratch;
  for (size_t i = 0; i < starts.size(); ++i) {
    const TPoint tokenStart{starts[i], 0};
    const TPoint tokenEnd = i + 1 < starts.size() ? TPoint{starts[i + 1] - 1, 0} : lastEnd;
    const int32_t kind = below(300) - 128;
    tiled.scanned.Add({kind, tokenStart, tokenEnd});
    tiled.expected.push_back({{tokenStart.column, tokenEnd.column, tokenEnd.row, kind},
                              std::string(SpanText(tiled.rows, tokenStart, tokenEnd, scratch))});
  }
  return tiled;
}

// Rows of tokens, splices, moves and copies (into arena pieces too) against a vector of tokens with their texts.
TEST(TokenListTest, BehavesLikeAVectorOfTokensAndStrings) {
  std::mt19937 random(12345);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TArena arena;
  TTokenList list;
  std::vector<std::pair<TToken, std::string>> model;
  for (int step = 0; step < 2000 && !HasFailure(); ++step) {
    const int operation = below(11);
    const int32_t count = static_cast<int32_t>(model.size());
    if (operation < 3) {
      const TTiledRow tiled = TiledRow(random, below(100), 1 + below(20));
      list.AssignTiling(tiled.scanned, tiled.rows, operation == 0 ? &arena : nullptr);
      model = tiled.expected;
    } else if (operation < 7 && count > 0) {
      const int32_t first = below(count);
      const int32_t end = first + 1 + below(count - first);
      const int32_t start = model[static_cast<size_t>(first)].first.startColumn;
      const int32_t span = end < count ? (below(10) == 0 ? 40000 : 1 + below(60)) : 0;
      // Without a tail the shift moves nothing.
      const int32_t shift =
          end < count ? start + span - model[static_cast<size_t>(end)].first.startColumn : below(21) - 10;
      const TTiledRow middle = TiledRow(random, start, 1 + below(span > 0 ? std::min(span, 6) : 6), span);
      list = list.Spliced(first, end, middle.scanned, middle.rows, shift);
      for (auto tail = model.begin() + end; tail != model.end(); ++tail) {
        tail->first.startColumn += shift;
        if (tail->first.rowSpan == 0) tail->first.endColumn += shift;
      }
      model.erase(model.begin() + first, model.begin() + end);
      model.insert(model.begin() + first, middle.expected.begin(), middle.expected.end());
    } else if (operation < 10) {  // a copy, into an arena piece or the heap, copied back, then moved
      TTokenList other;
      other.Assign(list, operation == 8 ? &arena : nullptr);
      list = other;
      const char* text = list.empty() ? nullptr : list.TextView(0).data();
      other = std::move(list);
      list = std::move(other);
      ASSERT_TRUE(text == nullptr || text == list.TextView(0).data()) << "a move keeps the texts where they are";
    } else if (below(10) == 0) {
      list.clear();
      model.clear();
    }
    ASSERT_EQ(static_cast<int32_t>(model.size()), list.count());
    for (int32_t i = 0; i < list.count(); ++i) {
      const auto& [token, text] = model[static_cast<size_t>(i)];
      ASSERT_TRUE(TokensEqual(token, text, list.at(i), list.TextView(i))) << i;
      ASSERT_EQ('\0', list.TextView(i).data()[text.size()]);
    }
  }
}

// Random adds and deletes (prefixes, duplicates, case, high bytes, the empty word) against a multiset: a word is
// there while it has an entry left, whatever was added or deleted beside it.
TEST(KeywordTableTest, MatchesAMultiset) {
  std::mt19937 random(4242);
  const std::string alphabet("aAbB_:\xE9\xFF\x01", 9);
  for (int round = 0; round < 30; ++round) {
    TKeywordTable table;
    std::multiset<std::string> model;
    for (int step = 0; step < 200; ++step) {
      const std::string word = testing::RandomText(random, alphabet, random() % 10 == 0 ? 40 : 3);
      if (random() % 3 == 0) {
        table.Delete(word);
        if (const auto at = model.find(word); at != model.end()) model.erase(at);
      } else {
        table.Add(word);
        model.insert(word);
      }
      ASSERT_EQ(static_cast<int32_t>(model.size()), table.count());
      std::string probe = testing::RandomText(random, alphabet, 3);
      if (random() % 2 == 0) probe = word.substr(0, random() % (word.size() + 1));
      ASSERT_EQ(model.count(probe) > 0, table.Contains(probe)) << probe;
      ASSERT_EQ(model.count(word) > 0, table.Contains(word)) << word;
    }
  }
}

using TRows = std::vector<TRowString>;
// Lines end at LF; a CR right before an LF is dropped.
TRows RowsFromText(std::string_view text) {
  TRows rows(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') rows.emplace_back();
    if (text[i] != '\n' && text.substr(i, 2) != "\r\n") rows.back().append(text.substr(i, 1));
  }
  return rows;
}

// The position rules of scanner.h.
int32_t Length(const TRows& rows, int32_t row) { return row >= 0 && row < int32_t(rows.size()) ? rows[row].size() : 0; }
TPoint Clamp(const TRows& rows) {
  return rows.empty() ? TPoint{0, 0} : TPoint{rows.back().size(), static_cast<int32_t>(rows.size()) - 1};
}
TPoint Next(const TRows& rows, TPoint p) {
  return p == Clamp(rows) ? p : p.column >= Length(rows, p.row) ? TPoint{0, p.row + 1} : TPoint{p.column + 1, p.row};
}
TPoint Previous(const TRows& rows, TPoint p) {
  if (p == TPoint{0, 0}) return p;
  return p.column == 0 ? TPoint{Length(rows, p.row - 1), p.row - 1} : TPoint{p.column - 1, p.row};
}
unsigned char At(const TRows& rows, TPoint p) {
  if (p.row < 0 || p.row >= static_cast<int32_t>(rows.size()) || p.column < 0) return 0;
  return p.column >= rows[p.row].size() ? '\n' : rows[p.row][p.column];
}
// A scan of the whole text: up to the position before the clamp point.
TScanner ScannerAtTextStart(const TRows& rows) { return {0, Previous(rows, Clamp(rows)), {-1, 0}, {}, 0}; }

bool In(unsigned char c, std::string_view set) { return c != 0 && set.find(static_cast<char>(c)) != set.npos; }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(unsigned char c) { return IsUpper(c) || (c >= 'a' && c <= 'z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(unsigned char c) { return IsLetter(c) || c == '_'; }
bool IsName(unsigned char c) { return IsNameStart(c) || IsDigit(c); }
bool IsWhite(unsigned char c) { return In(c, "\t\n\f\r "); }
bool IsBinary(unsigned char c) { return In(c, "!%&*+,-/<=>?@\\|~"); }
constexpr int32_t kMore = INT32_MIN;  // the token goes on
// The kind of a token that the end of the scan cuts short, by state.
constexpr int32_t kEndKinds[16] = {128, 146, 142, 136, 144, -1, 128, 138, 140, 128, 131, 134, 134, 136, 136, 134};

// The machine one step at a time: Step answers the token's kind, or kMore.
struct TModel {
  int32_t ScanToken() {
    int32_t kind = kMore;
    for (s.scanState = 0; kind == kMore;) kind = Step();
    return kind;
  }
  unsigned char Current() const { return At(rows, s.scanPosition); }
  unsigned char Peek() const { return At(rows, Next(rows, s.scanPosition)); }
  bool AtEnd() const { return !(s.scanPosition < std::min(s.endOfText, Clamp(rows))); }
  int32_t Take() { return s.scanPosition = Next(rows, s.scanPosition), kMore; }
  int32_t Back(int32_t kind) { return s.scanPosition = Previous(rows, s.scanPosition), kind; }
  int32_t Go(int32_t state) { return s.scanState = state, kMore; }
  bool IsRadixDigit(unsigned char c) const { return IsDigit(c) || (IsUpper(c) && c <= s.radixDigitLimit); }

  int32_t Step() {
    const int32_t state = s.scanState;
    if (state != 5 && AtEnd()) return kEndKinds[state];
    const unsigned char p = Peek();
    switch (state) {
      case 0: return Start();
      case 1: return IsWhite(p) ? Take() : kWhiteSpace;
      case 2: return Identifier(p);
      case 3: return Integer(p);
      case 4: return IsName(p) || p == ':' ? Take() : kSymbol;
      case 5: return Take(), IsBinary(Peek()) ? Take() : 0, kSymbol;
      case 6: return Take(), kCharacterLiteral;
      case 7: return Quoted('"', kComment);
      case 8: return Quoted('\'', kStringLiteral);
      case 9: return Take(), kAssignment;
      case 10:
        if (IsName(p)) return Take();
        return p != ':' ? kKeywordChainWord : (Take(), !AtEnd() && IsLetter(Peek()) ? kMore : kKeywordChain);
      case 11:
        if (IsDigit(p)) return Take();
        if (p != 'e' && p != 'E') return kRealNumber;
        return Take(), !AtEnd() && (IsDigit(Peek()) || Peek() == '-') ? Go(12) : kRealNumberOpen;
      case 12: case 15:
        if (IsDigit(p)) return Take();
        return p != '-' ? kRealNumber : state == 15 ? kRealNumberOpen : (Take(), Go(15));
      default:
        if (IsRadixDigit(p) || (state == 13 && p == '-')) return Take();
        return IsUpper(p) ? kRadixNumberOpen : kIntegerNumber;
    }
  }
  int32_t Start() {
    Take();
    s.tokenStart = s.scanPosition;
    const unsigned char c = Current(), p = Peek();
    if (IsWhite(c)) return Go(1);
    if (IsNameStart(c)) return Go(2);
    if (IsDigit(c) || (c == '-' && IsDigit(p))) return Go(3);
    if (c == '$' || c == '"' || c == '\'') return Go(c == '$' ? 6 : c == '"' ? 7 : 8);
    if (c == '#' && (IsNameStart(p) || IsBinary(p))) return Go(IsNameStart(p) ? 4 : 5);
    if (c == ':' && p == '=') return Go(9);
    if (IsBinary(c) && IsBinary(p)) return Take(), kBinaryPair;
    return CharacterKind(c);
  }
  int32_t Identifier(unsigned char p) {
    if (IsName(p)) return Take();
    if (p != ':') return kIdentifier;
    Take();
    if (AtEnd()) return kKeywordPart;
    if (Peek() == '=') return Back(kIdentifier);
    if (!IsNameStart(Peek())) return kKeywordPart;
    const TPoint colon = s.scanPosition;
    do Take(); while (IsName(Current()) && !AtEnd());
    const bool chain = Current() == ':';
    s.scanPosition = colon;
    return chain ? Go(10) : kKeywordPart;
  }
  int32_t Integer(unsigned char p) {
    if (IsDigit(p)) return Take();
    if (p == '.') return Take(), !AtEnd() && (IsDigit(Peek()) || Peek() == '-') ? Go(11) : Back(kIntegerNumber);
    if (p == 'e' || p == 'E') return Take(), !AtEnd() && IsDigit(Peek()) ? Go(12) : kRealNumberOpen;
    if (p != 'r' && p != 'R') return kIntegerNumber;
    uint32_t value = 0;  // wraps around as 32-bit arithmetic does
    for (TPoint at = s.tokenStart; at <= s.scanPosition; at = Next(rows, at)) {
      if (At(rows, at) != '-') value = value * 10u + static_cast<uint32_t>(At(rows, at) - '0');
    }
    const uint32_t radix = At(rows, s.tokenStart) == '-' ? 0u - value : value;
    s.radixDigitLimit = static_cast<int32_t>(radix + 54u);
    if (static_cast<int32_t>(radix) >= 37) return kRadixNumberOpen;
    Take();
    const unsigned char q = AtEnd() ? 'r' : Peek();
    return IsRadixDigit(q) ? Go(14) : q == '-' ? Go(13) : kRadixNumberOpen;
  }
  int32_t Quoted(unsigned char quote, int32_t closedKind) {
    return Take(), Current() != quote ? kMore : Peek() == quote ? Take() : closedKind;
  }

  const TRows& rows;
  TScanner& s;
};
int32_t ModelToken(const TRows& rows, TScanner& s) { return TModel{rows, s}.ScanToken(); }

struct TGenerator {
  int32_t Below(size_t n) { return std::uniform_int_distribution<int32_t>(0, static_cast<int32_t>(n) - 1)(random); }
  // Pieces that reach every state and rule, radixes that wrap, and any byte, joined with breaks, blanks or nothing.
  std::string Fragments(int32_t count) {
    static const char* const kPieces[] = {
        "x", "at:", "put:", "a:b:c", ":=", "16r1F", "16r", "2r", "-", "3.14", "1e", "e-5", "2.5e-", ".", "\"",
        "'", "''", "$", "#", "#(", "#+", "#foo:", "+", "->", "<=", "[:", "]", "^", "_y", "Z", "36rZ", "40r", "9",
        "\xE9", "\xFF", "\v", "\r", "e", "E", "r", "R", "-1", "1-", "ifTrue:", "1.", "::", "==>", "1e5-", "\f",
        "a:b:_c", "1e5--3", "16r1G", "40r1", "16r-1-2", "#foo:bar:", "4294967312rF", "2147483648r", "-16r", "37r",
        "10R", "'it''s'", "'''", "$'", "x-1", "2.5e-3", "x:=3", "+++", "#++", "\"a\"", "at:put:"};
    static const char* const kGaps[] = {"", "", "", " ", "\t", "\n", "\r\n", "  ", "\n\n"};
    std::string text;
    while (count-- > 0) {
      text += Below(6) == 0 ? std::string(1, static_cast<char>(Below(256))) : kPieces[Below(std::size(kPieces))];
      text += kGaps[Below(std::size(kGaps))];
    }
    return text;
  }
  // Up to three rows, and a state with positions before, inside, past them and at the ends of int32, and any end.
  std::pair<TRows, TScanner> AnyState() {
    TRows rows(static_cast<size_t>(Below(4)));
    for (TRowString& row : rows) row.assign(Fragments(Below(5)));
    const auto any = [&](int32_t usual) {
      return Below(10) > 0 ? usual : Below(2) == 0 ? INT32_MIN + Below(2) : INT32_MAX - Below(2);
    };
    const auto anyPoint = [&] {
      const int32_t row = any(Below(static_cast<int32_t>(rows.size()) + 4) - 2);
      return TPoint{std::min(any(Below(Length(rows, row) + 5) - 2), INT32_MAX - 1), row};  // INT32_MAX reads as at end
    };
    TScanner scanner{Below(16), anyPoint(), anyPoint(), anyPoint(), any(Below(200) - 50)};
    if (Below(3) == 0) scanner.endOfText = ScannerAtTextStart(rows).endOfText;
    return {std::move(rows), scanner};
  }
  std::mt19937 random{20240611};
};

// The model beside the scanner, which takes a token or a batch a call, for `rounds` calls or to the end: the texts.
std::string ScanBesideModel(TGenerator& generator, const TRows& rows, TScanner fast, int rounds) {
  const auto fields = [](const TScanner& s) {
    return std::tie(s.scanState, s.endOfText, s.scanPosition, s.tokenStart, s.radixDigitLimit);
  };
  const auto show = [](TPoint p) { return std::string("(") + std::to_string(p.column) + "," + std::to_string(p.row) + ")"; };
  std::string before = "from " + show(fast.scanPosition) + " to " + show(fast.endOfText) + " in";
  for (const TRowString& row : rows) before += " [" + std::string(row.view()) + "]";
  TScanner model = fast;
  std::string joined, scratch;
  std::vector<TScannedToken> batch;
  for (int round = 0; round < rounds && (round == 0 || !ScanAtEnd(fast)) && !::testing::Test::HasFailure(); ++round) {
    if (generator.Below(2) == 0) {
      EXPECT_EQ(ModelToken(rows, model), ScanToken(rows, fast)) << before;
      joined += SpanText(rows, fast.tokenStart, fast.scanPosition, scratch);
    } else {
      batch.resize(static_cast<size_t>(1 + generator.Below(6)));
      const int32_t count = ScanTokens(rows, fast, batch);
      for (const TScannedToken& token : std::span(batch).first(static_cast<size_t>(count))) {
        const int32_t kind = ModelToken(rows, model);
        EXPECT_EQ(std::tuple(kind, model.tokenStart, model.scanPosition), std::tuple(token.kind, token.start, token.end))
            << before;
        joined += SpanText(rows, token.start, token.end, scratch);
      }
      TScanner ended = model;  // a short batch ends where the scan does
      EXPECT_TRUE(static_cast<size_t>(count) == batch.size() || ModelToken(rows, ended) == kIncompleteToken) << before;
      EXPECT_EQ(model.scanPosition, ended.scanPosition) << before;
    }
    EXPECT_EQ(fields(model), fields(fast)) << before;
  }
  return joined;
}

// From any state a few tokens (the sanitizers see no read outside the rows or overflow); whole texts to their end,
// whose tokens give back the text with CR LF line breaks.
TEST(ScanPropertyTest, MatchesTheStepModel) {
  TGenerator generator;
  for (int i = 0; i < 30000 && !HasFailure(); ++i) {
    const auto [rows, scanner] = generator.AnyState();
    ScanBesideModel(generator, rows, scanner, 4);
  }
  std::vector<std::string> texts = {""};
  for (int i = 0; i < 4000; ++i) texts.push_back(generator.Fragments(generator.Below(40)));
  for (const auto& path : testing::CorpusFiles()) texts.push_back(testing::ReadFile(path));
  for (const std::string& text : texts) {
    const TRows rows = RowsFromText(text);
    const std::string joined = ScanBesideModel(generator, rows, ScannerAtTextStart(rows), INT32_MAX);
    ASSERT_EQ(text.empty() ? "\r\n" : testing::WithCrLf(text), joined);
  }
}

// Between any two positions of any state, SpanLength counts the characters ForEachSpanPiece gives, up to its limit.
TEST(SpanLengthTest, CountsThePiecesUpToTheLimit) {
  TGenerator generator;
  for (int i = 0; i < 20000 && !HasFailure(); ++i) {
    const auto [rows, scanner] = generator.AnyState();
    for (const auto& [from, to] : {std::pair(scanner.tokenStart, scanner.scanPosition),
                                   std::pair(scanner.scanPosition, scanner.endOfText),
                                   std::pair(scanner.endOfText, scanner.tokenStart)}) {
      int64_t pieces = 0;
      ForEachSpanPiece(rows, from, to, [&](const char*, int32_t count) { return (pieces += count, true); });
      const int32_t limit = generator.Below(2) == 0 ? kMaxTokenText : generator.Below(12);
      ASSERT_EQ(std::min<int64_t>(pieces, limit), SpanLength(rows, from, to, limit));
    }
  }
}

// Within one row a span views the row, past the rows it gives nothing, and a long one is cut but its token is not.
TEST(SpanTextTest, ViewsOneRowAndCutsLongSpans) {
  const std::string longRow(40000, 'x');
  const TRows rows = RowsFromText("\"" + longRow + "\n" + longRow + "\" x");
  std::string scratch;
  EXPECT_EQ(rows[0].data() + 1, SpanText(rows, {1, 0}, {2, 0}, scratch).data());
  EXPECT_EQ("\" x\r\n", SpanText(rows, {40000, 1}, {1, 9}, scratch));
  TScanner scanner = ScannerAtTextStart(rows);
  EXPECT_TRUE(ScanToken(rows, scanner) == kComment && scanner.scanPosition == (TPoint{40000, 1}));
  EXPECT_EQ(("\"" + longRow + "\r\n" + longRow).substr(0, kMaxTokenText),
            SpanText(rows, scanner.tokenStart, scanner.scanPosition, scratch));
}

}  // namespace
}  // namespace weft
