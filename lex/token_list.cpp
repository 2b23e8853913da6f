#include "lex/token_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>


namespace weft {

TTokenList::TTokenList(const TTokenList& other) { *this = other; }

TTokenList& TTokenList::Assign(const TTokenList& other, TArena* arena) {
  if (this == &other) return *this;
  count_ = 0;
  charCount_ = 0;
  if (other.count_ > tokenCapacity_ || other.charCount_ > charCapacity_) {
    TakeNewBlock(other.count_, other.charCount_, arena);
  }
  if (other.count_ > 0) AppendRange(other, 0, other.count_, 0);
  return *this;
}

void TTokenList::AssignTiling(std::span<const TScannedToken> tokens, TRowsView rows, TArena* arena) {
  count_ = 0;
  charCount_ = 0;
  if (tokens.empty()) return;
  const int32_t count = static_cast<int32_t>(tokens.size());
  const TScannedToken& lastToken = tokens.back();
  // The last token may reach the line end or run over rows (most rows end in
  // white space that does), so its text is read as SpanText reads it.
  int32_t lastLength = 0;
  ForEachSpanPiece(rows, lastToken.start, lastToken.end, [&](const char*, int32_t length) {
    lastLength += std::min(length, kMaxTokenText - lastLength);
    return lastLength < kMaxTokenText;
  });
  const int32_t characters = lastToken.start.column - tokens.front().start.column + count + lastLength;
  if (count > tokenCapacity_ || characters > charCapacity_) TakeNewBlock(count, characters, arena);

  int32_t* startsOut = starts();
  int16_t* kindsOut = kinds();
  char* text = chars();
  const char* row = rows[static_cast<size_t>(lastToken.start.row)].data();
  for (int32_t i = 0; i + 1 < count; ++i) {
    const int32_t start = tokens[static_cast<size_t>(i)].start.column;
    const int32_t span = tokens[static_cast<size_t>(i) + 1].start.column - start;
    const int32_t length = std::min(span, kMaxTokenText);
    startsOut[i] = start;
    kindsOut[i] = static_cast<int16_t>(tokens[static_cast<size_t>(i)].kind);
    CopyText(text, row + start, length);
    text[length] = '\0';
    text += span + 1;
  }
  startsOut[count - 1] = lastToken.start.column;
  kindsOut[count - 1] = static_cast<int16_t>(lastToken.kind);
  int32_t left = lastLength;
  ForEachSpanPiece(rows, lastToken.start, lastToken.end, [&](const char* piece, int32_t length) {
    const int32_t taken = std::min(length, left);
    std::memcpy(text, piece, static_cast<size_t>(taken));
    text += taken;
    left -= taken;
    return left > 0;
  });
  *text = '\0';
  lastEnd()[kEndColumn] = lastToken.end.column;
  lastEnd()[kRowSpan] = lastToken.end.row - lastToken.start.row;
  count_ = count;
  charCount_ = characters;
}

void TTokenList::AppendRange(const TTokenList& source, int32_t first, int32_t end, int32_t shift) {
  if (end <= first) return;
  const int32_t tokens = end - first;
  const int32_t gap = count_ > 0 ? UnusedAfterLast(source.starts()[first] + shift) : 0;
  int32_t* startsOut = starts() + count_;
  if (shift == 0) {
    std::memcpy(startsOut, source.starts() + first, sizeof(int32_t) * static_cast<size_t>(tokens));
  } else {
    for (int32_t i = 0; i < tokens; ++i) startsOut[i] = source.starts()[first + i] + shift;
  }
  std::memcpy(kinds() + count_, source.kinds() + first, sizeof(int16_t) * static_cast<size_t>(tokens));
  const int32_t characters = source.CharsOf(first, end);
  std::memcpy(chars() + charCount_ + gap, source.Text(first), static_cast<size_t>(characters));
  count_ += tokens;
  charCount_ += gap + characters;
  const TToken last = source.at(end - 1);
  lastEnd()[kEndColumn] = last.endColumn + (last.rowSpan == 0 ? shift : 0);
  lastEnd()[kRowSpan] = last.rowSpan;
}

void TTokenList::TakeNewBlock(int32_t tokenCapacity, int32_t charCapacity, TArena* arena) {
  FreeOwnBlock();
  count_ = 0;
  charCount_ = 0;
  block_ = tokenCapacity > 0 || charCapacity > 0
               ? static_cast<char*>(AllocateFrom(arena, BlockBytes(tokenCapacity, charCapacity), alignof(int32_t)))
               : nullptr;
  lent_ = arena != nullptr && block_ != nullptr;
  tokenCapacity_ = tokenCapacity;
  charCapacity_ = charCapacity;
}

TTokenList TTokenList::Spliced(int32_t first, int32_t end, const TTokenList& middle, int32_t shift) const {
  TTokenList spliced;
  const int32_t tokens = first + middle.count_ + count_ - end;
  // The texts tile as the tokens do, so the spliced texts take the head's and
  // the tail's bytes with the middle's in between, less a cut text's unused
  // bytes where it ends the middle and the tail follows.
  int32_t characters = TextOffset(first) + middle.charCount_ + CharsOf(end, count_);
  if (end < count_ && middle.count_ > 0) {
    const int32_t last = middle.count_ - 1;
    characters += starts()[end] + shift - middle.starts()[last] - middle.TextLength(last);
  }
  spliced.TakeNewBlock(tokens, characters);
  spliced.AppendRange(*this, 0, first, 0);
  spliced.AppendRange(middle, 0, middle.count_, 0);
  spliced.AppendRange(*this, end, count_, shift);
  assert(spliced.count_ == tokens && spliced.charCount_ == characters);
  return spliced;
}

void TTokenList::clear() { TakeNewBlock(0, 0); }

size_t TTokenList::HeapBytes() const { return block_ == nullptr ? 0 : BlockBytes(tokenCapacity_, charCapacity_); }

}  // namespace weft
