// The fallback engine: a breadth-first simulation of the items (Pike's VM)
// that needs memory for one thread per item, whatever the text's size, and
// takes O(text size × items) steps. Threads are kept in priority order, the
// order in which the backtracker would try them, so the first match in that
// order wins: the same match the backtracker finds.
#ifndef WEFT_SEARCH_PIKE_VM_H_
#define WEFT_SEARCH_PIKE_VM_H_

#include <cstdint>
#include <vector>

#include "search/matcher.h"
#include "search/pattern.h"
#include "search/start_filter.h"

namespace weft {

class TPikeVm {
 public:
  // `pattern` and `work` must outlive the object.
  TPikeVm(const TPattern& pattern, TSubject subject, TMatchWork& work);

  // The match that begins leftmost in [first, last] (last < size), preferring
  // the backtracker's order among those that begin there. Starts are tried
  // only where `filter` allows; a null filter allows every position.
  bool Find(int32_t first, int32_t last, TStartFilter* filter, TRawMatch& match);

 private:
  struct TThread {
    int32_t item;
    int32_t start;
    int32_t marks[2];
  };
  using TThreadList = std::vector<TThread>;

  bool Add(TThreadList& list, TThread thread, int32_t pos);
  void Step(int32_t pos, const TThreadList& current, TThreadList& next);

  const TPattern& pattern_;
  TSubject subject_;
  TMatchWork* work_;
  std::vector<int32_t> addedAt_;  // per item: the position whose list holds it
  TThreadList current_;
  TThreadList next_;
  bool matched_ = false;
  TRawMatch best_;
};

}  // namespace weft

#endif  // WEFT_SEARCH_PIKE_VM_H_
