// TTokenList: the tokens that start on one row, in text order, with their
// texts.
//
// Tokens and texts share one heap block: the tokens first, then a character
// arena in which every text is stored NUL-terminated, one after the other.
// An empty list owns no block, moving a list moves only the block pointer
// (text pointers survive), and a copy gets a block of exactly the size it
// needs; assigning a list reuses the block when it is big enough. The block
// may instead be a piece lent by an arena (see TArena), used the same way
// but never freed. Text(i) stays valid until the list is next appended to,
// assigned, truncated or cleared.
#ifndef WEFT_LEX_TOKEN_LIST_H_
#define WEFT_LEX_TOKEN_LIST_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "lex/token.h"
#include "base/arena.h"

namespace weft {

class TTokenList {
 public:
  TTokenList() = default;
  TTokenList(const TTokenList& other);
  TTokenList& operator=(const TTokenList& other) { return Assign(other, nullptr); }
  // Copies `other`, into the present block when it fits, else into a block of
  // exactly the size needed: a piece of `arena`, or of the heap when null.
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

  // Positions and kind may be rewritten in place; textOffset may not.
  TToken& at(int32_t i) { return tokens_[i]; }
  const TToken& at(int32_t i) const { return tokens_[i]; }

  // The NUL-terminated text of token i. A text may itself hold NUL bytes
  // (rows can), so TextLength, not strlen, gives its length.
  const char* Text(int32_t i) const { return chars() + tokens_[i].textOffset; }
  int32_t TextLength(int32_t i) const {
    const int32_t next = i + 1 < count_ ? tokens_[i + 1].textOffset : charCount_;
    return next - tokens_[i].textOffset - 1;
  }
  std::string_view TextView(int32_t i) const {
    return {Text(i), static_cast<size_t>(TextLength(i))};
  }

  // The index of the first token that starts after `column`, by binary
  // search (a row's tokens lie in column order); count() when none does.
  int32_t FirstStartingAfter(int32_t column) const {
    return static_cast<int32_t>(
        std::upper_bound(tokens_, tokens_ + count_, column,
                         [](int32_t c, const TToken& token) { return c < token.startColumn; }) -
        tokens_);
  }

  // Appends a copy of `token` with a copy of `text`, cut to kMaxTokenText.
  void Append(const TToken& token, std::string_view text) {
    const int32_t length =
        text.size() < static_cast<size_t>(kMaxTokenText) ? static_cast<int32_t>(text.size()) : kMaxTokenText;
    CopyText(AppendUnfilled(token, length), text.data(), length);
  }

  // This list with tokens `first` up to `end` (exclusive) replaced by
  // `middle`'s and the tokens from `end` on moved `shift` columns along (their
  // ends too where they end on the same row), in a heap block of exactly its
  // size. Costs a copy of the list, not a token at a time. Needs
  // 0 <= first < end <= count().
  TTokenList Spliced(int32_t first, int32_t end, const TTokenList& middle, int32_t shift) const;

  // Drops the tokens from index `count` on, keeping the storage for reuse.
  void truncate(int32_t count);
  // Drops every token and frees the storage.
  void clear();
  // Gives a block of its own back down to exactly what the list holds.
  void shrink_to_fit();

  // Bytes its block has room for, whether its own or lent.
  size_t HeapBytes() const;

 private:
  // Appends a copy of `token` with room for a text of `length` (0 to
  // kMaxTokenText) characters, already NUL-terminated, and answers where the
  // text goes.
  char* AppendUnfilled(const TToken& token, int32_t length) {
    if (count_ == tokenCapacity_ || length >= charCapacity_ - charCount_) MakeRoom(length + 1);
    TToken& stored = tokens_[count_++];
    stored = token;
    stored.textOffset = charCount_;
    char* destination = chars() + charCount_;
    destination[length] = '\0';
    charCount_ += length + 1;
    return destination;
  }

  // Copies `length` bytes. Most token texts are a few bytes long, for which
  // a call to memcpy would cost more than the copy: they are copied as two
  // overlapping fixed-size moves, which compile to plain loads and stores.
  static void CopyText(char* destination, const char* source, int32_t length) {
    if (length > 16) {
      std::memcpy(destination, source, static_cast<size_t>(length));
    } else if (length >= 8) {
      std::memcpy(destination, source, 8);
      std::memcpy(destination + length - 8, source + length - 8, 8);
    } else if (length >= 4) {
      std::memcpy(destination, source, 4);
      std::memcpy(destination + length - 4, source + length - 4, 4);
    } else if (length > 0) {
      destination[0] = source[0];
      destination[length / 2] = source[length / 2];
      destination[length - 1] = source[length - 1];
    }
  }

  char* chars() const { return reinterpret_cast<char*>(tokens_ + tokenCapacity_); }
  void FreeOwnBlock() const {
    if (tokens_ != nullptr && !lent_) std::free(tokens_);
  }
  void Take(TTokenList& other) {
    tokens_ = std::exchange(other.tokens_, nullptr);
    count_ = std::exchange(other.count_, 0);
    tokenCapacity_ = std::exchange(other.tokenCapacity_, 0);
    charCount_ = std::exchange(other.charCount_, 0);
    charCapacity_ = std::exchange(other.charCapacity_, 0);
    lent_ = std::exchange(other.lent_, false);
  }
  // Grows the block so that one more token and `characters` more fit.
  void MakeRoom(int32_t characters);
  // Moves into a block with room for exactly the given numbers, from `arena`
  // or, when null, the heap.
  void Reallocate(int32_t tokenCapacity, int32_t charCapacity, TArena* arena = nullptr);

  TToken* tokens_ = nullptr;  // start of the block
  int32_t count_ = 0;
  int32_t tokenCapacity_ = 0;
  int32_t charCount_ = 0;
  int32_t charCapacity_ = 0;
  bool lent_ = false;  // the block is a piece of an arena
};

}  // namespace weft

#endif  // WEFT_LEX_TOKEN_LIST_H_
