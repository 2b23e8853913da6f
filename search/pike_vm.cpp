#include "search/pike_vm.h"

#include <algorithm>
#include <utility>

namespace weft {

TPikeVm::TPikeVm(const TPattern& pattern, TSubject subject, TMatchWork& work)
    : pattern_(pattern), subject_(subject), work_(&work), addedAt_(pattern.items.size(), -1) {
  current_.reserve(pattern.items.size());
  next_.reserve(pattern.items.size());
}

// Follows the zero-width steps from thread.item at pos, in priority order,
// and queues the items that wait for a character. A state already queued for
// this position came from a thread of higher priority: everything after it is
// queued too. Answers true when the thread reaches the end of the pattern.
bool TPikeVm::Add(TThreadList& list, TThread thread, int32_t pos) {
  const int32_t size = subject_.size;
  for (int32_t i = thread.item; i < pattern_.size(); ++i) {
    ++work_->steps;
    if (addedAt_[static_cast<size_t>(i)] == pos) return false;
    addedAt_[static_cast<size_t>(i)] = pos;
    const TPatternItem& item = pattern_.items[static_cast<size_t>(i)];
    thread.item = i;
    switch (item.kind) {
      case TItemKind::kOne:
        list.push_back(thread);
        return false;
      case TItemKind::kStar:
        list.push_back(thread);  // another repetition first, then the rest
        break;
      case TItemKind::kOptional:
        if (pos < size && item.set.Contains(subject_.data[pos])) {
          list.push_back(thread);
          return false;
        }
        break;
      case TItemKind::kLineEnd:
        if (pos < size && subject_.data[pos] != kLineFeed) return false;
        break;
      case TItemKind::kMark:
        if (item.mark < 2) thread.marks[item.mark] = pos;
        break;
    }
  }
  matched_ = true;
  best_ = {thread.start, pos, {thread.marks[0], thread.marks[1]}};
  return true;
}

// A thread that reaches the end cuts off every thread of lower priority.
void TPikeVm::Step(int32_t pos, const TThreadList& current, TThreadList& next) {
  const unsigned char c = subject_.data[pos];
  for (const TThread& thread : current) {
    ++work_->steps;
    const TPatternItem& item = pattern_.items[static_cast<size_t>(thread.item)];
    if (!item.set.Contains(c)) continue;
    TThread advanced = thread;
    if (item.kind != TItemKind::kStar) ++advanced.item;
    if (Add(next, advanced, pos + 1)) return;
  }
}

bool TPikeVm::Find(int32_t first, int32_t last, TStartFilter* filter, TRawMatch& match) {
  matched_ = false;
  current_.clear();
  std::fill(addedAt_.begin(), addedAt_.end(), -1);
  int32_t pos = first;
  for (;;) {
    if (!matched_ && pos <= last) {
      if (current_.empty() && filter != nullptr) pos = filter->Next(pos);
      if (pos > last) break;
      Add(current_, TThread{0, pos, {pos, pos}}, pos);
    }
    if (current_.empty() || pos == subject_.size) break;
    next_.clear();
    Step(pos, current_, next_);
    std::swap(current_, next_);
    ++pos;
  }
  if (matched_) match = best_;
  return matched_;
}

}  // namespace weft
