// The scanner: one example per rule, and a differential test against a
// step-by-step model of the state machine that reads every character through
// the position rules alone, from any state, on generated text and the corpus.
#include "lex/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "lex/token.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

// Lines end at LF; one CR before it is dropped.
std::vector<TRowString> RowsFromText(std::string_view text) {
  std::vector<TRowString> rows;
  for (;;) {
    const size_t lineFeed = text.find('\n');
    std::string_view line = text.substr(0, lineFeed);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rows.emplace_back(line);
    if (lineFeed == std::string_view::npos) return rows;
    text.remove_prefix(lineFeed + 1);
  }
}

// The last position a full scan consumes: the last character, or, when the
// text ends in a line break, the line end of the row before the empty last row.
TPoint EndOfTextFor(const std::vector<TRowString>& rows) {
  if (rows.empty()) return {0, 0};
  const int32_t last = static_cast<int32_t>(rows.size()) - 1;
  if (!rows[last].empty()) return {rows[last].size() - 1, last};
  if (last == 0) return {0, 0};
  return {rows[last - 1].size(), last - 1};
}

TScanner ScannerAtTextStart(const std::vector<TRowString>& rows) {
  TScanner scanner;
  scanner.scanPosition = {-1, 0};
  scanner.endOfText = EndOfTextFor(rows);
  return scanner;
}

// "kind:text" for each token of a full scan.
std::vector<std::string> ScanAll(std::string_view text) {
  const std::vector<TRowString> rows = RowsFromText(text);
  std::vector<std::string> tokens;
  TScanner scanner = ScannerAtTextStart(rows);
  std::string scratch;
  while (!ScanAtEnd(scanner)) {
    const int32_t kind = ScanToken(rows, scanner);
    tokens.push_back(std::to_string(kind) + ":" +
                     std::string(SpanText(rows, scanner.tokenStart, scanner.scanPosition, scratch)));
  }
  return tokens;
}

std::string T(int32_t kind, std::string_view text) { return std::to_string(kind) + ":" + std::string(text); }

// One example per rule of the machine; the model test below covers the rest.
TEST(ScanTokenTest, OneExamplePerRule) {
  const struct {
    std::string text;
    std::vector<std::string> tokens;
  } cases[] = {
      {"x:=3", {T(kIdentifier, "x"), T(kAssignment, ":="), T(kIntegerNumber, "3")}},
      {"[:e", {T('[', "["), T(':', ":"), T(kIdentifier, "e")}},
      {"at: 1", {T(kKeywordPart, "at:"), T(kWhiteSpace, " "), T(kIntegerNumber, "1")}},
      {"at:put:", {T(kKeywordChain, "at:put:")}},
      {"a:b:c ", {T(kKeywordChainWord, "a:b:c"), T(kWhiteSpace, " ")}},
      {"a:b:c", {T(kKeywordChainAtEnd, "a:b:c")}},
      {"a:b:_c", {T(kKeywordChain, "a:b:"), T(kIdentifier, "_c")}},
      {"3.x", {T(kIntegerNumber, "3"), T('.', "."), T(kIdentifier, "x")}},
      {"2.5e-3", {T(kRealNumber, "2.5e-3")}},
      {"1e-5", {T(kRealNumberOpen, "1e"), T(kIntegerNumber, "-5")}},
      {"1e5--3", {T(kRealNumberOpen, "1e5-"), T(kIntegerNumber, "-3")}},
      {"x-1", {T(kIdentifier, "x"), T(kIntegerNumber, "-1")}},
      {"16r1G", {T(kRadixNumberOpen, "16r1"), T(kIdentifier, "G")}},
      {"40r1", {T(kRadixNumberOpen, "40"), T(kIdentifier, "r1")}},
      {"16r-1-2", {T(kIntegerNumber, "16r-1-2")}},
      {"4294967312rF", {T(kIntegerNumber, "4294967312rF")}},  // the radix wraps to 16
      {"#foo:bar: #++", {T(kSymbol, "#foo:bar:"), T(kWhiteSpace, " "), T(kSymbol, "#++")}},
      {"#(", {T('#', "#"), T('(', "(")}},
      {"+++", {T(kBinaryPair, "++"), T('+', "+")}},
      {"'it''s' '''", {T(kStringLiteral, "'it''s'"), T(kWhiteSpace, " "), T(kStringOpen, "'''")}},
      {"x \"a\nb", {T(kIdentifier, "x"), T(kWhiteSpace, " "), T(kCommentOpen, "\"a\r\nb")}},
      {"$'$", {T(kCharacterLiteral, "$'"), T(kIncompleteToken, "$")}},
      {"a\n\n  b\n", {T(kIdentifier, "a"), T(kWhiteSpace, "\r\n\r\n  "), T(kIdentifier, "b"), T(kWhiteSpace, "\r\n")}},
      {"", {T(kWhiteSpace, "\r\n")}},
      {"\v\xE9", {T('\v', "\v"), T(-23, "\xE9")}},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanAll(c.text), c.tokens) << c.text;
}

bool InSet(unsigned char c, std::string_view set) { return c != 0 && set.find(static_cast<char>(c)) != set.npos; }
bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsName(unsigned char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsNameStart(unsigned char c) { return IsLetter(c) || c == '_'; }
bool IsWhite(unsigned char c) { return InSet(c, "\t\n\f\r "); }
bool IsBinary(unsigned char c) { return InSet(c, "!%&*+,-/<=>?@\\|~"); }

// The state machine one step at a time, every read going through next,
// previous and character-at, as the scanner's contract describes them.
class ModelScanner {
 public:
  ModelScanner(const std::vector<TRowString>& rows, TScanner& scanner) : rows_(rows), s_(scanner) {}

  int32_t ScanToken() {
    s_.scanState = 0;
    if (!AtEnd()) {
      for (;;) {
        if (const std::optional<int32_t> kind = Step()) return *kind;
        if (AtEnd()) break;
      }
    }
    return *Step();
  }

  TPoint Next(TPoint p) const {
    if (p == Clamp()) return p;
    if (p.column >= Length(p.row)) return {0, p.row + 1};
    return {p.column + 1, p.row};
  }

 private:
  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  int32_t Length(int32_t row) const { return row >= 0 && row < RowCount() ? rows_[row].size() : 0; }
  TPoint Clamp() const { return rows_.empty() ? TPoint{0, 0} : TPoint{rows_.back().size(), RowCount() - 1}; }
  TPoint Previous(TPoint p) const {
    if (p == TPoint{0, 0}) return p;
    if (p.column == 0) return {Length(p.row - 1), p.row - 1};
    return {p.column - 1, p.row};
  }
  unsigned char At(TPoint p) const {
    if (p.row < 0 || p.row >= RowCount() || p.column < 0) return 0;
    if (p.column >= Length(p.row)) return '\n';
    return rows_[p.row][p.column];
  }
  bool AtEnd() const { return !(s_.scanPosition < std::min(s_.endOfText, Clamp())); }
  void Consume() { s_.scanPosition = Next(s_.scanPosition); }
  unsigned char Peek() const { return At(Next(s_.scanPosition)); }
  unsigned char Current() const { return At(s_.scanPosition); }
  void StepBack() { s_.scanPosition = Previous(s_.scanPosition); }
  void Switch(int32_t state) { s_.scanState = state; }

  static constexpr int32_t kEndKinds[16] = {128, 146, 142, 136, 144, -1, 128, 138, 140, 128, 131, 134, 134, 136, 136, 134};

  std::optional<int32_t> Step() {
    const int32_t state = s_.scanState;
    if (state != 5 && AtEnd()) return kEndKinds[state];
    switch (state) {
      case 0:
        return Start();
      case 1:
        if (!IsWhite(Peek())) return kWhiteSpace;
        Consume();
        return std::nullopt;
      case 2:
        return Identifier();
      case 3:
        return Integer();
      case 4:
        if (!IsName(Peek()) && Peek() != ':') return kSymbol;
        Consume();
        return std::nullopt;
      case 5:
        Consume();
        if (IsBinary(Peek())) Consume();
        return kSymbol;
      case 6:
        Consume();
        return kCharacterLiteral;
      case 7:
        return Quoted('"', kComment);
      case 8:
        return Quoted('\'', kStringLiteral);
      case 9:
        Consume();
        return kAssignment;
      case 10:
        return KeywordChain();
      case 11:
        return Fraction();
      case 12:
      case 15:
        return Exponent(state);
      default:
        return RadixDigits(state);
    }
  }

  std::optional<int32_t> Start() {
    Consume();
    s_.tokenStart = s_.scanPosition;
    const unsigned char ch = Current();
    if (IsWhite(ch)) return Switch(1), std::nullopt;
    if (IsNameStart(ch)) return Switch(2), std::nullopt;
    if (IsDigit(ch)) return Switch(3), std::nullopt;
    if (ch == '"') return Switch(7), std::nullopt;
    if (ch == '$') return Switch(6), std::nullopt;
    if (ch == '\'') return Switch(8), std::nullopt;
    if (ch == '#') {
      if (IsNameStart(Peek())) return Switch(4), std::nullopt;
      if (IsBinary(Peek())) return Switch(5), std::nullopt;
      return 35;
    }
    if (ch == '-' && IsDigit(Peek())) return Switch(3), std::nullopt;
    if (ch == ':') {
      if (Peek() == '=') return Switch(9), std::nullopt;
      return 58;
    }
    if (IsBinary(ch)) {
      if (IsBinary(Peek())) {
        Consume();
        return kBinaryPair;
      }
    }
    return CharacterKind(ch);
  }

  std::optional<int32_t> Identifier() {
    const unsigned char p = Peek();
    if (IsName(p)) return Consume(), std::nullopt;
    if (p != ':') return kIdentifier;
    Consume();
    if (AtEnd()) return kKeywordPart;
    const unsigned char q = Peek();
    if (!IsNameStart(q)) {
      if (q == '=') {
        StepBack();
        return kIdentifier;
      }
      return kKeywordPart;
    }
    const TPoint colon = s_.scanPosition;
    unsigned char last;
    do {
      Consume();
      last = Current();
    } while (IsName(last) && !AtEnd());
    s_.scanPosition = colon;
    if (last == ':') return Switch(10), std::nullopt;
    return kKeywordPart;
  }

  std::optional<int32_t> KeywordChain() {
    const unsigned char p = Peek();
    if (IsName(p)) return Consume(), std::nullopt;
    if (p != ':') return kKeywordChainWord;
    Consume();
    if (AtEnd()) return kKeywordChain;
    if (IsLetter(Peek())) return std::nullopt;
    return kKeywordChain;
  }

  std::optional<int32_t> Integer() {
    const unsigned char p = Peek();
    if (IsDigit(p)) return Consume(), std::nullopt;
    if (p == '.') {
      Consume();
      if (!AtEnd() && (IsDigit(Peek()) || Peek() == '-')) return Switch(11), std::nullopt;
      StepBack();
      return kIntegerNumber;
    }
    if (p == 'e' || p == 'E') {
      Consume();
      if (!AtEnd() && IsDigit(Peek())) return Switch(12), std::nullopt;
      return kRealNumberOpen;
    }
    if (p == 'r' || p == 'R') {
      uint32_t value = 0;
      bool negative = false;
      for (TPoint at = s_.tokenStart;; at = Next(at)) {
        if (At(at) == '-') {
          negative = true;
        } else {
          value = value * 10u + static_cast<uint32_t>(At(at) - '0');
        }
        if (at == s_.scanPosition) break;
      }
      const int32_t radix = static_cast<int32_t>(negative ? 0u - value : value);
      s_.radixDigitLimit = static_cast<int32_t>(static_cast<uint32_t>(radix) + 54u);
      if (radix >= 37) return kRadixNumberOpen;
      Consume();
      unsigned char s = 'r';
      if (!AtEnd()) {
        const unsigned char q = Peek();
        s = q;
        if (IsDigit(q) || (IsUpper(q) && q <= s_.radixDigitLimit)) return Switch(14), std::nullopt;
      }
      if (s == '-') return Switch(13), std::nullopt;
      return kRadixNumberOpen;
    }
    return kIntegerNumber;
  }

  std::optional<int32_t> Fraction() {
    const unsigned char p = Peek();
    if (IsDigit(p)) return Consume(), std::nullopt;
    if (p != 'e' && p != 'E') return kRealNumber;
    Consume();
    if (AtEnd()) return kRealNumberOpen;
    if (IsDigit(Peek()) || Peek() == '-') return Switch(12), std::nullopt;
    return kRealNumberOpen;
  }

  std::optional<int32_t> Exponent(int32_t state) {
    const unsigned char p = Peek();
    if (IsDigit(p)) return Consume(), std::nullopt;
    if (p == '-') {
      if (state == 15) return kRealNumberOpen;
      Consume();
      return Switch(15), std::nullopt;
    }
    return kRealNumber;
  }

  std::optional<int32_t> RadixDigits(int32_t state) {
    const unsigned char p = Peek();
    if (IsDigit(p) || (IsUpper(p) && p <= s_.radixDigitLimit)) return Consume(), std::nullopt;
    if (state == 13 && p == '-') return Consume(), std::nullopt;
    if (!IsUpper(p)) return kIntegerNumber;
    return kRadixNumberOpen;
  }

  std::optional<int32_t> Quoted(unsigned char quote, int32_t closedKind) {
    Consume();
    if (Current() == quote) {
      if (Peek() != quote) return closedKind;
      Consume();
    }
    return std::nullopt;
  }

  const std::vector<TRowString>& rows_;
  TScanner& s_;
};

struct Generator {
  explicit Generator(uint32_t seed) : random(seed) {}

  int32_t Below(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(random); }

  std::string Bytes(int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) text += static_cast<char>(Below(256));
    return text;
  }

  // Smalltalk-like text: fragments that exercise every state and every
  // radix that wraps around, joined with LF or CR LF, spaces and tabs.
  std::string Fragments(int32_t count) {
    static const char* const kPieces[] = {
        "x",     "at:",   "put:",  "a:b:c", ":=",    "16r1F", "16r",   "2r",   "-",     "3.14", "1e",  "e-5",
        "2.5e-", ".",     "\"",    "'",     "''",    "$",     "#",     "#(",   "#+",    "#foo:", "+",   "->",
        "<=",    "[:",    "]",     "^",     "self",  "_y",    "Z",     "36rZ", "40r",   "9",     "\xE9", "\xFF",
        "\v",    "\r",    "e",     "E",     "r",     "R",     "-1",    "1-",   "ifTrue:", "1.",  "::",  "==>",
        "4294967312r", "2147483647r", "2147483648r", "4294967296r", "-16r", "37r", "10R", "1e5-", "\f",
    };
    static const char* const kGaps[] = {"", "", "", " ", "\t", "\n", "\r\n", "  ", "\n\n"};
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
      text += kPieces[Below(static_cast<int32_t>(std::size(kPieces)))];
      text += kGaps[Below(static_cast<int32_t>(std::size(kGaps)))];
    }
    return text;
  }

  std::mt19937 random;
};

std::vector<TRowString> RandomRows(Generator& generator) {
  std::vector<TRowString> rows(static_cast<size_t>(generator.Below(4)));
  for (TRowString& row : rows) {
    row.assign(generator.Below(3) == 0 ? generator.Bytes(generator.Below(6))
                                       : generator.Fragments(generator.Below(5)));
  }
  return rows;
}

// Any state at all: positions before, inside and past the rows, any end.
TScanner RandomState(Generator& generator, const std::vector<TRowString>& rows) {
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  const auto point = [&] {
    const int32_t row = generator.Below(rowCount + 4) - 2;
    const int32_t length = row >= 0 && row < rowCount ? rows[row].size() : 0;
    return TPoint{generator.Below(length + 5) - 2, row};
  };
  TScanner scanner;
  scanner.scanState = generator.Below(16);
  scanner.endOfText = generator.Below(3) == 0 ? EndOfTextFor(rows) : point();
  scanner.scanPosition = point();
  scanner.tokenStart = point();
  scanner.radixDigitLimit = generator.Below(200) - 50;
  return scanner;
}

bool SameState(const TScanner& a, const TScanner& b) {
  return a.scanState == b.scanState && a.endOfText == b.endOfText && a.scanPosition == b.scanPosition &&
         a.tokenStart == b.tokenStart && a.radixDigitLimit == b.radixDigitLimit;
}

std::string Show(const std::vector<TRowString>& rows, const TScanner& s) {
  std::ostringstream out;
  for (const TRowString& row : rows) out << '[' << row.view() << "] ";
  out << "state " << s.scanState << " end (" << s.endOfText.column << ',' << s.endOfText.row << ") at ("
      << s.scanPosition.column << ',' << s.scanPosition.row << ')';
  return out.str();
}

// Single tokens from random states, then whole texts token by token, to
// their end: generated text, random bytes and the corpus.
TEST(ScanPropertyTest, MatchesTheStepModel) {
  Generator generator(20240611);
  for (int i = 0; i < 100000; ++i) {
    const std::vector<TRowString> rows = RandomRows(generator);
    TScanner fast = RandomState(generator, rows);
    TScanner model = fast;
    const std::string before = Show(rows, fast);
    ASSERT_EQ(ModelScanner(rows, model).ScanToken(), ScanToken(rows, fast)) << before;
    ASSERT_TRUE(SameState(model, fast)) << before << " model ends at (" << model.scanPosition.column << ','
                                        << model.scanPosition.row << ") fast at (" << fast.scanPosition.column << ','
                                        << fast.scanPosition.row << ')';
  }
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) texts.push_back(generator.Fragments(generator.Below(40)));
  for (int i = 0; i < 1000; ++i) texts.push_back(generator.Bytes(generator.Below(80)));
  for (const auto& path : testing::CorpusFiles()) texts.push_back(testing::ReadFile(path));
  for (const std::string& text : texts) {
    const std::vector<TRowString> rows = RowsFromText(text);
    TScanner fast = ScannerAtTextStart(rows);
    TScanner model = fast;
    while (!ScanAtEnd(fast)) {
      ASSERT_EQ(ModelScanner(rows, model).ScanToken(), ScanToken(rows, fast)) << Show(rows, fast);
      ASSERT_TRUE(SameState(model, fast)) << Show(rows, fast);
    }
  }
}

// Under the sanitizers this shows that no state, however absurd, makes the
// scanner read outside the rows or overflow; it answers in one step.
TEST(ScanPropertyTest, SurvivesExtremeStates) {
  const std::vector<TRowString> rows = RowsFromText("ab: 16r1F\n\n'x");
  const std::vector<TRowString> noRows;
  const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -2, -1, 0, 1, 2, 3, 9, 10, INT32_MAX - 1, INT32_MAX};
  for (const std::vector<TRowString>* text : {&rows, &noRows}) {
    for (int32_t column : values) {
      for (int32_t row : values) {
        for (const TPoint end : {TPoint{column, row}, TPoint{2, 2}, TPoint{INT32_MAX, INT32_MAX}}) {
          TScanner scanner;
          scanner.scanPosition = {column, row};
          scanner.endOfText = end;
          scanner.tokenStart = {row, column};
          ScanToken(*text, scanner);
          std::string scratch;
          SpanText(*text, scanner.tokenStart, scanner.scanPosition, scratch);
        }
      }
    }
  }
}

// ScanTokens is ScanToken called again and again: from any state, in
// batches of any size, it cuts the same tokens and leaves the same state.
TEST(ScanPropertyTest, BatchesCutWhatSingleCallsCut) {
  Generator generator(31);
  for (int i = 0; i < 20000; ++i) {
    const std::vector<TRowString> rows =
        i % 2 == 0 ? RandomRows(generator) : RowsFromText(generator.Fragments(generator.Below(40)));
    TScanner single = i % 4 < 2 ? RandomState(generator, rows) : ScannerAtTextStart(rows);
    TScanner batched = single;
    std::vector<TScannedToken> batch(static_cast<size_t>(1 + generator.Below(6)));
    const std::string before = Show(rows, single);
    for (int round = 0; round < 8; ++round) {
      const int32_t count = ScanTokens(rows, batched, batch);
      for (int32_t t = 0; t < count; ++t) {
        const int32_t kind = ScanToken(rows, single);
        const TScannedToken& token = batch[static_cast<size_t>(t)];
        ASSERT_EQ(token.kind, kind) << before;
        ASSERT_EQ(token.start, single.tokenStart) << before;
        ASSERT_EQ(token.end, single.scanPosition) << before;
      }
      ASSERT_TRUE(SameState(batched, single)) << before;
      if (static_cast<size_t>(count) < batch.size()) {
        // The scan has ended: at endOfText, or at the clamp point before it.
        const TPoint ended = single.scanPosition;
        ASSERT_EQ(ScanToken(rows, single), kIncompleteToken) << before;
        ASSERT_EQ(single.scanPosition, ended) << before;
        break;
      }
    }
  }
}

// Spans within one row view the row; others are built, line ends as CR LF,
// and cut to kMaxTokenText. A comment longer than the cut keeps its real end.
TEST(SpanTextTest, ViewsOneRowAndBuildsOrCutsTheRest) {
  std::vector<TRowString> rows = RowsFromText("abc\n\nde");
  std::string scratch;
  const std::string_view inRow = SpanText(rows, {1, 0}, {2, 0}, scratch);
  EXPECT_EQ(rows[0].data() + 1, inRow.data());
  EXPECT_EQ("c\r\n\r\nd", SpanText(rows, {2, 0}, {0, 2}, scratch));
  EXPECT_EQ("", SpanText(rows, {1, 2}, {0, 2}, scratch));
  EXPECT_EQ("de\r\n", SpanText(rows, {0, 2}, {1, 9}, scratch));  // rows past the last give nothing
  const std::string longRow(40000, 'x');
  rows = RowsFromText(longRow + "\n" + longRow);
  EXPECT_EQ(static_cast<size_t>(kMaxTokenText), SpanText(rows, {0, 0}, {39999, 0}, scratch).size());
  const std::string_view overRows = SpanText(rows, {39990, 0}, {39999, 1}, scratch);
  ASSERT_EQ(static_cast<size_t>(kMaxTokenText), overRows.size());
  EXPECT_EQ("xxxxxxxxxx\r\nxx", overRows.substr(0, 14));
  rows = RowsFromText("\"" + longRow + "\" x");
  TScanner scanner = ScannerAtTextStart(rows);
  EXPECT_EQ(kComment, ScanToken(rows, scanner));
  EXPECT_EQ((TPoint{40001, 0}), scanner.scanPosition);
}

}  // namespace
}  // namespace weft
