// Two helpers with which the host compares names. Neither allocates nor keeps
// state. Case folding changes only A to Z, as tolower does in the C locale.
#ifndef WEFT_SEARCH_NAME_MATCH_H_
#define WEFT_SEARCH_NAME_MATCH_H_

#include <cstdint>

namespace weft {

// True when the first `count` bytes of a and b are equal, folded when
// ignoreCase. A count below 1 is always true. Exactly `count` bytes of each
// are read, NULs included. A null string with a positive count is false.
bool BeginsWithIgnoreCase(const char* a, const char* b, int32_t count, bool ignoreCase);

// Similarity of two names from 0 to 100: the characters that pair up, case
// folded, walking both names and stepping over one extra character on either
// side at a time (the second name's first), over the longer length.
// Lengths below 1 compare nothing: the score is then 100 when the longer
// length is 0, and 0 when both are negative. A null name compares nothing.
// Linear in the lengths.
int32_t CalcMatchWeight(const char* a, int32_t lengthA, const char* b, int32_t lengthB);

}  // namespace weft

#endif  // WEFT_SEARCH_NAME_MATCH_H_
