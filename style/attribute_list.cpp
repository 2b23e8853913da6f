#include "style/attribute_list.h"

#include <algorithm>
#include <cstring>

namespace weft {

// Storage of its own grows in place where the allocator can.
void TAttributeList::push_back(const TTextAttributeDelta& change) {
  if (size_ >= capacity_) {
    const int32_t capacity = size_ < 4 ? 4 : 2 * size_;
    if (capacity_ == 0) {
      Reallocate(capacity, nullptr);
    } else {
      changes_ = static_cast<TTextAttributeDelta*>(
          ReallocateOrDie(changes_, sizeof(TTextAttributeDelta) * static_cast<size_t>(capacity)));
      capacity_ = capacity;
    }
  }
  changes_[size_++] = change;
}

TAttributeList TAttributeList::Spliced(size_t first, size_t end, std::span<const TTextAttributeDelta> middle,
                                       int32_t shift) const {
  TAttributeList spliced;
  const size_t count = first + middle.size() + (size() - end);
  if (count == 0) return spliced;
  spliced.Reallocate(static_cast<int32_t>(count), nullptr);
  TTextAttributeDelta* out = spliced.changes_;
  out = std::copy(changes_, changes_ + first, out);
  out = std::copy(middle.begin(), middle.end(), out);
  for (size_t i = end; i < size(); ++i, ++out) {
    *out = changes_[i];
    out->column += shift;
  }
  spliced.size_ = static_cast<int32_t>(count);
  return spliced;
}

void TAttributeList::clear() {
  FreeOwnBlock();
  changes_ = nullptr;
  size_ = 0;
  capacity_ = 0;
}

TAttributeList& TAttributeList::Assign(std::span<const TTextAttributeDelta> changes, TArena* arena) {
  const auto count = static_cast<int32_t>(changes.size());
  if (count > capacity_) {
    size_ = 0;  // nothing to carry over
    Reallocate(count, arena);
  }
  if (count > 0) std::memmove(changes_, changes.data(), changes.size_bytes());
  size_ = count;
  return *this;
}

void TAttributeList::Reallocate(int32_t capacity, TArena* arena) {
  const size_t bytes = sizeof(TTextAttributeDelta) * static_cast<size_t>(capacity);
  auto* block = static_cast<TTextAttributeDelta*>(AllocateFrom(arena, bytes, alignof(TTextAttributeDelta)));
  if (size_ > 0) std::memcpy(block, changes_, sizeof(TTextAttributeDelta) * size());
  FreeOwnBlock();
  changes_ = block;
  capacity_ = arena != nullptr ? 0 : capacity;
}

}  // namespace weft
