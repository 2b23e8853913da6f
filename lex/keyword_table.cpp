#include "lex/keyword_table.h"

#include <algorithm>

namespace weft {

namespace {

// std::string_view compares through char_traits<char>, which orders bytes as
// unsigned char and puts a prefix first: exactly the table's order.
std::vector<std::string>::iterator FirstNotBefore(std::vector<std::string>& words, std::string_view word) {
  return std::lower_bound(words.begin(), words.end(), word,
                          [](const std::string& entry, std::string_view w) { return std::string_view(entry) < w; });
}

}  // namespace

void TKeywordTable::Add(std::string_view word) {
  words_.insert(FirstNotBefore(words_, word), std::string(word));
  IndexWords();
}

void TKeywordTable::Delete(std::string_view word) {
  const auto at = FirstNotBefore(words_, word);
  if (at != words_.end() && *at == word) words_.erase(at);
  IndexWords();
}

void TKeywordTable::IndexWords() {
  lengthsByFirstByte_.fill(0);
  hasEmptyWord_ = false;
  for (const std::string& entry : words_) {
    if (entry.empty()) {
      hasEmptyWord_ = true;
    } else {
      lengthsByFirstByte_[static_cast<unsigned char>(entry[0])] |= LengthBit(entry.size());
    }
  }
}

bool TKeywordTable::Search(std::string_view word) const {
  int32_t low = 0;
  int32_t high = count() - 1;
  while (low <= high) {
    const int32_t mid = low + (high - low) / 2;
    const int order = word.compare(words_[mid]);
    if (order == 0) return true;
    if (order < 0) {
      high = mid - 1;
    } else {
      low = mid + 1;
    }
  }
  return false;
}

}  // namespace weft
