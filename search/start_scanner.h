// Tells, right to left, at which positions a match of the pattern begins.
//
// It computes for each position, from the end of the subject down, which
// suffixes of the pattern match there: one column of item count + 1 bits per
// position, each from the column to its right. Whether a match begins does not
// depend on the order the backtracker tries things in, so this is exact, and
// it takes O(positions × items) steps and memory for two columns. A character
// that no item takes (and not an LF) gives the same column whatever lies to
// its right, so a run of them costs a table lookup a character. The backward
// search uses it to find the run of match starts nearest its start.
#ifndef WEFT_SEARCH_START_SCANNER_H_
#define WEFT_SEARCH_START_SCANNER_H_

#include <cstdint>
#include <vector>

#include "search/char_set.h"
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
  void ColumnFor(unsigned char c, const std::vector<uint8_t>& right, std::vector<uint8_t>& here) const;

  const TPattern& pattern_;
  TSubject subject_;
  TMatchWork* work_;
  // The bytes some item takes, and the LF: any other byte is inert, and its
  // column is inertColumn_ (valid when some byte is inert).
  TCharSet notInert_;
  std::vector<uint8_t> inertColumn_;
};

}  // namespace weft

#endif  // WEFT_SEARCH_START_SCANNER_H_
