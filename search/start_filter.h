// Skips the positions where no match can begin, so that the engines are
// started only where one could.
//
// Two facts are used. A match begins with a byte from the first-character
// set (unless the pattern can match nothing at all). And when the pattern
// holds a run of two or more literal characters, every match contains that
// literal at least `offset` characters after its start, with only
// characters that the items before the literal accept in between: so no
// match begins before the stretch of such characters that ends at the
// literal's next occurrence, nor after that occurrence less the offset. A
// literal at the start of the pattern makes its occurrences the only
// candidates.
#ifndef WEFT_SEARCH_START_FILTER_H_
#define WEFT_SEARCH_START_FILTER_H_

#include <array>
#include <cstdint>
#include <optional>

#include "search/char_set.h"
#include "search/matcher.h"
#include "search/pattern.h"
#include "search/plain_finder.h"

namespace weft {

class TStartFilter {
 public:
  TStartFilter(const TPattern& pattern, TSubject subject);

  // The first position at or after `from` where a match may begin, or
  // subject.size when there is none before the end. Calls must come with
  // `from` never decreasing.
  int32_t Next(int32_t from);

 private:
  enum class TMode { kEvery, kByte, kSet };

  void ChooseLiteral(const TPattern& pattern);
  void ChooseFirstSet(const TPattern& pattern);
  int32_t NextByFirstSet(int32_t from, int32_t end) const;

  TSubject subject_;
  TMode mode_ = TMode::kEvery;
  TCharSet first_;
  std::array<uint8_t, 256> isFirst_{};  // first_ as a table, for the scan
  std::optional<TPlainFinder> literal_;
  int32_t literalOffset_ = 0;  // the fewest characters before the literal
  TCharSet beforeLiteral_;      // what the items before the literal accept
  int32_t windowLow_ = 0;      // candidates for the literal's last occurrence
  int32_t windowHigh_ = -1;
};

}  // namespace weft

#endif  // WEFT_SEARCH_START_FILTER_H_
