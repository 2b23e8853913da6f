// Exports of the keyword table, the rebuild and the token cursor.

#include "api/boundary.h"
#include "api/export.h"
#include "api/library.h"
#include "text/rebuild.h"
#include "text/token_cursor.h"

using weft::OneBased;
using weft::THandedToken;
using weft::TStringGrid;
using weft::WithGrid;

namespace {

// Fills the host's record from a handed-out token and answers its text
// length, or -1 (record untouched) when there is none.
int32_t Deliver(const THandedToken& handed, WeftTokenRecord* record) {
  if (!handed) return -1;
  if (record != nullptr) {
    *record = {OneBased(handed.start.column), OneBased(handed.start.row), OneBased(handed.end.column),
               OneBased(handed.end.row), handed.text, handed.length, handed.kind};
  }
  return handed.length;
}

}  // namespace

extern "C" {

WEFT_EXPORT void WEFT_CALL AddKeyword(const char* keyword) {
  if (keyword != nullptr) weft::TheLibrary().shared.keywords.Add(keyword);
}

WEFT_EXPORT void WEFT_CALL DeleteKeyword(const char* keyword) {
  if (keyword != nullptr) weft::TheLibrary().shared.keywords.Delete(keyword);
}

WEFT_EXPORT void WEFT_CALL RebuildDataStructures(int32_t handle) {
  WithGrid(handle, [](TStringGrid& grid) { weft::RebuildTokens(grid); });
}

WEFT_EXPORT void WEFT_CALL RewindTokens(int32_t handle) {
  WithGrid(handle, [](TStringGrid& grid) { weft::RewindTokens(grid); });
}

WEFT_EXPORT int32_t WEFT_CALL NextToken(int32_t handle, WeftTokenRecord* token) {
  return WithGrid(handle, -1, [&](TStringGrid& grid) { return Deliver(weft::NextToken(grid), token); });
}

WEFT_EXPORT int32_t WEFT_CALL PreviousToken(int32_t handle, WeftTokenRecord* token) {
  return WithGrid(handle, -1, [&](TStringGrid& grid) { return Deliver(weft::PreviousToken(grid), token); });
}

WEFT_EXPORT int32_t WEFT_CALL TokenAt(int32_t handle, int32_t column, int32_t row, WeftTokenRecord* token) {
  return WithGrid(handle, -1, [&](TStringGrid& grid) {
    return Deliver(weft::TokenAt(grid, weft::ZeroBased(column, row)), token);
  });
}

}  // extern "C"
