#include "lex/token_list.h"

#include <algorithm>
#include <cstring>

namespace weft {

namespace {

// Copies `length` bytes. Most token texts are a few bytes long, for which
// a call to memcpy would cost more than the copy: they are copied as two
// overlapping fixed-size moves, which compile to plain loads and stores.
void CopyText(char* destination, const char* source, int32_t length) {
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

// The last token may reach the line end or run over rows (most rows end in
// white space that does), so its text is as long as SpanText would make it.
int32_t LastTextLength(const TRowTokens& tokens, TRowsView rows) {
  return SpanLength(rows, tokens.last().start, tokens.last().end, kMaxTokenText);
}

// The characters the texts of `tokens` take, the last one's `lastLength`
// long: each other text its span and a NUL.
int32_t TilingChars(const TRowTokens& tokens, int32_t lastLength) {
  const int32_t count = static_cast<int32_t>(tokens.tokens().size());
  return tokens.last().start.column - tokens.tokens().front().start + count + lastLength;
}

// Writes the starts, kinds and texts of `tokens` (whose last text is
// `lastLength` long) from the given places on.
void WriteTiling(const TRowTokens& tokens, TRowsView rows, int32_t lastLength, int32_t* startsOut,
                 int16_t* kindsOut, char* text) {
  const std::span<const TRowTokens::TStartAndKind> in = tokens.tokens();
  const int32_t count = static_cast<int32_t>(in.size());
  const TScannedToken& lastToken = tokens.last();
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
}

}  // namespace

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
  const int32_t lastLength = LastTextLength(tokens, rows);
  TakeNewBlock(static_cast<int32_t>(tokens.tokens().size()), TilingChars(tokens, lastLength), arena);
  WriteTiling(tokens, rows, lastLength, starts(), kinds(), chars());
  lastEnd()[kEndColumn] = tokens.last().end.column;
  lastEnd()[kRowSpan] = tokens.last().end.row - tokens.last().start.row;
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
TTokenList TTokenList::Spliced(int32_t first, int32_t end, const TRowTokens& middle, TRowsView rows,
                               int32_t shift) const {
  assert(0 <= first && first < end && end <= count_ && !middle.empty());
  const int32_t tail = count_ - end;
  const int32_t headChars = TextOffset(first);
  const int32_t middleCount = static_cast<int32_t>(middle.tokens().size());
  const TScannedToken middleLast = middle.last();
  const int32_t middleLastLength = LastTextLength(middle, rows);
  const int32_t middleChars = TilingChars(middle, middleLastLength);
  const int32_t unusedAfterMiddle = tail > 0 ? starts()[end] + shift - middleLast.start.column - middleLastLength : 0;
  assert(first == 0 || middle.tokens().front().start == starts()[first]);
  assert(tail == 0 ||
         (middleLast.end.row == middleLast.start.row && middleLast.end.column == starts()[end] + shift - 1));
  const int32_t tailChars = CharsOf(end, count_);
  TTokenList spliced;
  spliced.TakeNewBlock(first + middleCount + tail, headChars + middleChars + unusedAfterMiddle + tailChars);

  int32_t* startsOut = spliced.starts();
  int16_t* kindsOut = spliced.kinds();
  char* text = spliced.chars();
  std::memcpy(startsOut, starts(), sizeof(int32_t) * static_cast<size_t>(first));
  std::memcpy(kindsOut, kinds(), sizeof(int16_t) * static_cast<size_t>(first));
  std::memcpy(text, chars(), static_cast<size_t>(headChars));
  WriteTiling(middle, rows, middleLastLength, startsOut + first, kindsOut + first, text + headChars);
  if (tail > 0) {
    for (int32_t i = 0; i < tail; ++i) startsOut[first + middleCount + i] = starts()[end + i] + shift;
    std::memcpy(kindsOut + first + middleCount, kinds() + end, sizeof(int16_t) * static_cast<size_t>(tail));
    std::memcpy(text + headChars + middleChars + unusedAfterMiddle, chars() + TextOffset(end),
                static_cast<size_t>(tailChars));
    const TToken last = at(count_ - 1);
    spliced.lastEnd()[kEndColumn] = last.endColumn + (last.rowSpan == 0 ? shift : 0);
    spliced.lastEnd()[kRowSpan] = last.rowSpan;
  } else {
    spliced.lastEnd()[kEndColumn] = middleLast.end.column;
    spliced.lastEnd()[kRowSpan] = middleLast.end.row - middleLast.start.row;
  }
  return spliced;
}

void TTokenList::clear() { TakeNewBlock(0, 0); }

size_t TTokenList::HeapBytes() const { return block_ == nullptr ? 0 : BlockBytes(count_, charCount_); }

}  // namespace weft
