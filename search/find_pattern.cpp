#include "search/find_pattern.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "search/pattern.h"
#include "search/plain_finder.h"

namespace weft {
namespace {

// Positions are 32-bit at the boundary; a longer string is searched in part.
constexpr size_t kMaxLength = std::numeric_limits<int32_t>::max() - 1;

std::string_view ViewOf(const char* s) {
  if (s == nullptr) return {};
  return {s, std::min(std::strlen(s), kMaxLength)};
}

int32_t FindPlain(TSubject subject, std::string_view pattern, int32_t start, bool matchCase, bool forward) {
  const TPlainFinder finder(pattern, matchCase);
  const int32_t size = subject.size;
  if (forward) {
    start = std::max(start, 0);
    return start > size ? -1 : finder.FindForward(subject, start);
  }
  // A negative start searches from the end; FindBackward clamps to the last
  // place a match fits.
  if (start > size) return -1;
  return finder.FindBackward(subject, start < 0 ? size : start);
}

}  // namespace

int32_t FindPattern(const char* text, const char* pattern, int32_t* matchLength, int32_t start,
                    bool regularExpression, bool matchCase, bool forward, const TSearchTuning& tuning,
                    TMatchWork* work) {
  const std::string_view textView = ViewOf(text);
  const std::string_view patternView = ViewOf(pattern);
  const TSubject subject{reinterpret_cast<const unsigned char*>(textView.data()),
                        static_cast<int32_t>(textView.size())};
  if (!regularExpression) {
    if (matchLength != nullptr) *matchLength = static_cast<int32_t>(patternView.size());
    return FindPlain(subject, patternView, start, matchCase, forward);
  }
  const TPattern compiled = CompilePattern(patternView, matchCase);
  if (!compiled.valid) return -1;
  TMatchWork ownWork;
  TMatchWork* counter = work != nullptr ? work : &ownWork;
  const TMatchSpan span = forward ? FindRegexForward(compiled, subject, start, tuning, *counter)
                                 : FindRegexBackward(compiled, subject, start, tuning, *counter);
  if (matchLength != nullptr) *matchLength = span.begin < 0 ? 0 : span.length;
  return span.begin;
}

}  // namespace weft
