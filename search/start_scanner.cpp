#include "search/start_scanner.h"

#include <algorithm>
#include <utility>

namespace weft {

TStartScanner::TStartScanner(const TPattern& pattern, TSubject subject, TMatchWork& work, size_t mostStates)
    : pattern_(pattern), subject_(subject), work_(&work), mostStates_(std::max<size_t>(mostStates, 1)) {}

// here[i]: the items from i on match at the end of the subject.
void TStartScanner::ColumnAtEnd(std::vector<uint8_t>& here) const {
  const size_t count = pattern_.items.size();
  here[count] = 1;
  for (size_t i = count; i-- > 0;) {
    here[i] = pattern_.items[i].kind == TItemKind::kOne ? 0 : here[i + 1];
  }
}

// here[i]: the items from i on match at a position holding c, given the
// column of the position after it.
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

int32_t TStartScanner::StateOf(std::vector<uint8_t> column) {
  std::string key(column.begin(), column.end());
  if (const auto known = states_.find(key); known != states_.end()) return known->second;
  const auto state = static_cast<int32_t>(columns_.size());
  states_.emplace(std::move(key), state);
  matchBegins_.push_back(column[0]);
  columns_.push_back(std::move(column));
  next_.resize(next_.size() + 256, -1);
  return state;
}

int32_t TStartScanner::NewTransition(int32_t state, unsigned char c) {
  work_->steps += pattern_.items.size();
  std::vector<uint8_t> column(pattern_.items.size() + 1);
  ColumnFor(c, columns_[static_cast<size_t>(state)], column);
  const int32_t next = StateOf(std::move(column));
  next_[static_cast<size_t>(state) * 256 + c] = next;
  return next;
}

void TStartScanner::DropStates() {
  columns_.clear();
  matchBegins_.clear();
  next_.clear();
  states_.clear();
}

int32_t TStartScanner::LeftEndOfLastRun() {
  std::vector<uint8_t> atEnd(pattern_.items.size() + 1);
  ColumnAtEnd(atEnd);
  int32_t state = StateOf(std::move(atEnd));
  int32_t found = pattern_.ZeroWidthOnly() ? subject_.size : -1;
  int32_t lastDrop = -1;  // the position where the tables were last dropped; -1: never
  int32_t pos = subject_.size - 1;
  for (; pos >= 0; --pos) {
    const unsigned char c = subject_.data[pos];
    int32_t next = next_[static_cast<size_t>(state) * 256 + c];
    if (next < 0) {
      if (columns_.size() >= mostStates_) {
        // Tables that fill again within a few positions a state hold columns
        // that hardly repeat: computing each one is cheaper than keeping it.
        if (lastDrop >= 0 && static_cast<size_t>(lastDrop - pos) < kPositionsPerState * mostStates_) {
          work_->steps += static_cast<uint64_t>(subject_.size - 1 - pos);
          return FinishDirectly(pos, columns_[static_cast<size_t>(state)], found);
        }
        std::vector<uint8_t> column = std::move(columns_[static_cast<size_t>(state)]);
        DropStates();
        state = StateOf(std::move(column));
        lastDrop = pos;
      }
      next = NewTransition(state, c);
    }
    state = next;
    if (matchBegins_[static_cast<size_t>(state)] != 0) {
      found = pos;
    } else if (found >= 0) {
      break;
    }
  }
  work_->steps += static_cast<uint64_t>(subject_.size - std::max(pos, 0));
  return found;
}

int32_t TStartScanner::FinishDirectly(int32_t pos, std::vector<uint8_t> right, int32_t found) {
  std::vector<uint8_t> here(right.size());
  for (; pos >= 0; --pos) {
    work_->steps += pattern_.items.size();
    ColumnFor(subject_.data[pos], right, here);
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
