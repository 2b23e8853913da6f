// Exports of search and name matching. They touch no grid.
#include "api/boundary.h"
#include "api/export.h"
#include "search/find_pattern.h"
#include "search/name_match.h"

extern "C" {

// The text is read in place, so the size hint, which would size a working
// copy of it, is not read.
WEFT_EXPORT int32_t WEFT_CALL FindPattern(const char* text, int32_t /*sizeHint*/, const char* pattern,
                                          int32_t* matchLength, int32_t start, int32_t regularExpression,
                                          int32_t matchCase, int32_t forward) {
  const int32_t found = weft::FindPattern(text, pattern, matchLength, weft::ZeroBased(start),
                                          regularExpression != 0, matchCase != 0, forward != 0);
  return found < 0 ? 0 : weft::OneBased(found);
}

WEFT_EXPORT int32_t WEFT_CALL BeginsWithIgnoreCase(const char* a, const char* b, int32_t count, int32_t ignoreCase) {
  return weft::BeginsWithIgnoreCase(a, b, count, ignoreCase != 0) ? 1 : 0;
}

WEFT_EXPORT int32_t WEFT_CALL CalcMatchWeight(const char* a, int32_t lengthA, const char* b, int32_t lengthB) {
  return weft::CalcMatchWeight(a, lengthA, b, lengthB);
}

}  // extern "C"
