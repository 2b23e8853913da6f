// TAttributeList: the attribute changes of one row, in column order.
//
// The changes are in a heap block of the list's own or in a piece lent by an
// arena (see TArena), which the list writes but never frees; a list that must
// grow moves to a block of its own. An empty list after clear() holds no
// storage; copies take blocks of exactly the size needed, and Assign reuses
// the storage the changes fit in. A list costs 16 bytes besides its changes
// (12 with 32-bit pointers).
#ifndef WEFT_STYLE_ATTRIBUTE_LIST_H_
#define WEFT_STYLE_ATTRIBUTE_LIST_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <utility>

#include "settings/attribute_delta.h"
#include "base/arena.h"

namespace weft {

class TAttributeList {
 public:
  TAttributeList() = default;
  TAttributeList(const TAttributeList& other) { Assign(other.changes(), nullptr); }
  TAttributeList& operator=(const TAttributeList& other) { return Assign(other.changes(), nullptr); }

  // Inline: inserting or removing rows moves every later row's list.
  TAttributeList(TAttributeList&& other) noexcept { Take(other); }
  TAttributeList& operator=(TAttributeList&& other) noexcept {
    if (this != &other) {
      FreeOwnBlock();
      Take(other);
    }
    return *this;
  }
  ~TAttributeList() { FreeOwnBlock(); }

  size_t size() const { return static_cast<size_t>(size_); }
  bool empty() const { return size_ == 0; }
  const TTextAttributeDelta& operator[](size_t i) const { return changes_[i]; }
  const TTextAttributeDelta& front() const { return changes_[0]; }
  const TTextAttributeDelta& back() const { return changes_[size_ - 1]; }
  const TTextAttributeDelta* begin() const { return changes_; }
  const TTextAttributeDelta* end() const { return changes_ + size_; }
  std::span<const TTextAttributeDelta> changes() const { return {changes_, size()}; }

  // The index of the first change after `column`, by binary search; size()
  // when none is.
  size_t FirstAfter(int32_t column) const {
    return static_cast<size_t>(
        std::upper_bound(begin(), end(), column,
                         [](int32_t c, const TTextAttributeDelta& change) { return c < change.column; }) -
        begin());
  }

  void push_back(const TTextAttributeDelta& change);
  // This list with changes `first` up to `end` (exclusive) replaced by
  // `middle` and the changes from `end` on moved `shift` columns along, in a
  // block of exactly its size.
  TAttributeList Spliced(size_t first, size_t end, std::span<const TTextAttributeDelta> middle, int32_t shift) const;
  // Drops every change and the storage.
  void clear();
  // Drops every change, keeping the storage for reuse.
  void truncate() { size_ = 0; }
  // Copies `changes`, which may be some of this list's own, into the present
  // storage when they fit, else into a block of exactly the size needed: a
  // piece of `arena`, or of the heap when null.
  TAttributeList& Assign(std::span<const TTextAttributeDelta> changes, TArena* arena);

 private:
  void Take(TAttributeList& other) {
    changes_ = std::exchange(other.changes_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  void FreeOwnBlock() const {
    if (capacity_ > 0) std::free(changes_);
  }
  // Moves into storage for exactly `capacity` changes.
  void Reallocate(int32_t capacity, TArena* arena);

  TTextAttributeDelta* changes_ = nullptr;
  int32_t size_ = 0;
  // Changes the list's own block holds; 0 when it has none: it is empty or
  // its changes are lent.
  int32_t capacity_ = 0;
};

}  // namespace weft

#endif  // WEFT_STYLE_ATTRIBUTE_LIST_H_
