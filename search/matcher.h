// What the pattern engines share: the text they look at, the match they
// return and the count of work they did.
//
// Every engine gives the match that plain backtracking gives: items left to
// right, `*` greedy and giving back one character at a time, `?` taking its
// character whenever it can and never reconsidering. They differ only in how
// they avoid that backtracker's exponential time.
#ifndef WEFT_SEARCH_MATCHER_H_
#define WEFT_SEARCH_MATCHER_H_

#include <cstdint>

#include "search/pattern.h"

namespace weft {

// The characters data[0 .. size): a match never reads past size.
struct TSubject {
  const unsigned char* data = nullptr;
  int32_t size = 0;
};

struct TRawMatch {
  int32_t start = 0;
  int32_t end = 0;  // one past the last character consumed
  int32_t marks[2] = {0, 0};
};

// Steps taken by the engines: states explored, characters scanned, threads
// stepped. Tests read it to check that work stays linear in the text.
struct TMatchWork {
  uint64_t steps = 0;
};

// Where a match is reported: between the first two marks when the pattern has
// them, else the whole match.
struct TMatchSpan {
  int32_t begin = -1;  // -1: nothing found
  int32_t length = 0;
};

inline TMatchSpan ReportedSpan(const TPattern& pattern, const TRawMatch& match) {
  if (pattern.markCount >= 2) return {match.marks[0], match.marks[1] - match.marks[0]};
  return {match.start, match.end - match.start};
}

}  // namespace weft

#endif  // WEFT_SEARCH_MATCHER_H_
