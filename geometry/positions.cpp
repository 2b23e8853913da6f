#include "geometry/positions.h"

#include <algorithm>

#include "base/int_math.h"

namespace weft {

TPoint PointForIndex(const TStringGrid& grid, int32_t index) {
  int64_t rowStart = 0;
  int32_t row = 0;
  for (const TRowString& text : grid.rows()) {
    const int64_t nextRowStart = rowStart + text.size() + 2;
    if (index < nextRowStart) return {static_cast<int32_t>(index - rowStart), row};
    rowStart = nextRowStart;
    ++row;
  }
  return grid.LastRowAndColumn();
}

int32_t IndexForPoint(const TStringGrid& grid, TPoint position) {
  if (position.row < 1) return position.column;
  // Every row before the position counts its line break, rows past the last
  // one included; only the rows of the text add characters.
  int64_t index = int64_t{position.row} * 2 + position.column;
  const TRowsView rows = grid.rows();
  const int32_t rowsWithText = std::min(position.row, grid.NumberOfRows());
  for (int32_t row = 0; row < rowsWithText; ++row) index += rows[row].size();
  return ClampToInt32(index);
}

TPoint PointAfter(const TStringGrid& grid, TPoint position) {
  if (position == grid.LastRowAndColumn()) return position;
  if (position.column == grid.RowLength(position.row)) return {0, ClampToInt32(int64_t{position.row} + 1)};
  return {ClampToInt32(int64_t{position.column} + 1), position.row};
}

TPoint PointBefore(const TStringGrid& grid, TPoint position) {
  if (position.column != 0) return {ClampToInt32(int64_t{position.column} - 1), position.row};
  if (position.row <= 0) return position;
  return {grid.RowLength(position.row - 1), position.row - 1};
}

TPoint PointAtDistanceFrom(const TStringGrid& grid, int32_t distance, TPoint position) {
  if (distance == 0) return position;
  // Counted from the row's start, steps back from a column past the row's end
  // would land on later rows.
  if (distance < 0) return {ClampToInt32(int64_t{position.column} + distance), position.row};
  int64_t taken = -int64_t{position.column};  // steps from the start of the row
  int32_t row = position.row;
  if (row < 0) {
    // Rows before the text are empty: one step each, for the line break.
    if (taken >= distance) return {ClampToInt32(distance - taken), row};
    const int64_t landingRow = row + (distance - taken);
    if (landingRow < 0) return {0, static_cast<int32_t>(landingRow)};
    taken -= row;
    row = 0;
  }
  const TRowsView rows = grid.rows();
  for (; row < grid.NumberOfRows(); ++row) {
    const int32_t length = rows[row].size();
    if (length + taken >= distance) return {ClampToInt32(distance - taken), row};
    taken += length + 1;
  }
  return grid.LastRowAndColumn();
}

}  // namespace weft
