// TGapVector: a vector that keeps its free room as a gap where it was last
// changed, so that inserting or erasing near the previous change costs what
// is inserted or erased, not what follows it. Changing it somewhere else first
// moves the elements between the two places, once. An editor's changes
// cluster, so a row typed at the middle of a long text costs what it costs at
// the end. Reads go through operator[] or view(), a TSplitSpan of the two
// runs either side of the gap.
//
// Slots in the gap hold default-constructed or moved-from elements; erasing
// resets the erased slots, so they keep no resources.
#ifndef WEFT_BASE_GAP_VECTOR_H_
#define WEFT_BASE_GAP_VECTOR_H_

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "base/split_span.h"

namespace weft {

template <typename T>
class TGapVector {
 public:
  size_t size() const { return items_.size() - gapLength_; }
  bool empty() const { return size() == 0; }
  T& operator[](size_t i) { return items_[Slot(i)]; }
  const T& operator[](size_t i) const { return items_[Slot(i)]; }
  T& back() { return (*this)[size() - 1]; }
  const T& back() const { return (*this)[size() - 1]; }

  TSplitSpan<const T> view() const {
    const std::span<const T> all(items_);
    return {all.first(gapStart_), all.subspan(gapStart_ + gapLength_)};
  }

  void clear() {
    items_.clear();
    gapStart_ = gapLength_ = 0;
  }
  // Room for `count` elements in all, with the gap at the end.
  void reserve(size_t count) {
    CloseGap();
    items_.reserve(count);
  }
  // `count` elements: the first ones kept, new ones default-constructed.
  void resize(size_t count) {
    CloseGap();
    items_.resize(count);
    gapStart_ = count;  // the empty gap stays at the end, not past it
  }
  void push_back(T value) { emplace_back(std::move(value)); }
  template <typename... Args>
  void emplace_back(Args&&... args) {
    if (gapLength_ == 0) {
      items_.emplace_back(std::forward<Args>(args)...);
      gapStart_ = items_.size();
      return;
    }
    MoveGapTo(size());
    items_[gapStart_++] = T(std::forward<Args>(args)...);
    --gapLength_;
  }
  // Inserts `count` default-constructed elements before element `at`.
  void insert(size_t at, size_t count) {
    OpenGapAt(at, count);
    gapStart_ += count;
    gapLength_ -= count;
  }
  void insert(size_t at, T value) {
    OpenGapAt(at, 1);
    items_[gapStart_++] = std::move(value);
    --gapLength_;
  }
  // Erases the `count` elements from element `at` on.
  void erase(size_t at, size_t count) {
    MoveGapTo(at);
    for (size_t i = 0; i < count; ++i) items_[gapStart_ + gapLength_ + i] = T();
    gapLength_ += count;
  }

 private:
  size_t Slot(size_t i) const { return i < gapStart_ ? i : i + gapLength_; }

  void MoveGapTo(size_t at) {
    const auto begin = items_.begin();
    if (gapLength_ == 0) {
      // Nothing moves; moving the elements onto themselves would empty them.
    } else if (at < gapStart_) {
      std::move_backward(begin + at, begin + gapStart_, begin + gapStart_ + gapLength_);
    } else if (at > gapStart_) {
      std::move(begin + gapStart_ + gapLength_, begin + at + gapLength_, begin + gapStart_);
    }
    gapStart_ = at;
  }

  // Moves the gap to the end and gives its room back to the vector's
  // capacity, where push_back and resize find it.
  void CloseGap() {
    MoveGapTo(size());
    items_.resize(size());
    gapLength_ = 0;
  }

  // Puts the gap before element `at`, at least `count` slots wide; a gap
  // grown here leaves room for an eighth more, so the next ones are cheap.
  void OpenGapAt(size_t at, size_t count) {
    MoveGapTo(at);
    if (gapLength_ >= count) return;
    const size_t added = count - gapLength_ + size() / 8 + 16;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapLength_), added, T());
    gapLength_ += added;
  }

  std::vector<T> items_;
  size_t gapStart_ = 0;
  size_t gapLength_ = 0;
};

}  // namespace weft

#endif  // WEFT_BASE_GAP_VECTOR_H_
