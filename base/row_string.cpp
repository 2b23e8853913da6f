#include "base/row_string.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace weft {

TRowString::TRowString(std::string_view text, TArena* arena) {
  if (text.empty()) return;
  size_ = static_cast<int32_t>(text.size());
  capacity_ = arena == nullptr ? size_ : 0;
  data_ = static_cast<char*>(AllocateFrom(arena, text.size() + 1, 1));
  std::memcpy(data_, text.data(), text.size());
  data_[size_] = '\0';
}

TRowString& TRowString::operator=(const TRowString& other) {
  if (this != &other) assign(other.view());
  return *this;
}

void TRowString::reserve(int32_t capacity) {
  if (capacity <= capacity_) return;
  capacity = std::max(capacity, size_);
  const size_t bytes = static_cast<size_t>(capacity) + 1;
  if (capacity_ > 0) {
    data_ = static_cast<char*>(ReallocateOrDie(data_, bytes));
  } else {
    char* block = static_cast<char*>(AllocateOrDie(bytes));
    if (size_ > 0) std::memcpy(block, data_, static_cast<size_t>(size_));
    block[size_] = '\0';
    data_ = block;
  }
  capacity_ = capacity;
}

void TRowString::assign(std::string_view text) {
  truncate(0);
  append(text);
}

void TRowString::append(std::string_view text) {
  const int32_t count = static_cast<int32_t>(text.size());
  if (count == 0) return;
  if (size_ + count > capacity_) reserve(size_ + count > 2 * capacity_ ? size_ + count : 2 * capacity_);
  std::memcpy(data_ + size_, text.data(), text.size());
  size_ += count;
  data_[size_] = '\0';
}

void TRowString::insert(int32_t at, char c) {
  assert(at >= 0 && at <= size_);
  if (size_ + 1 > capacity_) reserve(std::max(size_ + 1, capacity_ < 8 ? 16 : 2 * capacity_));
  std::memmove(data_ + at + 1, data_ + at, static_cast<size_t>(size_ - at));
  data_[at] = c;
  ++size_;
  data_[size_] = '\0';
}

void TRowString::truncate(int32_t at) {
  if (at < 0 || at >= size_) return;
  size_ = at;
  data_[size_] = '\0';
}

}  // namespace weft
