// The fast engine: backtracking with memoised loop states.
//
// A state is (loop item, position): the loop has consumed up to the position
// and the rest of the pattern is still to match. Whether such a state can lead
// to a match depends only on the pair, never on the path or the start position
// that reached it; and a state reached a second time has already been explored
// in full, and failed, since the first success ends the attempt. So each state
// is explored at most once over all MatchAt calls on one object, and the
// straight stretches between loops cost at most one pass each: the work of all
// attempts together is O(text size × items).
//
// The memo holds one bit per loop item and position (see TLoopMemo);
// MemoBytes tells the caller what it could cost before it commits.
#ifndef WEFT_SEARCH_BACKTRACKER_H_
#define WEFT_SEARCH_BACKTRACKER_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "search/loop_memo.h"
#include "search/matcher.h"
#include "search/pattern.h"

namespace weft {

class TBacktracker {
 public:
  // The most memo that attempts starting at `lowest` or later may take.
  static uint64_t MemoBytes(const TPattern& pattern, TSubject subject, int32_t lowest);

  // `pattern` and `work` must outlive the object.
  TBacktracker(const TPattern& pattern, TSubject subject, int32_t lowest, TMatchWork& work);

  // Matches the pattern's items at `start` (lowest <= start <= size). After a
  // success the memo no longer describes failures only: ask no more.
  bool MatchAt(int32_t start, TRawMatch& match);

 private:
  struct TFrame {
    int32_t item;  // the loop item
    int32_t low;   // where the loop began: its shortest run ends here
    int32_t exit;  // where the rest of the pattern is being tried
  };
  bool Advance(int32_t& item, int32_t& pos);
  bool Step(int32_t index, int32_t& pos);
  bool Backtrack(int32_t& item, int32_t& pos);
  int32_t RunLoop(const TPatternItem& item, int32_t pos);
  const TPatternItem* NextSingle(int32_t loopItem) const;

  const TPattern& pattern_;
  TSubject subject_;
  TMatchWork* work_;
  std::optional<TLoopMemo> memo_;
  std::vector<TFrame> frames_;
  int32_t marks_[2] = {0, 0};
};

}  // namespace weft

#endif  // WEFT_SEARCH_BACKTRACKER_H_
