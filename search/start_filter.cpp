#include "search/start_filter.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace weft {
namespace {

bool IsLiteral(const TPatternItem& item) { return item.kind == TItemKind::kOne && item.literal >= 0; }

}  // namespace

TStartFilter::TStartFilter(const TPattern& pattern, TSubject subject) : subject_(subject) {
  ChooseFirstSet(pattern);
  ChooseLiteral(pattern);
}

// The union of what the items can consume first, up to the first one that
// must consume. A `$` there lets a match begin only at an LF.
void TStartFilter::ChooseFirstSet(const TPattern& pattern) {
  for (const TPatternItem& item : pattern.items) {
    if (item.kind == TItemKind::kMark) continue;
    if (item.kind == TItemKind::kLineEnd) {
      first_.Add('\n');
    } else {
      first_.Merge(item.set);
    }
    if (item.kind == TItemKind::kOne || item.kind == TItemKind::kLineEnd) {
      mode_ = first_.Size() == 1 ? TMode::kByte : TMode::kSet;
      for (unsigned c = 0; c < 256; ++c) isFirst_[c] = first_.Contains(static_cast<unsigned char>(c));
      return;
    }
  }
  mode_ = TMode::kEvery;  // the pattern can match nothing at all, anywhere
}

// The longest run of literal items (marks may lie between them), the
// earliest of equals.
void TStartFilter::ChooseLiteral(const TPattern& pattern) {
  const std::vector<TPatternItem>& items = pattern.items;
  std::string best;
  size_t bestStart = 0;
  std::string run;
  size_t runStart = 0;
  const auto closeRun = [&] {
    if (run.size() > best.size()) {
      best = run;
      bestStart = runStart;
    }
    run.clear();
  };
  for (size_t k = 0; k < items.size(); ++k) {
    if (IsLiteral(items[k])) {
      if (run.empty()) runStart = k;
      run.push_back(static_cast<char>(items[k].literal));
    } else if (items[k].kind != TItemKind::kMark) {
      closeRun();
    }
  }
  closeRun();
  if (best.size() < 2) return;
  literal_.emplace(best, pattern.matchCase);
  for (size_t k = 0; k < bestStart; ++k) {
    if (items[k].kind == TItemKind::kOne) ++literalOffset_;
    if (items[k].kind != TItemKind::kMark && items[k].kind != TItemKind::kLineEnd) beforeLiteral_.Merge(items[k].set);
  }
}

int32_t TStartFilter::NextByFirstSet(int32_t from, int32_t end) const {
  const unsigned char* text = subject_.data;
  switch (mode_) {
    case TMode::kEvery:
      return from;
    case TMode::kByte: {
      const void* hit = std::memchr(text + from, first_.First(), static_cast<size_t>(end - from));
      return hit == nullptr ? end : static_cast<int32_t>(static_cast<const unsigned char*>(hit) - text);
    }
    case TMode::kSet:
      while (from < end && !isFirst_[text[from]]) ++from;
      return from;
  }
  return from;
}

int32_t TStartFilter::Next(int32_t from) {
  const int32_t size = subject_.size;
  if (!literal_) return from >= size ? size : NextByFirstSet(from, size);
  while (from < size) {
    if (from > windowHigh_) {
      const int64_t after = int64_t{from} + literalOffset_;
      const int32_t hit = after > size ? -1 : literal_->FindForward(subject_, static_cast<int32_t>(after));
      if (hit < 0) return size;
      int32_t low = hit;
      while (low > from && beforeLiteral_.Contains(subject_.data[low - 1])) --low;
      windowLow_ = low;
      windowHigh_ = hit - literalOffset_;
    }
    from = std::max(from, windowLow_);
    if (from <= windowHigh_) {
      const int32_t candidate = NextByFirstSet(from, windowHigh_ + 1);
      if (candidate <= windowHigh_) return candidate;
    }
    from = windowHigh_ + 1;
  }
  return size;
}

}  // namespace weft
