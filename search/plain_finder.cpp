#include "search/plain_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "search/case_fold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace weft {
namespace {

#if defined(__SSE2__)
constexpr bool kHaveVectors = true;
#else
constexpr bool kHaveVectors = false;
#endif

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

// How common a byte is in source text, roughly: white space first, then
// lower-case letters in the order of English, punctuation, capitals, digits.
// Only the order matters.
int Commonness(unsigned char c, bool folded) {
  static constexpr std::string_view kLetters = "etaoinsrhldcumfpgwybvkxjqz";
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return 100;
  const unsigned char lower = FoldCase(c);
  if (lower >= 'a' && lower <= 'z') {
    const int rank = static_cast<int>(kLetters.find(static_cast<char>(lower)));
    return (folded || c == lower) ? 90 - rank : 40 - rank / 2;
  }
  if (c == ':' || c == '.' || c == '(' || c == ')' || c == '\'') return 45;
  if (c >= '0' && c <= '9') return 20;
  if (c < 128) return 25;
  return 5;
}

}  // namespace

TPlainFinder::TPlainFinder(std::string_view needle, bool matchCase, TStrategy strategy)
    : needle_(needle), matchCase_(matchCase) {
  if (!matchCase) {
    for (char& c : needle_) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  }
  if (size() < 2) return;
  useProbes_ = kHaveVectors && strategy == TStrategy::kBest;
  if (useProbes_) {
    PrepareProbes();
  } else {
    PrepareHorspool();
  }
}

// The rarest position, and the rarest after it with a different byte when
// there is one.
void TPlainFinder::PrepareProbes() {
  const auto byte = [&](int32_t k) { return static_cast<unsigned char>(needle_[static_cast<size_t>(k)]); };
  int32_t rarest = 0;
  for (int32_t k = 1; k < size(); ++k) {
    if (Commonness(byte(k), !matchCase_) < Commonness(byte(rarest), !matchCase_)) rarest = k;
  }
  const auto cost = [&](int32_t k) { return Commonness(byte(k), !matchCase_) + (byte(k) == byte(rarest) ? 1000 : 0); };
  int32_t second = -1;
  for (int32_t k = 0; k < size(); ++k) {
    if (k != rarest && (second < 0 || cost(k) < cost(second))) second = k;
  }
  probeOffsets_[0] = rarest;
  probeOffsets_[1] = second;
}

// Shift so that the rightmost earlier occurrence of the window's last pair
// lines up with it; pairs the needle lacks allow the whole needle but one.
void TPlainFinder::PrepareHorspool() {
  const int32_t m = size();
  const auto bucket = [&](int32_t k) {
    return PairBucket(static_cast<unsigned char>(needle_[static_cast<size_t>(k - 1)]),
                      static_cast<unsigned char>(needle_[static_cast<size_t>(k)]));
  };
  shift_.fill(static_cast<uint8_t>(std::min(m - 1, 255)));
  const size_t last = bucket(m - 1);
  shiftAfterCandidate_ = m - 1;
  for (int32_t k = 1; k <= m - 2; ++k) {
    shift_[bucket(k)] = static_cast<uint8_t>(std::min(m - 1 - k, 255));
    if (bucket(k) == last) shiftAfterCandidate_ = m - 1 - k;
  }
  shift_[last] = 0;
}

int32_t TPlainFinder::FindForward(TSubject subject, int32_t from) const {
  return matchCase_ ? Forward<false>(subject, from) : Forward<true>(subject, from);
}

int32_t TPlainFinder::FindBackward(TSubject subject, int32_t last) const {
  return matchCase_ ? Backward<false>(subject, last) : Backward<true>(subject, last);
}

template <bool kFold>
bool TPlainFinder::EqualAt(const unsigned char* at) const {
  if (!kFold) return std::memcmp(at, needle_.data(), needle_.size()) == 0;
  for (size_t k = 0; k < needle_.size(); ++k) {
    if (kFoldTable[at[k]] != static_cast<unsigned char>(needle_[k])) return false;
  }
  return true;
}

template <bool kFold>
int32_t TPlainFinder::Forward(TSubject subject, int32_t from) const {
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
  return useProbes_ ? ForwardByProbes<kFold>(subject, from) : ForwardByHorspool<kFold>(subject, from);
}

template <bool kFold>
int32_t TPlainFinder::ForwardByProbes(TSubject subject, int32_t from) const {
  const unsigned char* text = subject.data;
  const int32_t last = subject.size - size();  // the last possible start
  int32_t p = from;
#if defined(__SSE2__)
  // ORing 0x20 maps exactly A-Z onto a-z among the bytes that could equal a
  // folded letter, so a folded probe compares in one step.
  __m128i probes[2];
  __m128i folds[2];
  for (int k = 0; k < 2; ++k) {
    const unsigned char probe = static_cast<unsigned char>(needle_[static_cast<size_t>(probeOffsets_[k])]);
    probes[k] = _mm_set1_epi8(static_cast<char>(probe));
    folds[k] = _mm_set1_epi8(kFold && IsAsciiLetter(probe) ? 0x20 : 0);
  }
  // The starts from `at` on, 16 of them, where both probes match, as bits.
  const auto candidates = [&](int32_t at) {
    __m128i bytes0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + probeOffsets_[0]));
    __m128i bytes1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + probeOffsets_[1]));
    if (kFold) {
      bytes0 = _mm_or_si128(bytes0, folds[0]);
      bytes1 = _mm_or_si128(bytes1, folds[1]);
    }
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(bytes0, probes[0]), _mm_cmpeq_epi8(bytes1, probes[1]));
    return static_cast<uint32_t>(_mm_movemask_epi8(both));
  };
  // 32 starts a step, so most steps end in one test of both blocks.
  for (; p <= last - 31; p += 32) {
    for (uint32_t mask = candidates(p) | candidates(p + 16) << 16; mask != 0; mask &= mask - 1) {
      const int32_t at = p + std::countr_zero(mask);
      if (EqualAt<kFold>(text + at)) return at;
    }
  }
  for (; p <= last - 15; p += 16) {
    for (uint32_t mask = candidates(p); mask != 0; mask &= mask - 1) {
      const int32_t at = p + std::countr_zero(mask);
      if (EqualAt<kFold>(text + at)) return at;
    }
  }
#endif
  for (; p <= last; ++p) {
    if (EqualAt<kFold>(text + p)) return p;
  }
  return -1;
}

template <bool kFold>
int32_t TPlainFinder::ForwardByHorspool(TSubject subject, int32_t from) const {
  const unsigned char* text = subject.data;
  const int32_t m = size();
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
int32_t TPlainFinder::Backward(TSubject subject, int32_t last) const {
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
