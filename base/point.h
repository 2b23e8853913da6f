// A text position: (column, row), both 0-based inside the library. The column
// indexes the row's stored characters (a tab counts 1); column == row length
// is the row's line-end position, which stands for its line break.
#ifndef WEFT_BASE_POINT_H_
#define WEFT_BASE_POINT_H_

#include <cstdint>

namespace weft {

struct TPoint {
  int32_t column = 0;
  int32_t row = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
  // Text order: by row, then column.
  friend bool operator<(const TPoint& a, const TPoint& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  }
  friend bool operator<=(const TPoint& a, const TPoint& b) { return !(b < a); }
};

}  // namespace weft

#endif  // WEFT_BASE_POINT_H_
