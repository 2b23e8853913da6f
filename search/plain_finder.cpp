#include "search/plain_finder.h"

#include <algorithm>
#include <cstring>

#include "search/case_fold.h"

namespace weft {
namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (unsigned c = 0; c < 256; ++c) table[c] = FoldCase(static_cast<unsigned char>(c));
  return table;
}

constexpr std::array<unsigned char, 256> kFoldTable = MakeFoldTable();

template <bool kFold>
unsigned char Key(unsigned char c) {
  return kFold ? kFoldTable[c] : c;
}

size_t PairBucket(unsigned char first, unsigned char second) {
  return (static_cast<size_t>(first & 63) << 6) | (second & 63u);
}

}  // namespace

PlainFinder::PlainFinder(std::string_view needle, bool matchCase) : needle_(needle), matchCase_(matchCase) {
  if (!matchCase) {
    for (char& c : needle_) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  }
  const int32_t m = size();
  if (m < 2) return;
  const auto bucket = [&](int32_t k) {
    return PairBucket(static_cast<unsigned char>(needle_[static_cast<size_t>(k - 1)]),
                      static_cast<unsigned char>(needle_[static_cast<size_t>(k)]));
  };
  // Shift so that the rightmost earlier occurrence of the window's last pair
  // lines up with it; pairs the needle lacks allow the whole needle but one.
  shift_.fill(static_cast<uint8_t>(std::min(m - 1, 255)));
  const size_t last = bucket(m - 1);
  shiftAfterCandidate_ = m - 1;
  for (int32_t k = 1; k <= m - 2; ++k) {
    shift_[bucket(k)] = static_cast<uint8_t>(std::min(m - 1 - k, 255));
    if (bucket(k) == last) shiftAfterCandidate_ = m - 1 - k;
  }
  shift_[last] = 0;
}

int32_t PlainFinder::FindForward(Subject subject, int32_t from) const {
  return matchCase_ ? Forward<false>(subject, from) : Forward<true>(subject, from);
}

int32_t PlainFinder::FindBackward(Subject subject, int32_t last) const {
  return matchCase_ ? Backward<false>(subject, last) : Backward<true>(subject, last);
}

template <bool kFold>
bool PlainFinder::EqualAt(const unsigned char* at) const {
  if (!kFold) return std::memcmp(at, needle_.data(), needle_.size()) == 0;
  for (size_t k = 0; k < needle_.size(); ++k) {
    if (kFoldTable[at[k]] != static_cast<unsigned char>(needle_[k])) return false;
  }
  return true;
}

template <bool kFold>
int32_t PlainFinder::Forward(Subject subject, int32_t from) const {
  const int32_t m = size();
  if (from > subject.size - m) return -1;
  if (m == 0) return from;
  const unsigned char* text = subject.data;
  const unsigned char first = static_cast<unsigned char>(needle_[0]);
  if (m == 1) {
    if (!kFold || !IsAsciiLetter(first)) {
      const void* hit = std::memchr(text + from, first, static_cast<size_t>(subject.size - from));
      return hit == nullptr ? -1 : static_cast<int32_t>(static_cast<const unsigned char*>(hit) - text);
    }
    for (int32_t p = from; p < subject.size; ++p) {
      if (kFoldTable[text[p]] == first) return p;
    }
    return -1;
  }
  const int64_t size = subject.size;
  int64_t end = int64_t{from} + m - 1;  // the window's last character
  while (end < size) {
    const uint8_t shift = shift_[PairBucket(Key<kFold>(text[end - 1]), Key<kFold>(text[end]))];
    if (shift != 0) {
      end += shift;
      continue;
    }
    if (EqualAt<kFold>(text + end - m + 1)) return static_cast<int32_t>(end - m + 1);
    end += shiftAfterCandidate_;
  }
  return -1;
}

template <bool kFold>
int32_t PlainFinder::Backward(Subject subject, int32_t last) const {
  const int32_t m = size();
  last = std::min(last, subject.size - m);
  if (last < 0 || m == 0) return last < 0 ? -1 : last;
  const unsigned char first = static_cast<unsigned char>(needle_[0]);
  for (int32_t p = last; p >= 0; --p) {
    if (Key<kFold>(subject.data[p]) == first && EqualAt<kFold>(subject.data + p)) return p;
  }
  return -1;
}

}  // namespace weft
