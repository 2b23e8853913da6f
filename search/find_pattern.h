// FindPattern: finds a plain or regular-expression pattern in a text that the
// caller owns, forward or backward from a 0-based start.
//
// The text and the pattern are NUL-terminated; a null pointer counts as an
// empty string. The text is read in place and never written.
//
// Answers the 0-based index of the match, or -1. *matchLength (skipped when
// null) receives:
// - for a plain pattern, the pattern's length, found or not;
// - for a regular expression, the reported match's length, 0 when nothing is
//   found; it is left alone when the pattern is invalid.
//
// Plain forward: the first occurrence at `start` or later (a negative start
// counts as 0; an empty pattern is found at the start). Plain backward: the
// last occurrence that begins at `start` or earlier (anywhere when the start
// is negative); it may run past the start. A start beyond the end of the
// text finds nothing. Without match case, A to Z equal a to z.
// Regular expressions: see search/pattern.h and search/regex_search.h.
#ifndef WEFT_SEARCH_FIND_PATTERN_H_
#define WEFT_SEARCH_FIND_PATTERN_H_

#include <cstdint>

#include "search/matcher.h"
#include "search/regex_search.h"

namespace weft {

// `tuning` and `work` let tests choose the engine and read its work.
int32_t FindPattern(const char* text, const char* pattern, int32_t* matchLength, int32_t start,
                    bool regularExpression, bool matchCase, bool forward, const TSearchTuning& tuning = {},
                    TMatchWork* work = nullptr);

}  // namespace weft

#endif  // WEFT_SEARCH_FIND_PATTERN_H_
