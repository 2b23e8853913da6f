// The edits: insert a character, insert a string (which may hold line
// breaks), delete a stretch; and TextInRect, which copies a stretch out.
// Every edit changes the rows and then refreshes the token and attribute
// lists incrementally, invalidating the changed band of `window` (if any).
//
// Positions are 0-based (column, row); ranges are inclusive, and an end
// column at or past its row's length stands for the row's line break. An
// edit that names a row outside the text changes nothing.
#ifndef WEFT_TEXT_EDITING_H_
#define WEFT_TEXT_EDITING_H_

#include <cstdint>

#include "platform/platform.h"
#include "base/point.h"

namespace weft {

class TStringGrid;

// Inserts `character` before `at`; any byte is stored as it is (a CR or LF
// does not split the row). A column past the row's end leaves the row as it
// is; the refresh still runs, as after any edit, so the row is invalidated
// and the token cursor placed as an edit there would.
void InsertCell(TStringGrid& grid, char character, TPoint at, HWND window);

// Inserts `text` at `at`: its lines are read as SetText reads them (see
// line_reader.h), the first joins the row there, each further line becomes a
// row of its own, and the rest of the row follows the last line. A column
// past the row's end appends. Answers the point just after the inserted text;
// at a row outside the text, `at` itself.
TPoint InsertString(TStringGrid& grid, const char* text, TPoint at, HWND window);

// Breaks the row at `at`: its characters from there on start a new row.
void SplitRow(TStringGrid& grid, TPoint at, HWND window);

// Deletes from `first` through `last`, both inclusive. An end column at or
// past its row's length takes the line break too, joining the next row; at
// the end of the text there is none to take. An end column below 0 ends the
// deletion with the line break before the end row. A start column outside
// its row is moved into it. A start or end row outside the text, an end row
// before the start row, or an end before the start on one row changes
// nothing.
void DeleteSection(TStringGrid& grid, TPoint first, TPoint last, HWND window);

// Copies the stretch from `first` through `last` into `buffer` with CR LF for
// line breaks, never more than `maxLength` characters plus a NUL, and
// answers the number of characters copied.
int32_t TextInRect(const TStringGrid& grid, TPoint first, TPoint last, char* buffer, int32_t maxLength);

}  // namespace weft

#endif  // WEFT_TEXT_EDITING_H_
