#include "search/start_scanner.h"

#include <utility>

namespace weft {

TStartScanner::TStartScanner(const TPattern& pattern, TSubject subject, TMatchWork& work)
    : pattern_(pattern), subject_(subject), work_(&work) {}

// here[i]: the items from i on match at the end of the subject.
void TStartScanner::ColumnAtEnd(std::vector<uint8_t>& here) const {
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    here[i] = pattern_.items[i].kind == TItemKind::kOne ? 0 : here[i + 1];
  }
}

// here[i]: the items from i on match at pos, given the column at pos + 1.
void TStartScanner::ColumnAt(int32_t pos, const std::vector<uint8_t>& right, std::vector<uint8_t>& here) {
  const unsigned char c = subject_.data[pos];
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    ++work_->steps;
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
    ColumnAt(pos, right, here);
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
