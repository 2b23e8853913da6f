#include "search/start_scanner.h"

#include <utility>

namespace weft {

TStartScanner::TStartScanner(const TPattern& pattern, TSubject subject, TMatchWork& work)
    : pattern_(pattern), subject_(subject), work_(&work), inertColumn_(pattern.items.size() + 1) {
  notInert_.Add(kLineFeed);
  for (const TPatternItem& item : pattern.items) {
    if (item.kind != TItemKind::kLineEnd && item.kind != TItemKind::kMark) notInert_.Merge(item.set);
  }
  TCharSet inert = notInert_;
  inert.Invert();
  if (inert.Size() > 0) ColumnFor(inert.First(), inertColumn_, inertColumn_);
}

// here[i]: the items from i on match at the end of the subject.
void TStartScanner::ColumnAtEnd(std::vector<uint8_t>& here) const {
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    here[i] = pattern_.items[i].kind == TItemKind::kOne ? 0 : here[i + 1];
  }
}

// here[i]: the items from i on match at a position holding c, given the
// column of the position after it. For an inert c `right` is never read, so
// it may be `here` itself.
void TStartScanner::ColumnFor(unsigned char c, const std::vector<uint8_t>& right, std::vector<uint8_t>& here) const {
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    const TPatternItem& item = pattern_.items[i];
    switch (item.kind) {
      case TItemKind::kOne:
        here[i] = item.set.Contains(c) ? right[i + 1] : 0;
        break;
      case TItemKind::kOptional:
        here[i] = item.set.Contains(c) ? right[i + 1] : here[i + 1];
        break;
      case TItemKind::kStar:
        here[i] = here[i + 1] | (item.set.Contains(c) ? right[i] : 0);
        break;
      case TItemKind::kLineEnd:
        here[i] = c == kLineFeed ? here[i + 1] : 0;
        break;
      case TItemKind::kMark:
        here[i] = here[i + 1];
        break;
    }
  }
}

int32_t TStartScanner::LeftEndOfLastRun() {
  std::vector<uint8_t> right(pattern_.items.size() + 1);
  std::vector<uint8_t> here(pattern_.items.size() + 1);
  ColumnAtEnd(right);
  int32_t found = pattern_.ZeroWidthOnly() ? subject_.size : -1;
  for (int32_t pos = subject_.size - 1; pos >= 0; --pos) {
    const unsigned char c = subject_.data[pos];
    if (!notInert_.Contains(c)) {
      int32_t left = pos;  // the run of inert characters is [left, pos]
      while (left > 0 && !notInert_.Contains(subject_.data[left - 1])) --left;
      ++work_->steps;
      if (inertColumn_[0] != 0) {
        found = left;
      } else if (found >= 0) {
        break;
      }
      right = inertColumn_;
      pos = left;
      continue;
    }
    work_->steps += pattern_.items.size();
    ColumnFor(c, right, here);
    if (here[0] != 0) {
      found = pos;
    } else if (found >= 0) {
      break;
    }
    std::swap(right, here);
  }
  return found;
}

}  // namespace weft
