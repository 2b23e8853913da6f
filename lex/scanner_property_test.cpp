// Properties of the scanner on real and generated text, and a differential
// test against a step-by-step model of the state machine that reads every
// character through the position rules alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "lex/scanner.h"
#include "lex/scanner_testing.h"
#include "lex/token.h"

namespace weft {
namespace {

using testing::RowsFromText;
using testing::ScannedText;
using testing::ScannedToken;

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
  ModelScanner(const std::vector<str>& rows, TScanner& scanner) : rows_(rows), s_(scanner) {}

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

  const std::vector<str>& rows_;
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

  // Smalltalk-like text: fragments that exercise every state, joined with
  // LF or CR LF, spaces and tabs.
  std::string Fragments(int32_t count) {
    static const char* const kPieces[] = {
        "x",     "at:",   "put:",  "a:b:c", ":=",    "16r1F", "16r",   "2r",   "-",     "3.14", "1e",  "e-5",
        "2.5e-", ".",     "\"",    "'",     "''",    "$",     "#",     "#(",   "#+",    "#foo:", "+",   "->",
        "<=",    "[:",    "]",     "^",     "self",  "_y",    "Z",     "36rZ", "40r",   "9",     "\xE9", "\xFF",
        "\v",    "\r",    "e",     "E",     "r",     "R",     "-1",    "1-",   "ifTrue:", "1.",  "::",  "==>",
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

void CheckFullScan(const std::vector<str>& rows, const std::string& label) {
  TScanner scanner = testing::ScannerAtTextStart(rows);
  TScanner modelState = scanner;
  const ModelScanner model(rows, modelState);
  std::string joined;
  std::string scratch;
  TPoint expectedStart = model.Next(scanner.scanPosition);
  bool textCut = false;
  while (!ScanAtEnd(scanner)) {
    const TPoint before = scanner.scanPosition;
    const int32_t kind = ScanToken(rows, scanner);
    ASSERT_LT(before, scanner.scanPosition) << label << ": the scanner did not advance";
    ASSERT_EQ(expectedStart, scanner.tokenStart) << label << ": gap or overlap before a " << kind;
    ASSERT_LE(scanner.tokenStart, scanner.scanPosition) << label;
    const std::string_view text = SpanText(rows, scanner.tokenStart, scanner.scanPosition, scratch);
    textCut = textCut || text.size() == static_cast<size_t>(kMaxTokenText);
    joined += text;
    expectedStart = model.Next(scanner.scanPosition);
  }
  EXPECT_EQ(scanner.endOfText, scanner.scanPosition) << label << ": the scan stopped elsewhere";
  if (!textCut) {
    EXPECT_TRUE(joined == ScannedText(rows)) << label << ": the token texts do not rebuild the text";
  }
}

std::vector<str> RandomRows(Generator& generator) {
  std::vector<str> rows(static_cast<size_t>(generator.Below(4)));
  for (str& row : rows) {
    row.assign(generator.Below(3) == 0 ? generator.Bytes(generator.Below(6))
                                       : generator.Fragments(generator.Below(5)));
  }
  return rows;
}

// Any state at all: positions before, inside and past the rows, any end.
TScanner RandomState(Generator& generator, const std::vector<str>& rows) {
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  const auto point = [&] {
    const int32_t row = generator.Below(rowCount + 4) - 2;
    const int32_t length = row >= 0 && row < rowCount ? rows[row].size() : 0;
    return TPoint{generator.Below(length + 5) - 2, row};
  };
  TScanner scanner;
  scanner.scanState = generator.Below(16);
  scanner.endOfText = generator.Below(3) == 0 ? testing::EndOfTextFor(rows) : point();
  scanner.scanPosition = point();
  scanner.tokenStart = point();
  scanner.radixDigitLimit = generator.Below(200) - 50;
  return scanner;
}

bool SameState(const TScanner& a, const TScanner& b) {
  return a.scanState == b.scanState && a.endOfText == b.endOfText && a.scanPosition == b.scanPosition &&
         a.tokenStart == b.tokenStart && a.radixDigitLimit == b.radixDigitLimit;
}

std::string Show(const std::vector<str>& rows, const TScanner& s) {
  std::ostringstream out;
  for (const str& row : rows) out << '[' << row.view() << "] ";
  out << "state " << s.scanState << " end (" << s.endOfText.column << ',' << s.endOfText.row << ") at ("
      << s.scanPosition.column << ',' << s.scanPosition.row << ')';
  return out.str();
}

TEST(ScanPropertyTest, MatchesTheStepModelFromAnyState) {
  Generator generator(20240611);
  for (int i = 0; i < 100000; ++i) {
    const std::vector<str> rows = RandomRows(generator);
    TScanner fast = RandomState(generator, rows);
    TScanner model = fast;
    const std::string before = Show(rows, fast);
    const int32_t fastKind = ScanToken(rows, fast);
    const int32_t modelKind = ModelScanner(rows, model).ScanToken();
    ASSERT_EQ(modelKind, fastKind) << before;
    ASSERT_TRUE(SameState(model, fast)) << before << " model ends at (" << model.scanPosition.column << ','
                                        << model.scanPosition.row << ") fast at (" << fast.scanPosition.column << ','
                                        << fast.scanPosition.row << ')';
  }
}

// Under the sanitizers this shows that no state, however absurd, makes the
// scanner read outside the rows or overflow; it answers in one step.
TEST(ScanPropertyTest, SurvivesExtremeStates) {
  const std::vector<str> rows = RowsFromText("ab: 16r1F\n\n'x");
  const std::vector<str> noRows;
  const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -2, -1, 0, 1, 2, 3, 9, 10, INT32_MAX - 1, INT32_MAX};
  for (const std::vector<str>* text : {&rows, &noRows}) {
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

TEST(ScanPropertyTest, MatchesTheStepModelOverWholeTexts) {
  Generator generator(7);
  for (int i = 0; i < 3000; ++i) {
    const std::vector<str> rows = RowsFromText(generator.Fragments(generator.Below(40)));
    TScanner fast = testing::ScannerAtTextStart(rows);
    TScanner model = fast;
    while (!ScanAtEnd(fast)) {
      const int32_t fastKind = ScanToken(rows, fast);
      ASSERT_EQ(ModelScanner(rows, model).ScanToken(), fastKind) << Show(rows, fast);
      ASSERT_TRUE(SameState(model, fast)) << Show(rows, fast);
    }
  }
}

// ScanTokens is ScanToken called again and again: from any state, in
// batches of any size, it cuts the same tokens and leaves the same state.
TEST(ScanPropertyTest, BatchesCutWhatSingleCallsCut) {
  Generator generator(31);
  for (int i = 0; i < 20000; ++i) {
    const std::vector<str> rows =
        i % 2 == 0 ? RandomRows(generator) : RowsFromText(generator.Fragments(generator.Below(40)));
    TScanner single = i % 4 < 2 ? RandomState(generator, rows) : testing::ScannerAtTextStart(rows);
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

TEST(ScanPropertyTest, TokensTileGeneratedText) {
  Generator generator(99);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = i % 2 == 0 ? generator.Fragments(generator.Below(60)) : generator.Bytes(generator.Below(80));
    CheckFullScan(RowsFromText(text), "generated text " + std::to_string(i));
    if (HasFatalFailure()) return;
  }
}

TEST(ScanPropertyTest, TokensTileTheCorpus) {
  const std::filesystem::path corpus = WEFT_CORPUS_DIR;
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.path().filename() == "MANIFEST.txt") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CheckFullScan(RowsFromText(text), entry.path().filename().string());
    if (HasFatalFailure()) return;
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace weft
