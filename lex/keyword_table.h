// TKeywordTable: the words shown in the keyword style.
//
// A word may be added more than once; Delete takes away one of its entries,
// and the word stays until the last one goes. Case matters and any bytes may
// appear. Words of kMaxTokenText bytes or more are not added: no token text
// could be one. Add and Delete cost the word's hashing, O(length), so a host may
// register tens of thousands of words. Contains allocates nothing and mostly
// answers from a filter of first bytes and lengths without hashing: it runs
// for almost every token of a rebuild.
#ifndef WEFT_LEX_KEYWORD_TABLE_H_
#define WEFT_LEX_KEYWORD_TABLE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace weft {

class TKeywordTable {
 public:
  void Add(std::string_view word);
  // Removes one entry equal to `word`; does nothing if there is none.
  void Delete(std::string_view word);
  bool Contains(std::string_view word) const {
    if (!word.empty() && (lengthsByFirstByte_[FirstByte(word)] & LengthBit(word.size())) == 0) return false;
    return words_.find(word) != words_.end();
  }

  // The number of entries, each added word counted as often as it was added.
  int32_t count() const { return count_; }

 private:
  struct THash {
    using is_transparent = void;
    size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
  };

  static unsigned char FirstByte(std::string_view word) { return static_cast<unsigned char>(word[0]); }
  // One bit per word length, lengths from 31 on sharing the last.
  static int LengthClass(size_t length) { return length < 31 ? static_cast<int>(length) : 31; }
  static uint32_t LengthBit(size_t length) { return uint32_t{1} << LengthClass(length); }

  // Each word with how many entries it has.
  std::unordered_map<std::string, int32_t, THash, std::equal_to<>> words_;
  int32_t count_ = 0;
  // For each first byte, the lengths of the words starting with it, so most
  // lookups end without hashing; and how many distinct words hold each bit.
  std::array<uint32_t, 256> lengthsByFirstByte_{};
  std::array<std::array<int32_t, 32>, 256> wordsByFirstByteAndLength_{};
};

}  // namespace weft

#endif  // WEFT_LEX_KEYWORD_TABLE_H_
