// Rows, columns and indices cross the library's boundary 1-based and live
// 0-based inside. The conversions saturate instead of overflowing, so the
// extreme values a host might pass stay out of range rather than wrapping
// into it. INT32_MIN stays INT32_MIN both ways, so an answer that hands a
// host's INT32_MIN back unchanged gives it back as it came (INT32_MAX
// round-trips through INT32_MAX - 1).
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
  using TLimits = std::numeric_limits<int32_t>;
  return zeroBased == TLimits::min() || zeroBased == TLimits::max() ? zeroBased : zeroBased + 1;
}

inline TPoint ZeroBased(int32_t column, int32_t row) { return {ZeroBased(column), ZeroBased(row)}; }

inline WeftPoint OneBased(TPoint point) { return {OneBased(point.column), OneBased(point.row)}; }

}  // namespace weft

#endif  // WEFT_API_BOUNDARY_H_
