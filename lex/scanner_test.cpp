// The scanner against a step-by-step model of its state machine that reads
// every character through the position rules alone, from any state, on
// generated text, random bytes and the corpus.
#include "lex/scanner.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "lex/token.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

using TRows = std::vector<TRowString>;

// Lines end at LF; one CR before it is dropped.
TRows RowsFromText(std::string_view text) {
  TRows rows;
  for (;;) {
    const size_t lineFeed = text.find('\n');
    std::string_view line = text.substr(0, lineFeed);
    if (lineFeed != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    rows.emplace_back(line);
    if (lineFeed == std::string_view::npos) return rows;
    text.remove_prefix(lineFeed + 1);
  }
}

// A full scan: it ends on the last character, or on the line end before an
// empty last row.
TScanner ScannerAtTextStart(const TRows& rows) {
  TScanner scanner;
  scanner.scanPosition = {-1, 0};
  const int32_t last = static_cast<int32_t>(rows.size()) - 1;
  if (last > 0 && rows[last].empty()) {
    scanner.endOfText = {rows[last - 1].size(), last - 1};
  } else if (last >= 0 && !rows[last].empty()) {
    scanner.endOfText = {rows[last].size() - 1, last};
  }
  return scanner;
}

bool In(unsigned char c, std::string_view set) { return c != 0 && set.find(static_cast<char>(c)) != set.npos; }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(unsigned char c) { return IsUpper(c) || (c >= 'a' && c <= 'z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(unsigned char c) { return IsLetter(c) || c == '_'; }
bool IsName(unsigned char c) { return IsNameStart(c) || IsDigit(c); }
bool IsWhite(unsigned char c) { return In(c, "\t\n\f\r "); }
bool IsBinary(unsigned char c) { return In(c, "!%&*+,-/<=>?@\\|~"); }

constexpr int32_t kMore = INT32_MIN;  // the token goes on

// The machine one step at a time: Step answers the token's kind, or kMore.
class Model {
 public:
  Model(const TRows& rows, TScanner& s) : rows_(rows), s_(s) {}

  int32_t ScanToken() {
    s_.scanState = 0;
    for (;;) {
      if (const int32_t kind = Step(); kind != kMore) return kind;
    }
  }

 private:
  int32_t Rows() const { return static_cast<int32_t>(rows_.size()); }
  int32_t Length(int32_t row) const { return row >= 0 && row < Rows() ? rows_[row].size() : 0; }
  TPoint Clamp() const { return rows_.empty() ? TPoint{0, 0} : TPoint{rows_.back().size(), Rows() - 1}; }
  TPoint Next(TPoint p) const {
    if (p == Clamp()) return p;
    return p.column >= Length(p.row) ? TPoint{0, p.row + 1} : TPoint{p.column + 1, p.row};
  }
  void StepBack() {
    TPoint& p = s_.scanPosition;
    if (p != TPoint{0, 0}) p = p.column == 0 ? TPoint{Length(p.row - 1), p.row - 1} : TPoint{p.column - 1, p.row};
  }
  unsigned char At(TPoint p) const {
    if (p.row < 0 || p.row >= Rows() || p.column < 0) return 0;
    return p.column >= Length(p.row) ? '\n' : rows_[p.row][p.column];
  }
  unsigned char Current() const { return At(s_.scanPosition); }
  unsigned char Peek() const { return At(Next(s_.scanPosition)); }
  bool AtEnd() const { return !(s_.scanPosition < std::min(s_.endOfText, Clamp())); }
  int32_t Take() {
    s_.scanPosition = Next(s_.scanPosition);
    return kMore;
  }
  int32_t Go(int32_t state) {
    s_.scanState = state;
    return kMore;
  }
  bool IsRadixDigit(unsigned char c) const { return IsDigit(c) || (IsUpper(c) && c <= s_.radixDigitLimit); }

  int32_t Step() {
    static constexpr int32_t kEndKinds[16] = {128, 146, 142, 136, 144, -1, 128, 138, 140, 128, 131, 134, 134, 136, 136, 134};
    const int32_t state = s_.scanState;
    if (state != 5 && AtEnd()) return kEndKinds[state];
    const unsigned char p = Peek();
    switch (state) {
      case 0: return Start();
      case 1: return IsWhite(p) ? Take() : kWhiteSpace;
      case 2: return Identifier(p);
      case 3: return Integer(p);
      case 4: return IsName(p) || p == ':' ? Take() : kSymbol;
      case 5:
        Take();
        if (IsBinary(Peek())) Take();
        return kSymbol;
      case 6: return Take(), kCharacterLiteral;
      case 7: return Quoted('"', kComment);
      case 8: return Quoted('\'', kStringLiteral);
      case 9: return Take(), kAssignment;
      case 10:
        if (IsName(p)) return Take();
        if (p != ':') return kKeywordChainWord;
        Take();
        return !AtEnd() && IsLetter(Peek()) ? kMore : kKeywordChain;
      case 11:
        if (IsDigit(p)) return Take();
        if (p != 'e' && p != 'E') return kRealNumber;
        Take();
        return !AtEnd() && (IsDigit(Peek()) || Peek() == '-') ? Go(12) : kRealNumberOpen;
      case 12:
      case 15:
        if (IsDigit(p)) return Take();
        if (p != '-') return kRealNumber;
        return state == 15 ? kRealNumberOpen : (Take(), Go(15));
      default:
        if (IsRadixDigit(p) || (state == 13 && p == '-')) return Take();
        return IsUpper(p) ? kRadixNumberOpen : kIntegerNumber;
    }
  }

  int32_t Start() {
    Take();
    s_.tokenStart = s_.scanPosition;
    const unsigned char c = Current();
    const unsigned char p = Peek();
    if (IsWhite(c)) return Go(1);
    if (IsNameStart(c)) return Go(2);
    if (IsDigit(c) || (c == '-' && IsDigit(p))) return Go(3);
    if (c == '$') return Go(6);
    if (c == '"') return Go(7);
    if (c == '\'') return Go(8);
    if (c == '#' && IsNameStart(p)) return Go(4);
    if (c == '#' && IsBinary(p)) return Go(5);
    if (c == ':' && p == '=') return Go(9);
    if (IsBinary(c) && IsBinary(p)) return Take(), kBinaryPair;
    return CharacterKind(c);
  }

  int32_t Identifier(unsigned char p) {
    if (IsName(p)) return Take();
    if (p != ':') return kIdentifier;
    Take();
    if (AtEnd()) return kKeywordPart;
    if (Peek() == '=') return StepBack(), kIdentifier;
    if (!IsNameStart(Peek())) return kKeywordPart;
    const TPoint colon = s_.scanPosition;
    do Take();
    while (IsName(Current()) && !AtEnd());
    const unsigned char last = Current();
    s_.scanPosition = colon;
    return last == ':' ? Go(10) : kKeywordPart;
  }

  int32_t Integer(unsigned char p) {
    if (IsDigit(p)) return Take();
    if (p == '.') {
      Take();
      if (!AtEnd() && (IsDigit(Peek()) || Peek() == '-')) return Go(11);
      return StepBack(), kIntegerNumber;
    }
    if (p == 'e' || p == 'E') {
      Take();
      return !AtEnd() && IsDigit(Peek()) ? Go(12) : kRealNumberOpen;
    }
    if (p != 'r' && p != 'R') return kIntegerNumber;
    uint32_t value = 0;
    bool negative = false;
    for (TPoint at = s_.tokenStart;; at = Next(at)) {
      negative = negative || At(at) == '-';
      if (At(at) != '-') value = value * 10u + static_cast<uint32_t>(At(at) - '0');
      if (at == s_.scanPosition) break;
    }
    const int32_t radix = static_cast<int32_t>(negative ? 0u - value : value);
    s_.radixDigitLimit = static_cast<int32_t>(static_cast<uint32_t>(radix) + 54u);
    if (radix >= 37) return kRadixNumberOpen;
    Take();
    const unsigned char q = AtEnd() ? 'r' : Peek();
    if (IsRadixDigit(q)) return Go(14);
    return q == '-' ? Go(13) : kRadixNumberOpen;
  }

  int32_t Quoted(unsigned char quote, int32_t closedKind) {
    Take();
    if (Current() != quote) return kMore;
    return Peek() == quote ? Take() : closedKind;
  }

  const TRows& rows_;
  TScanner& s_;
};

struct Generator {
  int32_t Below(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(random); }

  std::string Bytes(int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) text += static_cast<char>(Below(256));
    return text;
  }

  // Pieces that reach every state and rule, radixes that wrap among them,
  // joined with line breaks, spaces and tabs or nothing.
  std::string Fragments(int32_t count) {
    static const char* const kPieces[] = {
        "x",     "at:",     "put:",  "a:b:c",   ":=",     "16r1F",        "16r",     "2r",     "-",     "3.14",
        "1e",    "e-5",     "2.5e-", ".",       "\"",     "'",            "''",      "$",      "#",     "#(",
        "#+",    "#foo:",   "+",     "->",      "<=",     "[:",           "]",       "^",      "_y",    "Z",
        "36rZ",  "40r",     "9",     "\xE9",    "\xFF",   "\v",           "\r",      "e",      "E",     "r",
        "R",     "-1",      "1-",    "ifTrue:", "1.",     "::",           "==>",     "1e5-",   "\f",    "a:b:_c",
        "1e5--3", "16r1G",  "40r1",  "16r-1-2", "#foo:bar:", "4294967312rF", "2147483648r", "-16r", "37r", "10R",
        "'it''s'", "'''",   "$'",    "x-1",     "2.5e-3", "x:=3",         "+++",     "#++",    "\"a\"", "at:put:",
    };
    static const char* const kGaps[] = {"", "", "", " ", "\t", "\n", "\r\n", "  ", "\n\n"};
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
      text += kPieces[Below(static_cast<int32_t>(std::size(kPieces)))];
      text += kGaps[Below(static_cast<int32_t>(std::size(kGaps)))];
    }
    return text;
  }

  // Up to three rows, and a state with any positions: before, inside and
  // past the rows, with any end.
  std::pair<TRows, TScanner> AnyState() {
    TRows rows(static_cast<size_t>(Below(4)));
    for (TRowString& row : rows) row.assign(Below(3) == 0 ? Bytes(Below(6)) : Fragments(Below(5)));
    const auto point = [&] {
      const int32_t row = Below(static_cast<int32_t>(rows.size()) + 4) - 2;
      return TPoint{Below((row >= 0 && row < static_cast<int32_t>(rows.size()) ? rows[row].size() : 0) + 5) - 2, row};
    };
    TScanner scanner = ScannerAtTextStart(rows);
    if (Below(3) != 0) scanner.endOfText = point();
    scanner.scanState = Below(16);
    scanner.scanPosition = point();
    scanner.tokenStart = point();
    scanner.radixDigitLimit = Below(200) - 50;
    return {std::move(rows), scanner};
  }

  std::mt19937 random{20240611};
};

auto Fields(const TScanner& s) {
  return std::tie(s.scanState, s.endOfText, s.scanPosition, s.tokenStart, s.radixDigitLimit);
}

std::string Show(const TRows& rows, const TScanner& s) {
  std::ostringstream out;
  for (const TRowString& row : rows) out << '[' << row.view() << "] ";
  out << "end (" << s.endOfText.column << ',' << s.endOfText.row << ") at (" << s.scanPosition.column << ','
      << s.scanPosition.row << ')';
  return out.str();
}

// Scans with the model and the scanner side by side, the scanner taking one
// token a call or batches of any size, for up to `rounds` calls or to the end;
// answers the scanned texts joined.
std::string ScanBesideModel(Generator& generator, const TRows& rows, TScanner fast, int rounds) {
  TScanner model = fast;
  const std::string before = Show(rows, fast);
  std::string joined, scratch;
  std::vector<TScannedToken> batch;
  for (int round = 0; round < rounds && (round == 0 || !ScanAtEnd(fast)); ++round) {
    if (generator.Below(2) == 0) {
      const int32_t kind = ScanToken(rows, fast);
      EXPECT_EQ(Model(rows, model).ScanToken(), kind) << before;
      joined += SpanText(rows, fast.tokenStart, fast.scanPosition, scratch);
    } else {
      batch.resize(static_cast<size_t>(1 + generator.Below(6)));
      const int32_t count = ScanTokens(rows, fast, batch);
      for (const TScannedToken& token : std::span(batch).first(static_cast<size_t>(count))) {
        EXPECT_EQ(Model(rows, model).ScanToken(), token.kind) << before;
        EXPECT_EQ((std::pair{model.tokenStart, model.scanPosition}), (std::pair{token.start, token.end})) << before;
        joined += SpanText(rows, token.start, token.end, scratch);
      }
      if (static_cast<size_t>(count) < batch.size()) {  // the scan has ended
        TScanner ended = model;
        EXPECT_EQ(kIncompleteToken, Model(rows, ended).ScanToken()) << before;
        EXPECT_EQ(model.scanPosition, ended.scanPosition) << before;
      }
    }
    EXPECT_EQ(Fields(model), Fields(fast)) << before << " now " << Show(rows, fast);
    if (::testing::Test::HasFailure()) break;
  }
  return joined;
}

// From any state a few tokens; whole texts to their end, whose tokens must
// give back the text with CR LF line breaks.
TEST(ScanPropertyTest, MatchesTheStepModel) {
  Generator generator;
  for (int i = 0; i < 30000 && !HasFailure(); ++i) {
    const auto [rows, scanner] = generator.AnyState();
    ScanBesideModel(generator, rows, scanner, 4);
  }
  std::vector<std::string> texts = {""};
  for (int i = 0; i < 3000; ++i) texts.push_back(generator.Fragments(generator.Below(40)));
  for (int i = 0; i < 1000; ++i) texts.push_back(generator.Bytes(generator.Below(80)));
  for (const auto& path : testing::CorpusFiles()) texts.push_back(testing::ReadFile(path));
  for (const std::string& text : texts) {
    const TRows rows = RowsFromText(text);
    const std::string joined = ScanBesideModel(generator, rows, ScannerAtTextStart(rows), INT_MAX);
    ASSERT_EQ(text.empty() ? "\r\n" : testing::WithCrLf(text), joined);
  }
}

// Under the sanitizers: no state, however absurd, makes the scanner read
// outside the rows or overflow.
TEST(ScanPropertyTest, SurvivesExtremeStates) {
  const TRows texts[] = {RowsFromText("ab: 16r1F\n\n'x"), {}};
  const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -2, -1, 0, 1, 2, 3, 9, 10, INT32_MAX - 1, INT32_MAX};
  std::string scratch;
  for (const TRows& rows : texts) {
    for (int32_t column : values) {
      for (int32_t row : values) {
        for (const TPoint end : {TPoint{column, row}, TPoint{2, 2}, TPoint{INT32_MAX, INT32_MAX}}) {
          TScanner scanner{0, end, {column, row}, {row, column}};
          ScanToken(rows, scanner);
          SpanText(rows, scanner.tokenStart, scanner.scanPosition, scratch);
        }
      }
    }
  }
}

// Within one row a span views the row; positions past the rows give
// nothing; a longer span is cut, though its token keeps its real end.
TEST(SpanTextTest, ViewsOneRowAndCutsLongSpans) {
  TRows rows = RowsFromText("abc\n\nde");
  std::string scratch;
  EXPECT_EQ(rows[0].data() + 1, SpanText(rows, {1, 0}, {2, 0}, scratch).data());
  EXPECT_EQ("", SpanText(rows, {1, 2}, {0, 2}, scratch));
  EXPECT_EQ("de\r\n", SpanText(rows, {0, 2}, {1, 9}, scratch));
  const std::string longRow(40000, 'x');
  rows = RowsFromText("\"" + longRow + "\n" + longRow + "\" x");
  TScanner scanner = ScannerAtTextStart(rows);
  EXPECT_EQ(kComment, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{40000, 1}), scanner.scanPosition);
  EXPECT_EQ(static_cast<size_t>(kMaxTokenText), SpanText(rows, {1, 0}, {39999, 0}, scratch).size());
  const std::string_view overRows = SpanText(rows, {39991, 0}, {39999, 1}, scratch);
  EXPECT_EQ(static_cast<size_t>(kMaxTokenText), overRows.size());
  EXPECT_EQ("xxxxxxxxxx\r\nxx", overRows.substr(0, 14));
}

}  // namespace
}  // namespace weft
