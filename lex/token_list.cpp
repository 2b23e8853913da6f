#include "lex/token_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>


namespace weft {

namespace {

constexpr int32_t kFirstTokenRoom = 8;
constexpr int32_t kFirstCharRoom = 64;

// Half again as much room, or what is needed, whichever is more.
int32_t GrownCapacity(int32_t capacity, int32_t needed, int32_t first) {
  const int32_t grown = capacity == 0 ? first : capacity + capacity / 2;
  return std::max(grown, needed);
}

}  // namespace

TTokenList::TTokenList(const TTokenList& other) { *this = other; }

TTokenList& TTokenList::Assign(const TTokenList& other, TArena* arena) {
  if (this == &other) return *this;
  count_ = 0;
  charCount_ = 0;
  if (other.count_ > tokenCapacity_ || other.charCount_ > charCapacity_) {
    Reallocate(other.count_, other.charCount_, arena);
  }
  if (other.count_ > 0) {
    std::memcpy(tokens_, other.tokens_, sizeof(TToken) * static_cast<size_t>(other.count_));
    std::memcpy(chars(), other.chars(), static_cast<size_t>(other.charCount_));
  }
  count_ = other.count_;
  charCount_ = other.charCount_;
  return *this;
}

void TTokenList::Reallocate(int32_t tokenCapacity, int32_t charCapacity, TArena* arena) {
  TToken* block = nullptr;
  if (tokenCapacity > 0 || charCapacity > 0) {
    const size_t tokenBytes = sizeof(TToken) * static_cast<size_t>(tokenCapacity);
    const size_t bytes = tokenBytes + static_cast<size_t>(charCapacity);
    block = static_cast<TToken*>(AllocateFrom(arena, bytes, alignof(TToken)));
    if (count_ > 0) {
      std::memcpy(block, tokens_, sizeof(TToken) * static_cast<size_t>(count_));
      std::memcpy(reinterpret_cast<char*>(block) + tokenBytes, chars(), static_cast<size_t>(charCount_));
    }
  }
  FreeOwnBlock();
  tokens_ = block;
  lent_ = arena != nullptr && block != nullptr;
  tokenCapacity_ = tokenCapacity;
  charCapacity_ = charCapacity;
}

// A block of its own grows in place where the allocator can (a large block is
// remapped, not copied), and only the characters move, up past the new token
// room; a lent block moves to the heap.
void TTokenList::MakeRoom(int32_t characters) {
  const int32_t tokensNeeded = count_ + 1;
  const int32_t charsNeeded = charCount_ + characters;
  const int32_t tokenCapacity = tokensNeeded > tokenCapacity_
                                    ? GrownCapacity(tokenCapacity_, tokensNeeded, kFirstTokenRoom)
                                    : tokenCapacity_;
  const int32_t charCapacity =
      charsNeeded > charCapacity_ ? GrownCapacity(charCapacity_, charsNeeded, kFirstCharRoom) : charCapacity_;
  if (lent_ || tokens_ == nullptr) {
    Reallocate(tokenCapacity, charCapacity);
    return;
  }
  const size_t tokenBytes = sizeof(TToken) * static_cast<size_t>(tokenCapacity);
  tokens_ = static_cast<TToken*>(ReallocateOrDie(tokens_, tokenBytes + static_cast<size_t>(charCapacity)));
  if (tokenCapacity != tokenCapacity_) {
    std::memmove(reinterpret_cast<char*>(tokens_) + tokenBytes, chars(), static_cast<size_t>(charCount_));
  }
  tokenCapacity_ = tokenCapacity;
  charCapacity_ = charCapacity;
}

TTokenList TTokenList::Spliced(int32_t first, int32_t end, const TTokenList& middle, int32_t shift) const {
  const int32_t tail = count_ - end;
  const int32_t headChars = tokens_[first].textOffset;
  const int32_t tailStart = tail > 0 ? tokens_[end].textOffset : charCount_;
  const int32_t tailChars = charCount_ - tailStart;
  TTokenList spliced;
  spliced.Reallocate(first + middle.count_ + tail, headChars + middle.charCount_ + tailChars);
  TToken* out = spliced.tokens_;
  char* text = spliced.chars();
  std::memcpy(out, tokens_, sizeof(TToken) * static_cast<size_t>(first));
  std::memcpy(text, chars(), static_cast<size_t>(headChars));
  out += first;
  for (int32_t i = 0; i < middle.count_; ++i, ++out) {
    *out = middle.tokens_[i];
    out->textOffset += headChars;
  }
  std::memcpy(text + headChars, middle.chars(), static_cast<size_t>(middle.charCount_));
  const int32_t tailOffset = headChars + middle.charCount_ - tailStart;
  for (int32_t i = end; i < count_; ++i, ++out) {
    *out = tokens_[i];
    out->textOffset += tailOffset;
    out->startColumn += shift;
    if (out->rowSpan == 0) out->endColumn += shift;
  }
  std::memcpy(text + headChars + middle.charCount_, chars() + tailStart, static_cast<size_t>(tailChars));
  spliced.count_ = spliced.tokenCapacity_;
  spliced.charCount_ = spliced.charCapacity_;
  return spliced;
}

void TTokenList::truncate(int32_t count) {
  if (count < 0 || count >= count_) return;
  charCount_ = count == 0 ? 0 : tokens_[count].textOffset;
  count_ = count;
}

void TTokenList::clear() {
  count_ = 0;
  charCount_ = 0;
  Reallocate(0, 0);
}

void TTokenList::shrink_to_fit() {
  if (lent_ || tokens_ == nullptr || (count_ == tokenCapacity_ && charCount_ == charCapacity_)) return;
  const size_t tokenBytes = sizeof(TToken) * static_cast<size_t>(count_);
  std::memmove(reinterpret_cast<char*>(tokens_) + tokenBytes, chars(), static_cast<size_t>(charCount_));
  tokens_ = static_cast<TToken*>(ReallocateOrDie(tokens_, tokenBytes + static_cast<size_t>(charCount_)));
  tokenCapacity_ = count_;
  charCapacity_ = charCount_;
}

size_t TTokenList::HeapBytes() const {
  return sizeof(TToken) * static_cast<size_t>(tokenCapacity_) + static_cast<size_t>(charCapacity_);
}

}  // namespace weft
