#include "search/backtracker.h"

namespace weft {

uint64_t TBacktracker::MemoBytes(const TPattern& pattern, TSubject subject, int32_t lowest) {
  return TLoopMemo::WorstCaseBytes(pattern.loopCount, lowest, subject.size);
}

TBacktracker::TBacktracker(const TPattern& pattern, TSubject subject, int32_t lowest, TMatchWork& work)
    : pattern_(pattern), subject_(subject), work_(&work) {
  if (pattern.loopCount == 0) return;
  memo_.emplace(pattern.loopCount, lowest, subject.size);
  frames_.reserve(static_cast<size_t>(pattern.loopCount));
}

bool TBacktracker::MatchAt(int32_t start, TRawMatch& match) {
  frames_.clear();
  int32_t item = 0;
  int32_t pos = start;
  do {
    if (Advance(item, pos)) {
      match.start = start;
      match.end = pos;
      match.marks[0] = marks_[0];
      match.marks[1] = marks_[1];
      return true;
    }
  } while (Backtrack(item, pos));
  return false;
}

// Runs the items from item at pos until the pattern ends (true) or an item
// fails (false). Marks overwrite freely: a retry from a loop re-records every
// mark after that loop before it can succeed.
bool TBacktracker::Advance(int32_t& item, int32_t& pos) {
  for (; item < pattern_.size(); ++item) {
    ++work_->steps;
    if (!Step(item, pos)) return false;
  }
  return true;
}

// Matches one item at pos and moves pos past what it consumed. A loop
// takes its longest run and leaves a frame to give it back from.
bool TBacktracker::Step(int32_t index, int32_t& pos) {
  const TPatternItem& item = pattern_.items[static_cast<size_t>(index)];
  const int32_t p = pos;
  const bool atCharacter = p < subject_.size;
  switch (item.kind) {
    case TItemKind::kOne:
      if (!atCharacter || !item.set.Contains(subject_.data[p])) return false;
      pos = p + 1;
      return true;
    case TItemKind::kOptional:
      if (atCharacter && item.set.Contains(subject_.data[p])) pos = p + 1;
      return true;
    case TItemKind::kStar:
      if (memo_->Test(item.loop, p)) return false;
      pos = RunLoop(item, p);
      frames_.push_back({index, p, pos});
      return true;
    case TItemKind::kLineEnd:
      return !atCharacter || subject_.data[p] == kLineFeed;
    case TItemKind::kMark:
      if (item.mark < 2) marks_[item.mark] = p;
      return true;
  }
  return false;
}

// Takes the loop from `pos` as far as it goes, marking each state it passes.
// It stops early at a state seen before: that state and everything beyond it
// failed already. Answers the longest exit worth trying.
int32_t TBacktracker::RunLoop(const TPatternItem& item, int32_t pos) {
  const unsigned char* text = subject_.data;
  TLoopMemo& memo = *memo_;
  memo.Set(item.loop, pos);
  int32_t top = pos;
  while (top < subject_.size && item.set.Contains(text[top]) && !memo.Test(item.loop, top + 1)) {
    ++work_->steps;
    ++top;
    memo.Set(item.loop, top);
  }
  return top;
}

// Gives back one character of the innermost loop that still has one. When a
// single character follows the loop, exits where it cannot match are passed
// over here rather than tried one by one.
bool TBacktracker::Backtrack(int32_t& item, int32_t& pos) {
  while (!frames_.empty()) {
    TFrame& frame = frames_.back();
    const TPatternItem* next = NextSingle(frame.item);
    while (frame.exit > frame.low) {
      ++work_->steps;
      --frame.exit;
      if (next == nullptr || next->set.Contains(subject_.data[frame.exit])) {
        item = frame.item + 1;
        pos = frame.exit;
        return true;
      }
    }
    ++work_->steps;
    frames_.pop_back();
  }
  return false;
}

// The item after a loop when it must consume exactly one character.
const TPatternItem* TBacktracker::NextSingle(int32_t loopItem) const {
  const size_t next = static_cast<size_t>(loopItem) + 1;
  if (next == pattern_.items.size() || pattern_.items[next].kind != TItemKind::kOne) return nullptr;
  return &pattern_.items[next];
}

}  // namespace weft
