#include "search/start_filter.h"

#include <cstring>
#include <string>

namespace weft {

StartFilter::StartFilter(const Pattern& pattern, Subject subject) : subject_(subject) {
  std::string prefix;
  for (const PatternItem& item : pattern.items) {
    if (item.kind == ItemKind::kMark) continue;
    if (item.kind != ItemKind::kOne || item.literal < 0) break;
    prefix.push_back(static_cast<char>(item.literal));
  }
  if (prefix.size() >= 2) {
    prefix_.emplace(prefix, pattern.matchCase);
    mode_ = Mode::kPrefix;
    return;
  }
  // The union of what the items can consume first, up to the first one that
  // must consume. A `$` there lets a match begin only at an LF.
  for (const PatternItem& item : pattern.items) {
    if (item.kind == ItemKind::kMark) continue;
    if (item.kind == ItemKind::kLineEnd) {
      first_.Add('\n');
    } else {
      first_.Merge(item.set);
    }
    if (item.kind == ItemKind::kOne || item.kind == ItemKind::kLineEnd) {
      mode_ = first_.Size() == 1 ? Mode::kByte : Mode::kSet;
      return;
    }
  }
  mode_ = Mode::kEvery;  // the pattern can match nothing at all, anywhere
}

int32_t StartFilter::Next(int32_t from) const {
  const int32_t size = subject_.size;
  if (from >= size) return size;
  const unsigned char* text = subject_.data;
  switch (mode_) {
    case Mode::kEvery:
      return from;
    case Mode::kByte: {
      const void* hit = std::memchr(text + from, first_.First(), static_cast<size_t>(size - from));
      return hit == nullptr ? size : static_cast<int32_t>(static_cast<const unsigned char*>(hit) - text);
    }
    case Mode::kSet:
      while (from < size && !first_.Contains(text[from])) ++from;
      return from;
    case Mode::kPrefix: {
      const int32_t hit = prefix_->FindForward(subject_, from);
      return hit < 0 ? size : hit;
    }
  }
  return from;
}

}  // namespace weft
