// Exports of the edits and of TextInRect.
#include "api/boundary.h"
#include "api/export.h"
#include "api/library.h"
#include "text/editing.h"

using weft::TStringGrid;
using weft::WithGrid;
using weft::ZeroBased;

namespace {

// The window to invalidate: the handle the host keeps at offset 56 of its
// view record. A null record edits without invalidating.
HWND WindowOf(const WeftView* view) { return view != nullptr ? static_cast<HWND>(view->window) : nullptr; }

}  // namespace

extern "C" {

WEFT_EXPORT void WEFT_CALL InsertCell(int32_t handle, int32_t character, int32_t column, int32_t row,
                                      const WeftView* view) {
  WithGrid(handle, [&](TStringGrid& grid) {
    weft::InsertCell(grid, static_cast<char>(character & 0xFF), ZeroBased(column, row), WindowOf(view));
  });
}

WEFT_EXPORT WeftPoint* WEFT_CALL InsertString(int32_t handle, const char* text, int32_t column, int32_t row,
                                              WeftPoint* end, const WeftView* view) {
  WithGrid(handle, [&](TStringGrid& grid) {
    const weft::TPoint at = ZeroBased(column, row);
    const weft::TPoint after = weft::InsertString(grid, text, at, WindowOf(view));
    // At a row outside the text the point goes back exactly as it came, even
    // where the 1-based conversion saturates.
    if (end != nullptr) *end = grid.HasRow(at.row) ? weft::OneBased(after) : WeftPoint{column, row};
  });
  return end;
}

WEFT_EXPORT void WEFT_CALL DeleteSection(int32_t handle, int32_t startColumn, int32_t startRow, int32_t endColumn,
                                         int32_t endRow, const WeftView* view) {
  WithGrid(handle, [&](TStringGrid& grid) {
    weft::DeleteSection(grid, ZeroBased(startColumn, startRow), ZeroBased(endColumn, endRow), WindowOf(view));
  });
}

WEFT_EXPORT int32_t WEFT_CALL TextInRect(int32_t handle, int32_t startColumn, int32_t startRow, int32_t endColumn,
                                         int32_t endRow, char* buffer, int32_t maxLength) {
  return WithGrid(handle, 0, [&](TStringGrid& grid) {
    return weft::TextInRect(grid, ZeroBased(startColumn, startRow), ZeroBased(endColumn, endRow), buffer, maxLength);
  });
}

}  // extern "C"
