// Finds a fixed string of bytes, exactly or ignoring the case of A to Z.
//
// Forward it is Horspool's algorithm on pairs of bytes: the pair under the
// end of the window decides the shift, so on text the window mostly jumps by
// nearly the needle's length. Backward it compares position by position.
// Worst cases are O(text × needle).
#ifndef WEFT_SEARCH_PLAIN_FINDER_H_
#define WEFT_SEARCH_PLAIN_FINDER_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/matcher.h"

namespace weft {

class PlainFinder {
 public:
  PlainFinder(std::string_view needle, bool matchCase);

  int32_t size() const { return static_cast<int32_t>(needle_.size()); }

  // The first occurrence that begins at `from` or later (from >= 0), or -1.
  int32_t FindForward(Subject subject, int32_t from) const;
  // The last occurrence that begins at `last` or earlier and ends within the
  // subject, or -1.
  int32_t FindBackward(Subject subject, int32_t last) const;

 private:
  static constexpr size_t kPairBuckets = 4096;

  template <bool kFold>
  int32_t Forward(Subject subject, int32_t from) const;
  template <bool kFold>
  int32_t Backward(Subject subject, int32_t last) const;
  template <bool kFold>
  bool EqualAt(const unsigned char* at) const;

  std::string needle_;  // folded when the case does not matter
  bool matchCase_;
  std::array<uint8_t, kPairBuckets> shift_{};
  int32_t shiftAfterCandidate_ = 1;
};

}  // namespace weft

#endif  // WEFT_SEARCH_PLAIN_FINDER_H_
