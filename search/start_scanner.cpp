#include "search/start_scanner.h"

#include <utility>

namespace weft {

StartScanner::StartScanner(const Pattern& pattern, Subject subject, MatchWork* work)
    : pattern_(pattern), subject_(subject), work_(work) {}

// column[i]: the items from i on match at the end of the subject.
void StartScanner::ColumnAtEnd(std::vector<uint8_t>* column) const {
  std::vector<uint8_t>& here = *column;
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    here[i] = pattern_.items[i].kind == ItemKind::kOne ? 0 : here[i + 1];
  }
}

// column[i]: the items from i on match at pos, given the column at pos + 1.
void StartScanner::ColumnAt(int32_t pos, const std::vector<uint8_t>& right, std::vector<uint8_t>* column) {
  std::vector<uint8_t>& here = *column;
  const unsigned char c = subject_.data[pos];
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    ++work_->steps;
    const PatternItem& item = pattern_.items[i];
    switch (item.kind) {
      case ItemKind::kOne:
        here[i] = item.set.Contains(c) ? right[i + 1] : 0;
        break;
      case ItemKind::kOptional:
        here[i] = item.set.Contains(c) ? right[i + 1] : here[i + 1];
        break;
      case ItemKind::kStar:
        here[i] = here[i + 1] | (item.set.Contains(c) ? right[i] : 0);
        break;
      case ItemKind::kLineEnd:
        here[i] = c == kLineFeed ? here[i + 1] : 0;
        break;
      case ItemKind::kMark:
        here[i] = here[i + 1];
        break;
    }
  }
}

int32_t StartScanner::LeftEndOfLastRun() {
  std::vector<uint8_t> right(pattern_.items.size() + 1);
  std::vector<uint8_t> here(pattern_.items.size() + 1);
  ColumnAtEnd(&right);
  int32_t found = pattern_.ZeroWidthOnly() ? subject_.size : -1;
  for (int32_t pos = subject_.size - 1; pos >= 0; --pos) {
    ColumnAt(pos, right, &here);
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
