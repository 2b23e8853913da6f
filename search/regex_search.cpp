#include "search/regex_search.h"

#include <algorithm>
#include <optional>

#include "search/backtracker.h"
#include "search/pike_vm.h"
#include "search/start_filter.h"
#include "search/start_scanner.h"

namespace weft {
namespace {

bool WantsBacktracker(const Pattern& pattern, Subject subject, int32_t lowest, const SearchTuning& tuning) {
  switch (tuning.engine) {
    case RegexEngine::kBacktracker:
      return true;
    case RegexEngine::kPikeVm:
      return false;
    case RegexEngine::kAuto:
      break;
  }
  return Backtracker::MemoBytes(pattern, subject, lowest) <= tuning.memoBudgetBytes;
}

bool TryStarts(Backtracker* matcher, int32_t first, int32_t last, StartFilter* filter, RawMatch* match) {
  for (int32_t pos = first; pos <= last; ++pos) {
    if (filter != nullptr) pos = filter->Next(pos);
    if (pos > last) break;
    if (matcher->MatchAt(pos, match)) return true;
  }
  return false;
}

}  // namespace

MatchSpan FindRegexForward(const Pattern& pattern, Subject subject, int32_t start, const SearchTuning& tuning,
                           MatchWork* work) {
  start = std::max(start, 0);
  if (start > subject.size) return {};
  if (start == subject.size) return pattern.ZeroWidthOnly() ? MatchSpan{start, 0} : MatchSpan{};
  const int32_t last = pattern.anchored ? start : subject.size - 1;
  std::optional<StartFilter> filter;
  if (!pattern.anchored) filter.emplace(pattern, subject);
  StartFilter* starts = filter ? &*filter : nullptr;
  RawMatch match;
  if (WantsBacktracker(pattern, subject, start, tuning)) {
    Backtracker matcher(pattern, subject, start, work);
    return TryStarts(&matcher, start, last, starts, &match) ? ReportedSpan(pattern, match) : MatchSpan{};
  }
  PikeVm machine(pattern, subject, work);
  return machine.Find(start, last, starts, &match) ? ReportedSpan(pattern, match) : MatchSpan{};
}

MatchSpan FindRegexBackward(const Pattern& pattern, Subject subject, int32_t start, const SearchTuning& tuning,
                            MatchWork* work) {
  if (start > subject.size) return {};
  if (start < 0) start = subject.size - 1;
  const Subject considered{subject.data, std::min(start + 1, subject.size)};
  const int32_t begin = StartScanner(pattern, considered, work).LeftEndOfLastRun();
  if (begin < 0) return {};
  if (begin == considered.size) return {begin, 0};
  RawMatch match;
  if (WantsBacktracker(pattern, considered, begin, tuning)) {
    Backtracker matcher(pattern, considered, begin, work);
    matcher.MatchAt(begin, &match);
  } else {
    PikeVm machine(pattern, considered, work);
    machine.Find(begin, begin, nullptr, &match);
  }
  return ReportedSpan(pattern, match);
}

}  // namespace weft
