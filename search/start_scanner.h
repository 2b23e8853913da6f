// Tells, right to left, at which positions a match of the pattern begins.
//
// It computes for each position, from the end of the subject down, which
// suffixes of the pattern match there: one column of item count + 1 bits per
// position, each from the column to its right. Whether a match begins does not
// depend on the order the backtracker tries things in, so this is exact, and
// it takes O(positions × items) steps and memory for two columns. The
// backward search uses it to find the run of match starts nearest its start.
#ifndef WEFT_SEARCH_START_SCANNER_H_
#define WEFT_SEARCH_START_SCANNER_H_

#include <cstdint>
#include <vector>

#include "search/matcher.h"
#include "search/pattern.h"

namespace weft {

class TStartScanner {
 public:
  // `pattern` and `work` must outlive the object.
  TStartScanner(const TPattern& pattern, TSubject subject, TMatchWork& work);

  // The rightmost position p where a match begins, moved left while a match
  // also begins just before it; -1 when no match begins anywhere. At the end
  // of the subject only a pattern without consuming items matches.
  int32_t LeftEndOfLastRun();

 private:
  void ColumnAtEnd(std::vector<uint8_t>& here) const;
  void ColumnAt(int32_t pos, const std::vector<uint8_t>& right, std::vector<uint8_t>& here);

  const TPattern& pattern_;
  TSubject subject_;
  TMatchWork* work_;
};

}  // namespace weft

#endif  // WEFT_SEARCH_START_SCANNER_H_
