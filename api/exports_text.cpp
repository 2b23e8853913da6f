// Exports of the text store: whole text in and out, and the row queries.
#include "api/boundary.h"
#include "api/export.h"
#include "api/library.h"

using weft::TStringGrid;
using weft::ZeroBased;
using weft::WithGrid;

extern "C" {

WEFT_EXPORT void WEFT_CALL SetText(int32_t handle, const char* text, int32_t length, int32_t convertSpaces) {
  WithGrid(handle, [&](TStringGrid& grid) { grid.SetText(text, length, convertSpaces != 0); });
}

WEFT_EXPORT int32_t WEFT_CALL Text(int32_t handle, char* buffer, int32_t size, int32_t expandTabs) {
  return WithGrid(handle, -1, [&](TStringGrid& grid) { return grid.Text(buffer, size, expandTabs != 0); });
}

WEFT_EXPORT int32_t WEFT_CALL StringAtRow(int32_t handle, int32_t row, char* buffer, int32_t size) {
  return WithGrid(handle, 0, [&](TStringGrid& grid) { return grid.StringAtRow(ZeroBased(row), buffer, size); });
}

WEFT_EXPORT int32_t WEFT_CALL NumberOfRows(int32_t handle) {
  return WithGrid(handle, 0, [](TStringGrid& grid) { return grid.NumberOfRows(); });
}

WEFT_EXPORT int32_t WEFT_CALL ColumnsInRow(int32_t handle, int32_t row) {
  return WithGrid(handle, 0, [&](TStringGrid& grid) { return grid.RowLength(ZeroBased(row)); });
}

WEFT_EXPORT void WEFT_CALL LastRowAndColumn(int32_t handle, WeftPoint* point) {
  if (point == nullptr) return;
  WithGrid(handle, [&](TStringGrid& grid) {
    *point = weft::OneBased(grid.LastRowAndColumn());
  });
}

}  // extern "C"
