// TRowString: one row of text, an owned growable string of 8-bit characters.
//
// It keeps its characters NUL-terminated and its size and capacity in 32
// bits, so an empty row costs 16 bytes (12 with 32-bit pointers) and nothing
// on the heap. The characters are in a heap block of the TRowString's own or
// in a piece lent by an arena (see TArena), which the TRowString changes in
// place until it must grow and then leaves for a block of its own. When
// memory for the characters cannot be had, the process stops with "Failed to
// allocate memory (N)" on the standard error stream: the library has no way
// to report it to the host.
#ifndef WEFT_BASE_ROW_STRING_H_
#define WEFT_BASE_ROW_STRING_H_

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "base/arena.h"
#include "base/split_span.h"

namespace weft {

class TRowString {
 public:
  TRowString() = default;
  // Holds exactly `text`, in one allocation.
  explicit TRowString(std::string_view text) : TRowString(text, nullptr) {}
  // Holds exactly `text`, in a piece of `arena`.
  TRowString(std::string_view text, TArena& arena) : TRowString(text, &arena) {}
  TRowString(const TRowString& other) : TRowString(other.view()) {}
  // Inline: inserting or removing rows moves every later row.
  TRowString(TRowString&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  TRowString& operator=(const TRowString& other);
  TRowString& operator=(TRowString&& other) noexcept {
    if (this != &other) {
      FreeOwnBlock();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }
  ~TRowString() { FreeOwnBlock(); }

  int32_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const char* data() const { return data_ ? data_ : ""; }
  std::string_view view() const { return {data(), static_cast<size_t>(size_)}; }
  unsigned char operator[](int32_t i) const { return static_cast<unsigned char>(data_[i]); }

  void assign(std::string_view text);
  void append(std::string_view text);
  void insert(int32_t at, char c);
  // Removes the characters from `at` to the end.
  void truncate(int32_t at);
  // Makes room for `capacity` characters in a block of the TRowString's own.
  void reserve(int32_t capacity);

 private:
  // Holds exactly `text`, in a piece of `arena` or, when null, a block of
  // its own.
  TRowString(std::string_view text, TArena* arena);
  void FreeOwnBlock() const {
    if (capacity_ > 0) std::free(data_);
  }

  char* data_ = nullptr;
  int32_t size_ = 0;
  // Characters the TRowString's own block holds, not counting the NUL; 0 when it has
  // none: it is empty or its characters are lent.
  int32_t capacity_ = 0;
};

// The rows of a text, read-only, as the grid keeps them.
using TRowsView = TSplitSpan<const TRowString>;

}  // namespace weft

#endif  // WEFT_BASE_ROW_STRING_H_
