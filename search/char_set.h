// A set of byte values, 256 bits: what one pattern item accepts.
#ifndef WEFT_SEARCH_CHAR_SET_H_
#define WEFT_SEARCH_CHAR_SET_H_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace weft {

class TCharSet {
 public:
  static TCharSet Of(unsigned char c) {
    TCharSet set;
    set.Add(c);
    return set;
  }

  void Add(unsigned char c) { words_[c >> 6] |= uint64_t{1} << (c & 63); }
  void AddRange(unsigned char low, unsigned char high) {
    for (unsigned c = low; c <= high; ++c) Add(static_cast<unsigned char>(c));
  }
  void Merge(const TCharSet& other) {
    for (size_t i = 0; i < words_.size(); ++i) words_[i] |= other.words_[i];
  }
  void Invert() {
    for (uint64_t& word : words_) word = ~word;
  }
  // The set of bytes whose low 7 bits are in this set's lower half.
  TCharSet ByLow7Bits() const {
    TCharSet set;
    set.words_ = {words_[0], words_[1], words_[0], words_[1]};
    return set;
  }

  bool Contains(unsigned char c) const { return (words_[c >> 6] >> (c & 63)) & 1; }
  int Size() const {
    int size = 0;
    for (uint64_t word : words_) size += std::popcount(word);
    return size;
  }
  // The smallest member; meaningful only when the set is not empty.
  unsigned char First() const {
    for (unsigned i = 0; i < words_.size(); ++i) {
      if (words_[i] != 0) return static_cast<unsigned char>(i * 64 + std::countr_zero(words_[i]));
    }
    return 0;
  }

 private:
  std::array<uint64_t, 4> words_{};
};

}  // namespace weft

#endif  // WEFT_SEARCH_CHAR_SET_H_
