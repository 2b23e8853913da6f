#include "search/name_match.h"

#include <algorithm>

#include "search/case_fold.h"

namespace weft {
namespace {

unsigned char Folded(const char* s, int32_t i) { return FoldCase(static_cast<unsigned char>(s[i])); }

}  // namespace

bool BeginsWithIgnoreCase(const char* a, const char* b, int32_t count, bool ignoreCase) {
  if (count < 1) return true;
  if (a == nullptr || b == nullptr) return false;
  for (int32_t k = 0; k < count; ++k) {
    const bool same = ignoreCase ? Folded(a, k) == Folded(b, k) : a[k] == b[k];
    if (!same) return false;
  }
  return true;
}

int32_t CalcMatchWeight(const char* a, int32_t lengthA, const char* b, int32_t lengthB) {
  const int32_t longest = std::max(lengthA, lengthB);
  int64_t matches = 0;
  if (a != nullptr && b != nullptr) {
    int32_t i = 0;
    int32_t j = 0;
    while (i < lengthA && j < lengthB) {
      if (Folded(a, i) == Folded(b, j)) {
        ++matches;
        ++i;
        ++j;
      } else if (j + 1 < lengthB && Folded(a, i) == Folded(b, j + 1)) {
        ++j;  // an extra character in b; the next pass counts the pair
      } else if (i + 1 < lengthA && Folded(a, i + 1) == Folded(b, j)) {
        ++i;  // an extra character in a
      } else {
        ++i;
        ++j;
      }
    }
  }
  if (matches == longest) return 100;
  return static_cast<int32_t>(matches * 100 / longest);
}

}  // namespace weft
