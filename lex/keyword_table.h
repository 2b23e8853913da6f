// TKeywordTable: the words shown in the keyword style.
//
// Words are kept sorted by byte-wise comparison of unsigned bytes, a prefix
// before the longer word, case mattering ("Z" < "a"). Duplicates are kept side
// by side: Add puts a word before an equal entry, Delete removes the first
// equal entry. Contains allocates nothing and mostly answers from a filter of
// first bytes and lengths: it runs for almost every token of a rebuild.
#ifndef WEFT_LEX_KEYWORD_TABLE_H_
#define WEFT_LEX_KEYWORD_TABLE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace weft {

class TKeywordTable {
 public:
  void Add(std::string_view word);
  // Removes the first entry equal to `word`; does nothing if there is none.
  void Delete(std::string_view word);
  bool Contains(std::string_view word) const {
    if (word.empty()) return hasEmptyWord_;
    return (lengthsByFirstByte_[static_cast<unsigned char>(word[0])] & LengthBit(word.size())) != 0 && Search(word);
  }

  int32_t count() const { return static_cast<int32_t>(words_.size()); }
  const std::string& at(int32_t i) const { return words_[i]; }

 private:
  // One bit per word length, lengths from 31 on sharing the last.
  static uint32_t LengthBit(size_t length) { return uint32_t{1} << (length < 31 ? length : 31); }
  bool Search(std::string_view word) const;
  void IndexWords();

  std::vector<std::string> words_;
  // For each first byte, the lengths of the words starting with it, so most
  // lookups end without a comparison.
  std::array<uint32_t, 256> lengthsByFirstByte_{};
  bool hasEmptyWord_ = false;
};

}  // namespace weft

#endif  // WEFT_LEX_KEYWORD_TABLE_H_
