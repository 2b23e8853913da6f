// TTokenList: the tokens that start on one row, in text order, with their
// texts.
//
// The tokens of a row tile it: each ends just before the next one starts, on
// the same row, so a token's end is the next one's start and only the last
// token's end and row span are stored. That leaves 6 bytes a token: its start
// column and its kind.
//
// Tokens and texts share one heap block: the last token's end and row span,
// the start columns, the kinds, then a character arena in which every text is
// stored NUL-terminated, one after the other. A text takes as many bytes as
// its token's span plus the NUL (a text cut to kMaxTokenText leaves the rest
// of them unused), so token i's text starts (start of i - start of 0 + i)
// bytes in, and finding it costs no lookup.
//
// A list is written whole, into a block of exactly its size, and never grows:
// an empty list owns no block, and moving a list moves only the block
// pointer (text pointers survive). The block may instead be a piece lent by
// an arena (see TArena), used the same way but never freed. A text stays
// valid until the list is next assigned or cleared. A list costs 24 bytes
// (16 with 32-bit pointers) besides its block.
#ifndef WEFT_LEX_TOKEN_LIST_H_
#define WEFT_LEX_TOKEN_LIST_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "lex/scanner.h"
#include "lex/token.h"
#include "base/arena.h"

namespace weft {

// The tokens of one row as a scan cuts them, gathered to be written into a
// TTokenList: since they tile the row, only each one's start and kind are
// kept, and the last one whole. A long row's staging is fresh memory, paid
// for a page at a time, so it is kept small (8 bytes a token) and is best
// made room for once, before the row's first token.
class TRowTokens {
 public:
  struct TStartAndKind {
    int32_t start;
    int32_t kind;
  };

  // Makes room for `count` tokens.
  void reserve(int32_t count) { tokens_.reserve(static_cast<size_t>(count)); }
  void Add(const TScannedToken& token) {
    tokens_.push_back({token.start.column, token.kind});
    last_ = token;
  }
  void clear() { tokens_.clear(); }
  bool empty() const { return tokens_.empty(); }
  std::span<const TStartAndKind> tokens() const { return tokens_; }
  // The token added last; only while not empty.
  const TScannedToken& last() const { return last_; }

 private:
  std::vector<TStartAndKind> tokens_;
  TScannedToken last_{};
};

// A token and its text, read together.
struct TTokenWithText {
  TToken token;
  std::string_view text;
};

class TTokenList {
 public:
  TTokenList() = default;
  TTokenList(const TTokenList& other);
  TTokenList& operator=(const TTokenList& other) { return Assign(other, nullptr); }
  // Copies `other` into a new block: a piece of `arena`, or of the heap when
  // null.
  TTokenList& Assign(const TTokenList& other, TArena* arena);
  // Inline: inserting or removing rows moves every later row's list.
  TTokenList(TTokenList&& other) noexcept { Take(other); }
  TTokenList& operator=(TTokenList&& other) noexcept {
    if (this != &other) {
      FreeOwnBlock();
      Take(other);
    }
    return *this;
  }
  ~TTokenList() { FreeOwnBlock(); }

  int32_t count() const { return count_; }
  bool empty() const { return count_ == 0; }

  // Token i with its text. The end and row span come from the next token's
  // start where one follows, and the text starts (start of i - start of 0 +
  // i) bytes into the character arena. The text is NUL-terminated and may
  // itself hold NUL bytes (rows can), so its size, not strlen, gives its
  // length.
  TTokenWithText WithText(int32_t i) const {
    const int32_t start = starts()[i];
    const int32_t offset = TextOffset(i);
    const char* text = chars() + offset;
    const int32_t kind = kinds()[i];
    if (i + 1 < count_) {
      const int32_t next = starts()[i + 1];
      return {{start, next - 1, 0, kind}, {text, static_cast<size_t>(std::min(next - start, kMaxTokenText))}};
    }
    return {{start, lastEnd()[kEndColumn], lastEnd()[kRowSpan], kind},
            {text, static_cast<size_t>(charCount_ - offset - 1)}};
  }
  TToken at(int32_t i) const { return WithText(i).token; }
  int32_t StartColumn(int32_t i) const { return starts()[i]; }
  std::string_view TextView(int32_t i) const { return WithText(i).text; }
  int32_t TextLength(int32_t i) const { return static_cast<int32_t>(TextView(i).size()); }

  // The index of the first token that starts after `column`, by binary
  // search (a row's tokens lie in column order); count() when none does.
  int32_t FirstStartingAfter(int32_t column) const {
    if (count_ == 0) return 0;
    return static_cast<int32_t>(std::upper_bound(starts(), starts() + count_, column) - starts());
  }

  // Replaces the list with `tokens`, which start on one row of `rows` and
  // tile it, each with its text as SpanText gives it. Only the last token may
  // reach the row's line end or run over rows; every other token's text is
  // its span's bytes of the row. Writes every text once, into a new block: a
  // piece of `arena`, or of the heap when null.
  void AssignTiling(const TRowTokens& tokens, TRowsView rows, TArena* arena);

  // This list with tokens `first` up to `end` (exclusive) replaced by
  // `middle`, tokens of `rows` that AssignTiling would take, and the tokens
  // from `end` on moved `shift` columns along (their ends too where they end
  // on the same row), in a heap block. Costs a copy of the list, not a token
  // at a time; the middle's texts are read from the rows straight into it.
  // Needs 0 <= first < end <= count(), and `middle` (not empty) to tile the
  // replaced span, which for first = 0 may start at another column.
  TTokenList Spliced(int32_t first, int32_t end, const TRowTokens& middle, TRowsView rows, int32_t shift) const;

  // Drops every token and frees the storage.
  void clear();

  // Bytes of its block, whether its own or lent.
  size_t HeapBytes() const;

 private:
  // The block's first two numbers: the last token's end column and row span.
  static constexpr int32_t kEndColumn = 0;
  static constexpr int32_t kRowSpan = 1;
  static constexpr size_t kHeaderBytes = 2 * sizeof(int32_t);
  static constexpr size_t kBytesPerToken = sizeof(int32_t) + sizeof(int16_t);

  static size_t BlockBytes(int32_t count, int32_t charCount) {
    return kHeaderBytes + kBytesPerToken * static_cast<size_t>(count) + static_cast<size_t>(charCount);
  }

  int32_t* lastEnd() const { return reinterpret_cast<int32_t*>(block_); }
  int32_t* starts() const { return reinterpret_cast<int32_t*>(block_ + kHeaderBytes); }
  int16_t* kinds() const { return reinterpret_cast<int16_t*>(starts() + count_); }
  char* chars() const { return reinterpret_cast<char*>(kinds() + count_); }

  int32_t TextOffset(int32_t i) const { return starts()[i] - starts()[0] + i; }
  // Characters from token `first`'s text up to the NUL of token end - 1's.
  int32_t CharsOf(int32_t first, int32_t end) const {
    return end > first ? TextOffset(end - 1) + TextLength(end - 1) + 1 - TextOffset(first) : 0;
  }
  void FreeOwnBlock() const {
    if (block_ != nullptr && !lent_) std::free(block_);
  }
  void Take(TTokenList& other) {
    block_ = std::exchange(other.block_, nullptr);
    count_ = std::exchange(other.count_, 0);
    charCount_ = std::exchange(other.charCount_, 0);
    lent_ = std::exchange(other.lent_, false);
  }
  // Drops every token and takes a block for `count` tokens and `charCount`
  // characters, from `arena` or, when null, the heap, for the caller to fill.
  void TakeNewBlock(int32_t count, int32_t charCount, TArena* arena = nullptr);

  char* block_ = nullptr;
  int32_t count_ = 0;
  int32_t charCount_ = 0;
  bool lent_ = false;  // the block is a piece of an arena
};

}  // namespace weft

#endif  // WEFT_LEX_TOKEN_LIST_H_
