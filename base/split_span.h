// TSplitSpan: a read-only view of a sequence kept in two runs, such as a
// TGapVector's elements either side of its gap, indexed as one. Any
// contiguous range converts to one whose second run is empty. It costs a
// comparison per element read.
#ifndef WEFT_BASE_SPLIT_SPAN_H_
#define WEFT_BASE_SPLIT_SPAN_H_

#include <concepts>
#include <cstddef>
#include <span>
#include <utility>

namespace weft {

template <typename T>
class TSplitSpan {
 public:
  class TIterator {
   public:
    TIterator(const TSplitSpan* view, size_t index) : view_(view), index_(index) {}
    T& operator*() const { return (*view_)[index_]; }
    TIterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator==(const TIterator& other) const { return index_ == other.index_; }

   private:
    const TSplitSpan* view_;
    size_t index_;
  };

  TSplitSpan() = default;
  TSplitSpan(std::span<T> first, std::span<T> second)
      : first_(first.data()), second_(second.data()), firstSize_(first.size()), size_(first.size() + second.size()) {}
  template <typename Range>
    requires std::convertible_to<Range&&, std::span<T>>
  TSplitSpan(Range&& range) : TSplitSpan(std::span<T>(std::forward<Range>(range)), {}) {}

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) const { return i < firstSize_ ? first_[i] : second_[i - firstSize_]; }
  T& back() const { return (*this)[size_ - 1]; }
  TIterator begin() const { return {this, 0}; }
  TIterator end() const { return {this, size_}; }

 private:
  T* first_ = nullptr;
  T* second_ = nullptr;
  size_t firstSize_ = 0;
  size_t size_ = 0;
};

}  // namespace weft

#endif  // WEFT_BASE_SPLIT_SPAN_H_
