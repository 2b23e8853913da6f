#include "lex/scanner.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <span>

namespace weft {

namespace {

enum TState : int32_t {
  kStart = 0,
  kInWhiteSpace = 1,
  kInIdentifier = 2,
  kInInteger = 3,
  kInSymbolName = 4,
  kInBinarySymbol = 5,
  kAfterDollar = 6,
  kInComment = 7,
  kInString = 8,
  kAfterColon = 9,
  kInKeywordChain = 10,
  kInFraction = 11,
  kInExponent = 12,
  kInRadixDigitsSigned = 13,
  kInRadixDigits = 14,
  kInExponentSigned = 15,
};

enum TCharacterClass : uint8_t {
  kLetter = 1,
  kUpper = 2,
  kDigit = 4,
  kUnderscore = 8,
  kWhite = 16,
  kBinary = 32,
};

constexpr std::array<uint8_t, 256> kClasses = [] {
  std::array<uint8_t, 256> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kLetter;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kLetter | kUpper;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kDigit;
  classes['_'] = kUnderscore;
  for (unsigned char c : std::string_view("\t\n\f\r ")) classes[c] = kWhite;
  for (unsigned char c : std::string_view("!%&*+,-/<=>?@\\|~")) classes[c] = kBinary;
  return classes;
}();

// What the Start state does with a token's first character.
enum TStartAction : uint8_t {
  kOther,
  kWhiteStart,
  kNameStart,
  kDigitStart,
  kDoubleQuoteStart,
  kQuoteStart,
  kDollarStart,
  kHashStart,
  kMinusStart,
  kColonStart,
  kBinaryStart,
};

constexpr std::array<TStartAction, 256> kStartActions = [] {
  std::array<TStartAction, 256> actions{};
  for (int c = 0; c < 256; ++c) {
    const uint8_t classes = kClasses[c];
    if (classes & kWhite) actions[c] = kWhiteStart;
    if (classes & (kLetter | kUnderscore)) actions[c] = kNameStart;
    if (classes & kDigit) actions[c] = kDigitStart;
    if (classes & kBinary) actions[c] = kBinaryStart;
  }
  actions['"'] = kDoubleQuoteStart;
  actions['\''] = kQuoteStart;
  actions['$'] = kDollarStart;
  actions['#'] = kHashStart;
  actions['-'] = kMinusStart;
  actions[':'] = kColonStart;
  return actions;
}();

bool Is(unsigned char c, uint8_t classes) { return (kClasses[c] & classes) != 0; }
bool IsName(unsigned char c) { return Is(c, kLetter | kDigit | kUnderscore); }
bool IsNameStart(unsigned char c) { return Is(c, kLetter | kUnderscore); }
bool IsDigit(unsigned char c) { return Is(c, kDigit); }
bool IsWhite(unsigned char c) { return Is(c, kWhite); }
bool IsBinary(unsigned char c) { return Is(c, kBinary); }
bool IsUpper(unsigned char c) { return Is(c, kUpper); }
bool IsNameOrColon(unsigned char c) { return IsName(c) || c == ':'; }

// One ScanToken call. It keeps the position unpacked, with the current row's
// bytes at hand, so that runs inside a row are plain loops over the bytes.
//
// Invariant outside the Start state: the position lies on a row, at a column
// from 0 to the row's length, since only such positions read as a character
// that leads anywhere but a one-character token.
class TScan {
 public:
  TScan(TRowsView rows, TScanner& scanner) : rows_(rows), scanner_(scanner) {
    const int32_t rowCount = static_cast<int32_t>(rows.size());
    if (rowCount > 0) clamp_ = {rows.back().size(), rowCount - 1};
    end_ = std::min(scanner.endOfText, clamp_);
    column_ = scanner.scanPosition.column;
    EnterRow(scanner.scanPosition.row);
  }

  int32_t Run() {
    state_ = kStart;
    const int32_t kind = AtEnd() ? kIncompleteToken : StartToken();
    scanner_.scanPosition = {column_, row_};
    scanner_.scanState = state_;
    return kind;
  }

  // Run, once per token, without leaving the current row between tokens.
  int32_t RunMany(std::span<TScannedToken> tokens) {
    size_t count = 0;
    for (; count < tokens.size() && !AtEnd(); ++count) {
      state_ = kStart;
      const int32_t kind = StartToken();
      tokens[count] = {kind, scanner_.tokenStart, {column_, row_}};
    }
    scanner_.scanPosition = {column_, row_};
    if (count > 0) scanner_.scanState = state_;
    return static_cast<int32_t>(count);
  }

 private:
  void EnterRow(int32_t row) {
    row_ = row;
    if (row >= 0 && row < static_cast<int32_t>(rows_.size())) {
      text_ = reinterpret_cast<const unsigned char*>(rows_[row].data());
      length_ = rows_[row].size();
    } else {
      text_ = nullptr;
      length_ = 0;
    }
    endColumn_ = row < end_.row ? INT32_MAX : row == end_.row ? end_.column : INT32_MIN;
    runLimit_ = std::min(length_ - 1, endColumn_);
  }

  bool AtEnd() const { return column_ >= endColumn_; }

  unsigned char CharAt(int32_t column) const {
    if (text_ == nullptr || column < 0) return 0;
    return column < length_ ? text_[column] : '\n';
  }
  unsigned char Current() const { return CharAt(column_); }

  bool AtClamp() const { return column_ == clamp_.column && row_ == clamp_.row; }

  unsigned char Peek() const {
    if (column_ < length_) return CharAt(column_ + 1);
    if (AtClamp()) return Current();
    const int32_t next = row_ + 1;
    if (next < 0 || next >= static_cast<int32_t>(rows_.size())) return 0;
    return rows_[next].empty() ? '\n' : rows_[next][0];
  }

  void Consume() {
    if (column_ < length_) {
      ++column_;
    } else if (!AtClamp()) {
      EnterRow(row_ + 1);
      column_ = 0;
    }
  }

  void StepBack() {
    if (column_ > 0) {
      --column_;
    } else if (row_ != 0) {
      EnterRow(row_ - 1);
      column_ = length_;
    }
  }

  // Consumes, inside the current row and up to the end of the scan, every
  // following character for which `accept` holds. Each of these steps is one
  // the state machine would take too: not at end, and the peeked character
  // accepted.
  template <typename Accept>
  void ConsumeRun(Accept accept) {
    int32_t column = column_;
    while (column < runLimit_ && accept(text_[column + 1])) ++column;
    column_ = column;
  }

  // Reads the character after the position into `next`, or answers false
  // when the scan is at end. Inside the run limit that is one comparison.
  bool PeekUnlessAtEnd(unsigned char& next) const {
    if (column_ < runLimit_) {
      next = text_[column_ + 1];
      return true;
    }
    if (AtEnd()) return false;
    next = Peek();
    return true;
  }

  int32_t StartToken() {
    unsigned char ch;
    if (static_cast<uint32_t>(column_) + 1u < static_cast<uint32_t>(length_)) {
      ch = text_[++column_];  // the common case: the next byte of this row
    } else {
      Consume();
      ch = Current();
    }
    scanner_.tokenStart = {column_, row_};
    switch (kStartActions[ch]) {
      case kWhiteStart:
        return WhiteSpace();
      case kNameStart:
        return Identifier();
      case kDigitStart:
        return Integer();
      case kDoubleQuoteStart:
        return Quoted('"', kInComment, kCommentOpen, kComment);
      case kQuoteStart:
        return Quoted('\'', kInString, kStringOpen, kStringLiteral);
      case kDollarStart:
        return AfterDollar();
      case kHashStart: {
        const unsigned char next = Peek();
        if (IsNameStart(next)) return SymbolName();
        if (IsBinary(next)) return BinarySymbol();
        return CharacterKind(ch);
      }
      case kMinusStart:
        if (IsDigit(Peek())) return Integer();
        return BinaryCharacter(ch);
      case kColonStart:
        if (Peek() == '=') return AfterColon();
        return CharacterKind(ch);
      case kBinaryStart:
        return BinaryCharacter(ch);
      case kOther:
        break;
    }
    return CharacterKind(ch);
  }

  int32_t BinaryCharacter(unsigned char ch) {
    if (!IsBinary(Peek())) return CharacterKind(ch);
    Consume();
    return kBinaryPair;
  }

  // The loop every run state shares: consumes characters while `accept`
  // holds, across row ends, and answers the first character it refuses (not
  // consumed), or kAtEnd when the scan ends first.
  static constexpr int32_t kAtEnd = -1;
  template <typename Accept>
  int32_t TakeWhile(Accept accept) {
    for (;;) {
      ConsumeRun(accept);
      unsigned char next;
      if (!PeekUnlessAtEnd(next)) return kAtEnd;
      if (!accept(next)) return next;
      Consume();
    }
  }

  // Takes characters while `accept` holds and answers `kind`.
  template <typename Accept>
  int32_t Run(int32_t state, Accept accept, int32_t kind) {
    state_ = state;
    TakeWhile(accept);
    return kind;
  }

  int32_t WhiteSpace() { return Run(kInWhiteSpace, IsWhite, kWhiteSpace); }

  int32_t Identifier() {
    state_ = kInIdentifier;
    if (TakeWhile(IsName) != ':') return kIdentifier;
    Consume();
    if (AtEnd()) return kKeywordPart;
    const unsigned char afterColon = Peek();
    if (!IsNameStart(afterColon)) {
      if (afterColon != '=') return kKeywordPart;
      StepBack();  // the colon starts ":="
      return kIdentifier;
    }
    return WordAfterColonEndsInColon() ? KeywordChain() : kKeywordPart;
  }

  // The look-ahead from the colon of "name:" over the word after it: true when
  // that word is directly followed by another colon. The word starts inside
  // the row, so it ends there too, at the latest on the line end.
  bool WordAfterColonEndsInColon() const {
    int32_t column = column_ + 1;
    while (column < length_ && column < endColumn_ && IsName(text_[column])) ++column;
    return CharAt(column) == ':';
  }

  int32_t KeywordChain() {
    state_ = kInKeywordChain;
    for (;;) {
      const int32_t next = TakeWhile(IsName);
      if (next == kAtEnd) return kKeywordChainAtEnd;
      if (next != ':') return kKeywordChainWord;
      Consume();
      if (AtEnd() || !Is(Peek(), kLetter)) return kKeywordChain;
    }
  }

  int32_t Integer() {
    state_ = kInInteger;
    const int32_t next = TakeWhile(IsDigit);
    if (next == '.') {
      Consume();
      if (!AtEnd()) {
        const unsigned char afterDot = Peek();
        if (IsDigit(afterDot) || afterDot == '-') return Fraction();
      }
      StepBack();  // the '.' is a token of its own
      return kIntegerNumber;
    }
    if (next == 'e' || next == 'E') {
      Consume();
      if (!AtEnd() && IsDigit(Peek())) return Exponent();
      return kRealNumberOpen;
    }
    if (next == 'r' || next == 'R') return Radix();
    return kIntegerNumber;
  }

  // The digits so far, with an optional leading '-', read as a 32-bit signed
  // number that wraps around like 32-bit arithmetic. They lie on this row.
  int32_t RadixValue() const {
    uint32_t value = 0;
    bool negative = false;
    for (int32_t column = scanner_.tokenStart.column; column <= column_; ++column) {
      const unsigned char c = text_[column];
      if (c == '-') {
        negative = true;
      } else {
        value = value * 10u + static_cast<uint32_t>(c - '0');
      }
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
  }

  bool IsRadixLetter(unsigned char c) const { return IsUpper(c) && c <= scanner_.radixDigitLimit; }

  int32_t Radix() {
    const int32_t radix = RadixValue();
    scanner_.radixDigitLimit = static_cast<int32_t>(static_cast<uint32_t>(radix) + 54u);
    if (radix >= 37) return kRadixNumberOpen;  // the digits alone; the 'r' is not taken
    Consume();
    unsigned char next = 'r';
    if (!AtEnd()) {
      next = Peek();
      if (IsDigit(next) || IsRadixLetter(next)) return RadixDigits(kInRadixDigits);
    }
    if (next == '-') return RadixDigits(kInRadixDigitsSigned);
    return kRadixNumberOpen;
  }

  int32_t RadixDigits(TState state) {
    state_ = state;
    const bool takesMinus = state == kInRadixDigitsSigned;
    const auto accepted = [&](unsigned char c) {
      return IsDigit(c) || IsRadixLetter(c) || (takesMinus && c == '-');
    };
    const int32_t next = TakeWhile(accepted);
    return next != kAtEnd && IsUpper(static_cast<unsigned char>(next)) ? kRadixNumberOpen : kIntegerNumber;
  }

  int32_t Fraction() {
    state_ = kInFraction;
    const int32_t next = TakeWhile(IsDigit);
    if (next != 'e' && next != 'E') return kRealNumber;
    Consume();
    if (AtEnd()) return kRealNumberOpen;
    const unsigned char afterE = Peek();
    if (IsDigit(afterE) || afterE == '-') return Exponent();
    return kRealNumberOpen;
  }

  int32_t Exponent() {
    state_ = kInExponent;
    for (;;) {
      if (TakeWhile(IsDigit) != '-') return kRealNumber;
      if (state_ == kInExponentSigned) return kRealNumberOpen;  // ends before the second '-'
      Consume();
      state_ = kInExponentSigned;
    }
  }

  int32_t SymbolName() { return Run(kInSymbolName, IsNameOrColon, kSymbol); }

  // No end check: the binary characters after '#' are taken even past the end.
  int32_t BinarySymbol() {
    state_ = kInBinarySymbol;
    Consume();
    if (IsBinary(Peek())) Consume();
    return kSymbol;
  }

  int32_t AfterDollar() {
    state_ = kAfterDollar;
    if (AtEnd()) return kIncompleteToken;
    Consume();  // any character, a line end included
    return kCharacterLiteral;
  }

  int32_t AfterColon() {
    state_ = kAfterColon;
    if (AtEnd()) return kIncompleteToken;
    Consume();
    return kAssignment;
  }

  // A comment or a string: everything up to a closing quote, a doubled quote
  // standing for one.
  int32_t Quoted(unsigned char quote, TState state, int32_t openKind, int32_t closedKind) {
    state_ = state;
    for (;;) {
      if (column_ < runLimit_) {
        const auto* hit = static_cast<const unsigned char*>(
            std::memchr(text_ + column_ + 1, quote, static_cast<size_t>(runLimit_ - column_)));
        if (hit == nullptr) {
          column_ = runLimit_;
        } else {
          column_ = static_cast<int32_t>(hit - text_);
          if (Peek() != quote) return closedKind;
          Consume();
          continue;
        }
      }
      if (AtEnd()) return openKind;
      Consume();
      if (Current() == quote) {
        if (Peek() != quote) return closedKind;
        Consume();
      }
    }
  }

  TRowsView rows_;
  TScanner& scanner_;
  TPoint clamp_;
  TPoint end_;  // endOfText, or the clamp point if that comes first
  int32_t state_ = kStart;
  int32_t column_ = 0;
  int32_t row_ = 0;
  // The current row: its bytes (nullptr outside the rows), its length, the
  // first column at which the scan is at end, and the last column that a run
  // inside the row may consume.
  const unsigned char* text_ = nullptr;
  int32_t length_ = 0;
  int32_t endColumn_ = 0;
  int32_t runLimit_ = 0;
};

}  // namespace

// Flattened so that every state is inlined and the TScan object never has its
// address taken: its members then live in registers, which makes the scanner
// about half again as fast.
[[gnu::flatten]] int32_t ScanToken(TRowsView rows, TScanner& scanner) {
  return TScan(rows, scanner).Run();
}

[[gnu::flatten]] int32_t ScanTokens(TRowsView rows, TScanner& scanner, std::span<TScannedToken> tokens) {
  return TScan(rows, scanner).RunMany(tokens);
}

std::string_view SpanTextAnywhere(TRowsView rows, TPoint from, TPoint to, std::string& scratch) {
  constexpr size_t kMaxText = kMaxTokenText;
  scratch.clear();
  ForEachSpanPiece(rows, from, to, [&](const char* characters, int32_t count) {
    scratch.append(characters, std::min(static_cast<size_t>(count), kMaxText - scratch.size()));
    return scratch.size() < kMaxText;
  });
  return scratch;
}

}  // namespace weft
