#include "lex/token_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>


namespace weft {

TTokenList::TTokenList(const TTokenList& other) { *this = other; }

TTokenList& TTokenList::Assign(const TTokenList& other, TArena* arena) {
  if (this == &other) return *this;
  TakeNewBlock(other.count_, other.charCount_, arena);
  if (block_ != nullptr) std::memcpy(block_, other.block_, BlockBytes(count_, charCount_));
  return *this;
}

void TTokenList::AssignTiling(const TRowTokens& tokens, TRowsView rows, TArena* arena) {
  if (tokens.empty()) {
    clear();
    return;
  }
  const std::span<const TRowTokens::TStartAndKind> in = tokens.tokens();
  const int32_t count = static_cast<int32_t>(in.size());
  const TScannedToken& lastToken = tokens.last();
  // The last token may reach the line end or run over rows (most rows end in
  // white space that does), so its text is read as SpanText reads it.
  int32_t lastLength = 0;
  ForEachSpanPiece(rows, lastToken.start, lastToken.end, [&](const char*, int32_t length) {
    lastLength += std::min(length, kMaxTokenText - lastLength);
    return lastLength < kMaxTokenText;
  });
  TakeNewBlock(count, lastToken.start.column - in.front().start + count + lastLength, arena);

  int32_t* startsOut = starts();
  int16_t* kindsOut = kinds();
  char* text = chars();
  const char* row = rows[static_cast<size_t>(lastToken.start.row)].data();
  for (int32_t i = 0; i + 1 < count; ++i) {
    const int32_t start = in[static_cast<size_t>(i)].start;
    const int32_t span = in[static_cast<size_t>(i) + 1].start - start;
    const int32_t length = std::min(span, kMaxTokenText);
    startsOut[i] = start;
    kindsOut[i] = static_cast<int16_t>(in[static_cast<size_t>(i)].kind);
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
}

void TTokenList::TakeNewBlock(int32_t count, int32_t charCount, TArena* arena) {
  FreeOwnBlock();
  const bool empty = count <= 0;
  block_ = empty ? nullptr : static_cast<char*>(AllocateFrom(arena, BlockBytes(count, charCount), alignof(int32_t)));
  lent_ = arena != nullptr && !empty;
  count_ = empty ? 0 : count;
  charCount_ = empty ? 0 : charCount;
}

// The texts tile as the tokens do, so the spliced texts are the head's bytes
// (with the unused ones after a cut text before the middle, which starts where
// the first replaced token did), the middle's, the unused bytes after the
// middle's last text if it was cut and the tail follows, and the tail's.
TTokenList TTokenList::Spliced(int32_t first, int32_t end, const TTokenList& middle, int32_t shift) const {
  assert(0 <= first && first < end && end <= count_ && middle.count_ > 0);
  const int32_t tail = count_ - end;
  const int32_t headChars = TextOffset(first);
  const int32_t middleLast = middle.count_ - 1;
  const int32_t unusedAfterMiddle =
      tail > 0 ? starts()[end] + shift - middle.starts()[middleLast] - middle.TextLength(middleLast) : 0;
  assert(middle.starts()[0] == starts()[first]);
  assert(tail == 0 || (middle.at(middleLast).rowSpan == 0 &&
                       middle.at(middleLast).endColumn == starts()[end] + shift - 1));
  const int32_t tailChars = CharsOf(end, count_);
  TTokenList spliced;
  spliced.TakeNewBlock(first + middle.count_ + tail, headChars + middle.charCount_ + unusedAfterMiddle + tailChars);

  int32_t* startsOut = spliced.starts();
  std::memcpy(startsOut, starts(), sizeof(int32_t) * static_cast<size_t>(first));
  std::memcpy(startsOut + first, middle.starts(), sizeof(int32_t) * static_cast<size_t>(middle.count_));
  startsOut += first + middle.count_;
  for (int32_t i = 0; i < tail; ++i) startsOut[i] = starts()[end + i] + shift;

  int16_t* kindsOut = spliced.kinds();
  std::memcpy(kindsOut, kinds(), sizeof(int16_t) * static_cast<size_t>(first));
  std::memcpy(kindsOut + first, middle.kinds(), sizeof(int16_t) * static_cast<size_t>(middle.count_));
  std::memcpy(kindsOut + first + middle.count_, kinds() + end, sizeof(int16_t) * static_cast<size_t>(tail));

  char* text = spliced.chars();
  std::memcpy(text, chars(), static_cast<size_t>(headChars));
  std::memcpy(text + headChars, middle.chars(), static_cast<size_t>(middle.charCount_));
  if (tail > 0) {
    std::memcpy(text + headChars + middle.charCount_ + unusedAfterMiddle, chars() + TextOffset(end),
                static_cast<size_t>(tailChars));
  }

  const TToken last = tail > 0 ? at(count_ - 1) : middle.at(middleLast);
  spliced.lastEnd()[kEndColumn] = last.endColumn + (tail > 0 && last.rowSpan == 0 ? shift : 0);
  spliced.lastEnd()[kRowSpan] = last.rowSpan;
  return spliced;
}

void TTokenList::clear() { TakeNewBlock(0, 0); }

size_t TTokenList::HeapBytes() const { return block_ == nullptr ? 0 : BlockBytes(count_, charCount_); }

}  // namespace weft
