#include "lex/keyword_table.h"

#include "lex/token.h"

namespace weft {

namespace {

// Token texts are cut to kMaxTokenText bytes, so a word that long could only
// ever equal the cut text of a longer token.
bool CanMatchATokenText(std::string_view word) { return word.size() < static_cast<size_t>(kMaxTokenText); }

}  // namespace

void TKeywordTable::Add(std::string_view word) {
  if (!CanMatchATokenText(word)) return;
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
