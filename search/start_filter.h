// Skips the positions where no match can begin, so that the engines are
// started only where the pattern's first character could be: at the next
// occurrence of a literal prefix, or of a byte from the first-character set.
#ifndef WEFT_SEARCH_START_FILTER_H_
#define WEFT_SEARCH_START_FILTER_H_

#include <cstdint>
#include <optional>

#include "search/char_set.h"
#include "search/matcher.h"
#include "search/pattern.h"
#include "search/plain_finder.h"

namespace weft {

class StartFilter {
 public:
  StartFilter(const Pattern& pattern, Subject subject);

  // The first position at or after `from` where a match may begin, or
  // subject.size when there is none before the end.
  int32_t Next(int32_t from) const;

 private:
  enum class Mode { kEvery, kByte, kSet, kPrefix };

  Subject subject_;
  Mode mode_ = Mode::kEvery;
  CharSet first_;
  std::optional<PlainFinder> prefix_;
};

}  // namespace weft

#endif  // WEFT_SEARCH_START_FILTER_H_
