// TKeywordTable: the words shown in the keyword style.
//
// Words are kept sorted by byte-wise comparison of unsigned bytes, a prefix
// before the longer word, case mattering ("Z" < "a"). Duplicates are kept side
// by side: Add puts a word before an equal entry, Delete removes the first
// equal entry. Contains is a binary search that allocates nothing; it runs
// for almost every token of a rebuild.
#ifndef WEFT_LEX_KEYWORD_TABLE_H_
#define WEFT_LEX_KEYWORD_TABLE_H_

#include <bitset>
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
  bool Contains(std::string_view word) const;

  int32_t count() const { return static_cast<int32_t>(words_.size()); }
  const std::string& at(int32_t i) const { return words_[i]; }

 private:
  void IndexFirstBytes();

  std::vector<std::string> words_;
  // The first bytes of the words, so most lookups end without a comparison.
  std::bitset<256> firstBytes_;
  bool hasEmptyWord_ = false;
};

}  // namespace weft

#endif  // WEFT_LEX_KEYWORD_TABLE_H_
