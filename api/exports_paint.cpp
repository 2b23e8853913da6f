// The painting export.
#include "api/boundary.h"
#include "api/export.h"
#include "api/library.h"
#include "paint/display.h"

using weft::ZeroBased;

namespace {

// Converts the record's eight coordinates to 0-based in place, as the host
// expects to find them afterwards.
weft::TPoint TakeZeroBased(int32_t& column, int32_t& row) {
  column = ZeroBased(column);
  row = ZeroBased(row);
  return {column, row};
}

}  // namespace

extern "C" {

WEFT_EXPORT void WEFT_CALL Display(int32_t handle, WeftDisplay* display) {
  if (display == nullptr) return;
  weft::WithGrid(handle, [&](weft::TStringGrid& grid) {
    weft::TDisplayRequest request;
    request.dc = static_cast<HDC>(display->deviceContext);
    request.from = TakeZeroBased(display->fromColumn, display->fromRow);
    request.to = TakeZeroBased(display->toColumn, display->toRow);
    request.selectionStart = TakeZeroBased(display->selectionStartColumn, display->selectionStartRow);
    request.selectionEnd = TakeZeroBased(display->selectionEndColumn, display->selectionEndRow);
    weft::Display(grid, request);
  });
}

}  // extern "C"
