// The incremental refresh that ends every edit.
//
// After an edit has changed the rows, RefreshAfterEdit re-scans from the token
// that starts the row before the edit until the new tokens fall back in step
// with the old ones, rebuilds the token and attribute lists of only the rows
// it re-scanned, moves the lists of the rows after them with their rows (one
// move of each vector, whatever the rows hold), and invalidates the changed
// band of the host's window.
//
// The re-scan stops early only where stopping is exact: at the last token of
// a row after the edit, equal to the old one of that row (columns, row span,
// kind and text), with the same attributes in effect after it as before.
// Lists hold no row numbers, so an edit that adds or removes rows stops as
// early as one inside a row. Otherwise the re-scan runs to the end of the
// text. An edit inside one row first tries the row alone: it re-scans from a
// token just before the edit (near the row's start, the last token of the
// row before, whose text the edit may change) to the first token past it
// that an old token matches (moved with the text), splices the lists there
// and invalidates that row only, so a keystroke in a long row costs a copy of
// the row's lists rather than a scan of the row.
// Afterwards each row's lists hold exactly the tokens that start on it and
// the changes they need, as a full rebuild would paint them.
#ifndef WEFT_TEXT_REFRESH_H_
#define WEFT_TEXT_REFRESH_H_

#include "platform/platform.h"
#include "base/point.h"

namespace weft {

class TStringGrid;

enum class TEditKind { kInsertion = 0, kDeletion = 1 };

// `start` and `end` as the edit defines them: for an insertion, where the new
// text begins and the point just after it; for a deletion, the first deleted
// character and the last deleted point in the text before the deletion.
// `window` may be null: then nothing is invalidated.
void RefreshAfterEdit(TStringGrid& grid, TEditKind kind, TPoint start, TPoint end, HWND window);

}  // namespace weft

#endif  // WEFT_TEXT_REFRESH_H_
