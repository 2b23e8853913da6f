// Text positions, linear character indices, and movement through the text.
//
// A linear index counts every character of every row and 2 for each row's
// line break (CR LF), so the index of (column, row) is the sum of the lengths
// plus 2 of the rows before it, plus the column. The last row counts its 2
// too: indices run 2 past the end of the text before they are clamped. A step
// counts each character and each line break as one. Only row lengths matter
// here: a tab is one character.
//
// Everything is 0-based. PointForIndex, IndexForPoint and PointAtDistanceFrom
// walk the row lengths in place, O(rows); PointAfter and PointBefore read one
// row. Nothing allocates.
//
// Arguments the host may get wrong get sound answers rather than faults:
//  - A row outside the text (negative, past the last row, any row of a grid
//    without rows) reads as an empty row: IndexForPoint counts 2 for each
//    such row before the position, and PointAfter and PointBefore step
//    across such rows one line break at a time.
//  - The end of a grid without rows is (0, 0); PointForIndex answers it for
//    every index there.
//  - PointAtDistanceFrom answers the end of the text when its walk passes
//    the last row, and so for any start row past the last row.
//  - Results that would leave int32 are clamped into it.
#ifndef WEFT_GEOMETRY_POSITIONS_H_
#define WEFT_GEOMETRY_POSITIONS_H_

#include <cstdint>

#include "base/point.h"
#include "text/string_grid.h"

namespace weft {

// The position of a linear index. An index on a row's CR is that row's
// line-end position, one on its LF the column after it; an index past the
// last row's line break is the end of the text. A negative index gives a
// negative column on row 0.
TPoint PointForIndex(const TStringGrid& grid, int32_t index);

// The linear index of a position. The column is not held to its row, so a
// column past the row's end gives an index on its line break or beyond.
int32_t IndexForPoint(const TStringGrid& grid, TPoint position);

// One step forward: the next column, or from a line-end position the start of
// the next row. The end of the text is its own successor; a column already
// past its row's end keeps moving right.
TPoint PointAfter(const TStringGrid& grid, TPoint position);

// One step back: the previous column, or from column 0 the previous row's
// line-end position. A position at column 0 of row 0 or above stays put.
TPoint PointBefore(const TStringGrid& grid, TPoint position);

// The position `distance` steps forward, the same as that many PointAfter
// calls from any position within a row. A distance that stays within the
// start row gives (column + distance, row), so a negative one moves left on
// that row only.
TPoint PointAtDistanceFrom(const TStringGrid& grid, int32_t distance, TPoint position);

}  // namespace weft

#endif  // WEFT_GEOMETRY_POSITIONS_H_
