// Finds a fixed string of bytes, exactly or ignoring the case of A to Z.
//
// Forward there are two strategies. Where SSE2 is available, it tests 32
// positions at a time (16 near the end) for the needle's two rarest bytes (by
// a rough table of how common bytes are in source text) and compares the
// whole needle only where both agree. Elsewhere it runs Horspool's algorithm
// on pairs of bytes.
// Backward it compares position by position. Worst cases are
// O(text × needle).
#ifndef WEFT_SEARCH_PLAIN_FINDER_H_
#define WEFT_SEARCH_PLAIN_FINDER_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/matcher.h"

namespace weft {

class TPlainFinder {
 public:
  enum class TStrategy { kBest, kHorspool };

  TPlainFinder(std::string_view needle, bool matchCase, TStrategy strategy = TStrategy::kBest);

  int32_t size() const { return static_cast<int32_t>(needle_.size()); }

  // The first occurrence that begins at `from` or later (from >= 0), or -1.
  int32_t FindForward(TSubject subject, int32_t from) const;
  // The last occurrence that begins at `last` or earlier and ends within the
  // subject, or -1.
  int32_t FindBackward(TSubject subject, int32_t last) const;

 private:
  static constexpr size_t kPairBuckets = 4096;

  void PrepareProbes();
  void PrepareHorspool();
  template <bool kFold>
  int32_t Forward(TSubject subject, int32_t from) const;
  template <bool kFold>
  int32_t ForwardByProbes(TSubject subject, int32_t from) const;
  template <bool kFold>
  int32_t ForwardByHorspool(TSubject subject, int32_t from) const;
  template <bool kFold>
  int32_t Backward(TSubject subject, int32_t last) const;
  template <bool kFold>
  bool EqualAt(const unsigned char* at) const;

  std::string needle_;  // folded when the case does not matter
  bool matchCase_;
  bool useProbes_ = false;
  int32_t probeOffsets_[2] = {0, 0};
  std::array<uint8_t, kPairBuckets> shift_{};
  int32_t shiftAfterCandidate_ = 1;
};

}  // namespace weft

#endif  // WEFT_SEARCH_PLAIN_FINDER_H_
