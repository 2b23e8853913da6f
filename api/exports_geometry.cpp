// Exports of the geometry: columns, pixels and cells, and text positions.
// Rows, columns and indices cross 1-based; pixels, distances and extents pass
// as they are. A null point record is left unwritten.
#include "api/boundary.h"
#include "api/export.h"
#include "api/library.h"
#include "geometry/columns.h"
#include "geometry/positions.h"

using weft::OneBased;
using weft::TPoint;
using weft::TStringGrid;
using weft::WithGrid;
using weft::ZeroBased;

namespace {

// Writes `operation(grid)` into the host's point record.
template <typename Operation>
void AnswerPoint(int32_t handle, WeftPoint* record, Operation&& operation) {
  if (record == nullptr) return;
  WithGrid(handle, [&](TStringGrid& grid) { *record = operation(grid); });
}

// Pixels and extents, which cross as they are.
WeftPoint Unconverted(TPoint point) { return {point.column, point.row}; }

}  // namespace

extern "C" {

WEFT_EXPORT int32_t WEFT_CALL VisualColumnFor(int32_t handle, int32_t column, int32_t row) {
  return WithGrid(handle, 0,
                  [&](TStringGrid& grid) { return OneBased(weft::VisualColumnFor(grid, ZeroBased(column, row))); });
}

WEFT_EXPORT int32_t WEFT_CALL NonTabbedToTabbedIndex(int32_t handle, int32_t index) {
  return WithGrid(handle, 0,
                  [&](TStringGrid& grid) { return OneBased(weft::NonTabbedToTabbedIndex(grid, ZeroBased(index))); });
}

WEFT_EXPORT int32_t WEFT_CALL IndexFromPixelWidth(const char* text, int32_t length, int32_t cellWidth, int32_t tabWidth,
                                                  int32_t pixelX) {
  return weft::IndexFromPixelWidth(text, length, cellWidth, tabWidth, pixelX);
}

WEFT_EXPORT void WEFT_CALL CellForPoint(int32_t handle, int32_t x, int32_t y, WeftPoint* cell) {
  AnswerPoint(handle, cell, [&](TStringGrid& grid) { return OneBased(weft::CellForPoint(grid, x, y)); });
}

WEFT_EXPORT void WEFT_CALL PointForCell(int32_t handle, int32_t column, int32_t row, WeftPoint* pixel) {
  AnswerPoint(handle, pixel,
              [&](TStringGrid& grid) { return Unconverted(weft::PointForCell(grid, ZeroBased(column, row))); });
}

WEFT_EXPORT void WEFT_CALL CellExtent(int32_t handle, WeftPoint* extent) {
  AnswerPoint(handle, extent, [](TStringGrid& grid) { return Unconverted(weft::CellExtent(grid)); });
}

WEFT_EXPORT void WEFT_CALL SetTopCorner(int32_t handle, int32_t x, int32_t y) {
  WithGrid(handle, [&](TStringGrid& grid) { grid.SetTopCorner(x, y); });
}

WEFT_EXPORT int32_t WEFT_CALL AtPoint(int32_t handle, int32_t column, int32_t row) {
  return WithGrid(handle, 0, [&](TStringGrid& grid) { return weft::AtPoint(grid, ZeroBased(column, row)); });
}

WEFT_EXPORT void WEFT_CALL PointForIndex(int32_t handle, int32_t index, WeftPoint* point) {
  AnswerPoint(handle, point, [&](TStringGrid& grid) { return OneBased(weft::PointForIndex(grid, ZeroBased(index))); });
}

WEFT_EXPORT int32_t WEFT_CALL IndexForPoint(int32_t handle, int32_t column, int32_t row) {
  return WithGrid(handle, 0,
                  [&](TStringGrid& grid) { return OneBased(weft::IndexForPoint(grid, ZeroBased(column, row))); });
}

WEFT_EXPORT void WEFT_CALL PointAfter(int32_t handle, int32_t column, int32_t row, WeftPoint* point) {
  AnswerPoint(handle, point,
              [&](TStringGrid& grid) { return OneBased(weft::PointAfter(grid, ZeroBased(column, row))); });
}

WEFT_EXPORT void WEFT_CALL PointBefore(int32_t handle, int32_t column, int32_t row, WeftPoint* point) {
  AnswerPoint(handle, point,
              [&](TStringGrid& grid) { return OneBased(weft::PointBefore(grid, ZeroBased(column, row))); });
}

WEFT_EXPORT void WEFT_CALL PointAtDistanceFrom(int32_t handle, int32_t distance, int32_t column, int32_t row,
                                               WeftPoint* point) {
  AnswerPoint(handle, point, [&](TStringGrid& grid) {
    return OneBased(weft::PointAtDistanceFrom(grid, distance, ZeroBased(column, row)));
  });
}

}  // extern "C"
