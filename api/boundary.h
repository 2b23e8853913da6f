// Rows, columns and indices cross the library's boundary 1-based and live
// 0-based inside. The conversions saturate instead of overflowing, so the
// extreme values a host might pass stay out of range rather than wrapping
// into it.
#ifndef WEFT_API_BOUNDARY_H_
#define WEFT_API_BOUNDARY_H_

#include <cstdint>
#include <limits>

#include "base/point.h"
#include "weftcore.h"

namespace weft {

inline int32_t ZeroBased(int32_t oneBased) {
  return oneBased == std::numeric_limits<int32_t>::min() ? oneBased : oneBased - 1;
}

inline int32_t OneBased(int32_t zeroBased) {
  return zeroBased == std::numeric_limits<int32_t>::max() ? zeroBased : zeroBased + 1;
}

inline TPoint ZeroBased(int32_t column, int32_t row) { return {ZeroBased(column), ZeroBased(row)}; }

inline WeftPoint OneBased(TPoint point) { return {OneBased(point.column), OneBased(point.row)}; }

}  // namespace weft

#endif  // WEFT_API_BOUNDARY_H_
