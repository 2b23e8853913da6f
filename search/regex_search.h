// Regular-expression search in one direction, with the rules for where the
// search starts and what counts as a match there.
//
// Forward: the leftmost match that begins at `start` or later, trying only
// positions that hold a character; at the very end of the text only a
// pattern of anchors and marks matches. An anchored pattern is tried at
// `start` alone. A negative start counts as 0.
//
// Backward: only the text up to and including `start` is searched (a
// negative start means the whole text), a match must lie within it, and of
// the rightmost run of positions where a match begins the leftmost is
// reported. Every position counts as the search's start for `^`.
//
// A start beyond the end of the text finds nothing. The work is
// O(text size × items) either way; the memoising backtracker is used when its
// memo fits the budget, the Pike VM otherwise.
#ifndef WEFT_SEARCH_REGEX_SEARCH_H_
#define WEFT_SEARCH_REGEX_SEARCH_H_

#include <cstddef>
#include <cstdint>

#include "search/matcher.h"
#include "search/pattern.h"

namespace weft {

enum class TRegexEngine { kAuto, kBacktracker, kPikeVm };

struct TSearchTuning {
  TRegexEngine engine = TRegexEngine::kAuto;
  uint64_t memoBudgetBytes = uint64_t{16} << 20;
  // The most states the backward search's scan keeps (see start_scanner.h).
  size_t mostStartStates = 256;
};

// `pattern` must be valid. Answers begin -1 when nothing is found.
TMatchSpan FindRegexForward(const TPattern& pattern, TSubject subject, int32_t start, const TSearchTuning& tuning,
                           TMatchWork& work);
TMatchSpan FindRegexBackward(const TPattern& pattern, TSubject subject, int32_t start, const TSearchTuning& tuning,
                            TMatchWork& work);

}  // namespace weft

#endif  // WEFT_SEARCH_REGEX_SEARCH_H_
