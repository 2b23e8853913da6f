#include "search/regex_search.h"

#include <algorithm>
#include <optional>

#include "search/backtracker.h"
#include "search/pike_vm.h"
#include "search/start_filter.h"
#include "search/start_scanner.h"

namespace weft {
namespace {

bool WantsBacktracker(const TPattern& pattern, TSubject subject, int32_t lowest, const TSearchTuning& tuning) {
  switch (tuning.engine) {
    case TRegexEngine::kBacktracker:
      return true;
    case TRegexEngine::kPikeVm:
      return false;
    case TRegexEngine::kAuto:
      break;
  }
  return TBacktracker::MemoBytes(pattern, subject, lowest) <= tuning.memoBudgetBytes;
}

bool TryStarts(TBacktracker& matcher, int32_t first, int32_t last, TStartFilter* filter, TRawMatch& match) {
  for (int32_t pos = first; pos <= last; ++pos) {
    if (filter != nullptr) pos = filter->Next(pos);
    if (pos > last) break;
    if (matcher.MatchAt(pos, match)) return true;
  }
  return false;
}

}  // namespace

TMatchSpan FindRegexForward(const TPattern& pattern, TSubject subject, int32_t start, const TSearchTuning& tuning,
                           TMatchWork& work) {
  start = std::max(start, 0);
  if (start > subject.size) return {};
  if (start == subject.size) return pattern.ZeroWidthOnly() ? TMatchSpan{start, 0} : TMatchSpan{};
  const int32_t last = pattern.anchored ? start : subject.size - 1;
  std::optional<TStartFilter> filter;
  if (!pattern.anchored) filter.emplace(pattern, subject);
  TStartFilter* starts = filter ? &*filter : nullptr;
  TRawMatch match;
  if (WantsBacktracker(pattern, subject, start, tuning)) {
    TBacktracker matcher(pattern, subject, start, work);
    return TryStarts(matcher, start, last, starts, match) ? ReportedSpan(pattern, match) : TMatchSpan{};
  }
  TPikeVm machine(pattern, subject, work);
  return machine.Find(start, last, starts, match) ? ReportedSpan(pattern, match) : TMatchSpan{};
}

TMatchSpan FindRegexBackward(const TPattern& pattern, TSubject subject, int32_t start, const TSearchTuning& tuning,
                            TMatchWork& work) {
  if (start > subject.size) return {};
  if (start < 0) start = subject.size - 1;
  const TSubject considered{subject.data, std::min(start + 1, subject.size)};
  const int32_t begin = TStartScanner(pattern, considered, work, tuning.mostStartStates).LeftEndOfLastRun();
  if (begin < 0) return {};
  if (begin == considered.size) return {begin, 0};
  TRawMatch match;
  if (WantsBacktracker(pattern, considered, begin, tuning)) {
    TBacktracker matcher(pattern, considered, begin, work);
    matcher.MatchAt(begin, match);
  } else {
    TPikeVm machine(pattern, considered, work);
    machine.Find(begin, begin, nullptr, match);
  }
  return ReportedSpan(pattern, match);
}

}  // namespace weft
