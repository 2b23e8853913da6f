#include "lex/keyword_table.h"

namespace weft {

void TKeywordTable::Add(std::string_view word) {
  ++count_;
  auto found = words_.find(word);
  if (found != words_.end()) {
    ++found->second;
    return;
  }
  words_.emplace(std::string(word), 1);
  if (word.empty()) return;
  ++wordsByFirstByteAndLength_[FirstByte(word)][LengthClass(word.size())];
  lengthsByFirstByte_[FirstByte(word)] |= LengthBit(word.size());
}

void TKeywordTable::Delete(std::string_view word) {
  const auto found = words_.find(word);
  if (found == words_.end()) return;
  --count_;
  if (--found->second > 0) return;
  words_.erase(found);
  if (word.empty()) return;
  if (--wordsByFirstByteAndLength_[FirstByte(word)][LengthClass(word.size())] == 0) {
    lengthsByFirstByte_[FirstByte(word)] &= ~LengthBit(word.size());
  }
}

}  // namespace weft
