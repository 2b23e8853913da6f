// Integer helpers for positions and pixels. Sums of row lengths and products with
// pixel sizes are formed in 64 bits and clamped back into int32 at the end, so
// no host value can make them wrap.
#ifndef WEFT_BASE_INT_MATH_H_
#define WEFT_BASE_INT_MATH_H_

#include <cstdint>
#include <limits>

namespace weft {

inline int32_t ClampToInt32(int64_t value) {
  constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
  constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value < kLowest ? kLowest : value > kHighest ? kHighest : value);
}

// Cell widths, line heights and tab widths below 1 count as 1: a cell is at
// least one pixel and a tab at least one column, and nothing divides by zero.
inline int32_t AtLeastOne(int32_t value) { return value < 1 ? 1 : value; }

// The columns from `column` (0 or more) to the next tab stop, every
// `tabWidth` (1 or more) columns: 1 to tabWidth.
inline int64_t ColumnsToTabStop(int64_t column, int64_t tabWidth) { return tabWidth - column % tabWidth; }

}  // namespace weft

#endif  // WEFT_BASE_INT_MATH_H_
