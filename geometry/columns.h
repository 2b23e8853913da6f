// Columns, tabs and pixels of a fixed-pitch character grid.
//
// Three coordinates meet here:
//  - a column: a character index within a row, a tab counting 1;
//  - a visual column: that index with every tab advanced to the next multiple
//    of the tab width;
//  - a window pixel: the visual column times the cell width and the row times
//    the line height, less the grid's top corner (its scroll offset).
// Painting places its runs and fills with PixelXOf and PixelYOf, the same
// mapping that PointForCell answers and CellForPoint inverts, so what is drawn
// and what is hit-tested agree.
//
// Rows, columns and visual columns are 0-based. Pixel points are TPoints whose
// column holds x and whose row holds y. Every function walks at most one row in
// place, except CellExtent and NonTabbedToTabbedIndex, which walk the rows;
// nothing allocates.
//
// Arguments the host may get wrong get sound answers rather than faults:
//  - A row outside the text (negative, past the last row, any row of a grid
//    without rows) reads as an empty row: the cell grid alone places it, its
//    columns are not expanded, and AtPoint finds a line feed there.
//  - A cell width, line height or tab width below 1 counts as 1, everywhere
//    it is used, so the mappings stay each other's inverses.
//  - A null text, or a negative length, is an empty text.
//  - Results that would leave int32 are clamped into it.
#ifndef WEFT_GEOMETRY_COLUMNS_H_
#define WEFT_GEOMETRY_COLUMNS_H_

#include <cstdint>

#include "base/point.h"
#include "text/string_grid.h"

namespace weft {

// The visual column at which character n of the text starts; for n = length,
// where the text ends. Indices at or past the end count one column each; an n
// below 1 gives 0.
int32_t VisualColumn(const char* text, int32_t length, int32_t n, int32_t tabWidth);
// The same over a row of the grid, at the configured tab width.
int32_t VisualColumn(const TStringGrid& grid, int32_t row, int32_t n);

// The caret index nearest pixel x of a row drawn from pixel 0. A pixel on the
// left half of a character gives the caret before it, on the right half the
// caret after it; the half of a tab is half a full tab stop, even for a tab
// narrowed by the stop before it. Past the text each whole cell adds one, with
// no rounding. Answers 1-based, as the host's own call does; this is the one
// 1-based answer inside the library.
int32_t IndexFromPixelWidth(const char* text, int32_t length, int32_t cellWidth, int32_t tabWidth, int32_t pixelX);

// The visual column of a position; the column itself for a column below 1 or
// a row outside the text.
int32_t VisualColumnFor(const TStringGrid& grid, TPoint position);

// The position under window pixel (x, y). Within a row's line the column is
// the nearest caret, tabs expanded; elsewhere (left of the text, above row 0,
// below the last row) it comes from the cell grid alone, the row being held
// at 0 above the text and not held below it.
TPoint CellForPoint(const TStringGrid& grid, int32_t x, int32_t y);
// The window pixel of the top-left corner of a position's cell: (x, y).
TPoint PointForCell(const TStringGrid& grid, TPoint position);
// The two halves of PointForCell, for painting.
int32_t PixelXOf(const TStringGrid& grid, TPoint position);
int32_t PixelYOf(const TStringGrid& grid, int32_t row);
// The window pixel x at which a row's text ends.
int32_t RowEndPixelX(const TStringGrid& grid, int32_t row);

// (widest row's visual width in columns, number of rows).
TPoint CellExtent(const TStringGrid& grid);

// The character at a position as 0 to 255, or a line feed (10) at or past
// the row's end, before its start, and on rows outside the text.
int32_t AtPoint(const TStringGrid& grid, TPoint position);

// Maps a linear index into the text as it was before SetText turned its
// indentation into tabs (each tab standing for the spaces up to the next
// multiple of the indent width) to the index of the same character in the
// grid. A space a tab replaced maps to the tab when it is the first of them
// and after the tab otherwise; a CR maps to its row's end and an LF to the
// start of the next row. An index past the text answers the grid's text
// length plus 2, as though the last row had a line break too. When SetText
// kept the text as it was (it had tabs), the index is its own answer.
int32_t NonTabbedToTabbedIndex(const TStringGrid& grid, int32_t index);

}  // namespace weft

#endif  // WEFT_GEOMETRY_COLUMNS_H_
