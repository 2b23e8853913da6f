/* weftcore: the text engine of a Smalltalk code editor.
 *
 * The library keeps any number of grids (texts held as rows), cuts them into
 * Smalltalk tokens, colours and paints them, maps between pixels, cells,
 * positions and linear indices, applies edits with an incremental re-scan,
 * and searches text.
 *
 * Conventions of every export:
 *  - Rows, columns and linear character indices are 1-based.
 *  - Pixels, counts, lengths, colours and flags pass unchanged.
 *  - A point record holds column (or x, or a width) first, then row.
 *  - Records and buffers belong to the caller; the library keeps no pointer
 *    to them past the call, except a token record's text pointer, which
 *    stays valid until that token's row is re-scanned or the grid deleted.
 *  - A handle that names no live grid makes a per-grid export do nothing and
 *    answer its "none" value (-1 for token and text calls, 0 otherwise).
 *
 * On Windows every export uses the stdcall convention and the records have
 * the 32-bit layouts checked below. Elsewhere they are the same C structs
 * with natural alignment.
 */
#ifndef WEFTCORE_H
#define WEFTCORE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define WEFT_CALL __stdcall
#else
#define WEFT_CALL
#endif

typedef uint32_t WeftColor; /* COLORREF: 0x00BBGGRR */

typedef struct WeftPoint {
  int32_t x; /* column, x or width */
  int32_t y; /* row, y or height */
} WeftPoint;

typedef struct WeftStyle {
  int32_t fontIndex; /* 0 regular, 1 bold, 2 italic, 3 bold italic */
  WeftColor foreColor;
  WeftColor backColor;
  int32_t useDefaultForeColor;
  int32_t useDefaultBackColor;
} WeftStyle;

/* Styles: 0 strings, 1 character literals, 2 white space (also the blank
 * background), 3 numbers, 4 keywords, 5 other text and the default
 * attributes, 6 comments, 7 symbols. */
typedef struct WeftConfiguration {
  int32_t tabWidth;
  WeftStyle styles[8];
} WeftConfiguration;

typedef struct WeftLogFont { /* the layout of Win32 LOGFONTA */
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];
} WeftLogFont;

/* Display converts the eight coordinates to 0-based in place. */
typedef struct WeftDisplay {
  void *deviceContext;
  int32_t fromColumn, fromRow;
  int32_t toColumn, toRow;
  int32_t selectionStartColumn, selectionStartRow;
  int32_t selectionEndColumn, selectionEndRow;
  int32_t unused[3];
} WeftDisplay;

/* The host's view record; the library reads only the window handle. */
typedef struct WeftView {
  uint8_t hostFields[56];
  void *window;
} WeftView;

typedef struct WeftTokenRecord {
  int32_t startColumn, startRow;
  int32_t endColumn, endRow; /* inclusive */
  const char *text;          /* NUL-terminated, owned by the library */
  int32_t length;
  int32_t kind;
} WeftTokenRecord;

/* Library frame and grids */
int32_t WEFT_CALL CreateGrid(void);
void WEFT_CALL DeleteGrid(int32_t handle);
int32_t WEFT_CALL IsHandleOk(int32_t handle);
WeftPoint *WEFT_CALL VersionNumber(WeftPoint *version);

/* Settings. A tab width below 1 is taken as 1 and one above 1000 as 1000; a
 * point size beyond 1000 either way is taken as 1000 (or -1000). */
int32_t WEFT_CALL SetConfiguration(const WeftConfiguration *configuration);
void WEFT_CALL SetFont(const char *faceName, int32_t pointSize);
void WEFT_CALL GetLogFont(WeftLogFont *logFont);
void WEFT_CALL CellSize(WeftPoint *size);
void WEFT_CALL SetDefaultBackColor(int32_t handle, WeftColor color);
void WEFT_CALL SetDefaultForeColor(int32_t handle, WeftColor color);

/* Text store */
void WEFT_CALL SetText(int32_t handle, const char *text, int32_t length, int32_t convertSpaces);
int32_t WEFT_CALL Text(int32_t handle, char *buffer, int32_t size, int32_t expandTabs);
int32_t WEFT_CALL StringAtRow(int32_t handle, int32_t row, char *buffer, int32_t size);
int32_t WEFT_CALL NumberOfRows(int32_t handle);
int32_t WEFT_CALL ColumnsInRow(int32_t handle, int32_t row);
void WEFT_CALL LastRowAndColumn(int32_t handle, WeftPoint *point);

/* Editing. An edit naming a row outside the text changes nothing.
 * InsertString at such a row writes the given point back to `end`.
 * DeleteSection deletes from start through end, both inclusive; an end column
 * past its row's end takes the line break too, one below 1 ends the deletion
 * with the line break before the end row; a start column outside its row is
 * moved into it; a start or end row outside the text, or an end before the
 * start, changes nothing. TextInRect takes rows outside the text as the first
 * or last row. */
void WEFT_CALL InsertCell(int32_t handle, int32_t character, int32_t column, int32_t row,
                          const WeftView *view);
WeftPoint *WEFT_CALL InsertString(int32_t handle, const char *text, int32_t column, int32_t row,
                                  WeftPoint *end, const WeftView *view);
void WEFT_CALL DeleteSection(int32_t handle, int32_t startColumn, int32_t startRow,
                             int32_t endColumn, int32_t endRow, const WeftView *view);
int32_t WEFT_CALL TextInRect(int32_t handle, int32_t startColumn, int32_t startRow,
                             int32_t endColumn, int32_t endRow, char *buffer, int32_t maxLength);

/* Lexical analysis */
void WEFT_CALL AddKeyword(const char *keyword);
void WEFT_CALL DeleteKeyword(const char *keyword);
void WEFT_CALL RebuildDataStructures(int32_t handle);
void WEFT_CALL RewindTokens(int32_t handle);
int32_t WEFT_CALL NextToken(int32_t handle, WeftTokenRecord *token);
int32_t WEFT_CALL PreviousToken(int32_t handle, WeftTokenRecord *token);
int32_t WEFT_CALL TokenAt(int32_t handle, int32_t column, int32_t row, WeftTokenRecord *token);

/* Painting */
void WEFT_CALL Display(int32_t handle, WeftDisplay *display);

/* Geometry */
int32_t WEFT_CALL VisualColumnFor(int32_t handle, int32_t column, int32_t row);
int32_t WEFT_CALL NonTabbedToTabbedIndex(int32_t handle, int32_t index);
int32_t WEFT_CALL IndexFromPixelWidth(const char *text, int32_t length, int32_t cellWidth,
                                      int32_t tabWidth, int32_t pixelX);
void WEFT_CALL CellForPoint(int32_t handle, int32_t x, int32_t y, WeftPoint *cell);
void WEFT_CALL PointForCell(int32_t handle, int32_t column, int32_t row, WeftPoint *pixel);
void WEFT_CALL CellExtent(int32_t handle, WeftPoint *extent);
void WEFT_CALL SetTopCorner(int32_t handle, int32_t x, int32_t y);
int32_t WEFT_CALL AtPoint(int32_t handle, int32_t column, int32_t row);
void WEFT_CALL PointForIndex(int32_t handle, int32_t index, WeftPoint *point);
int32_t WEFT_CALL IndexForPoint(int32_t handle, int32_t column, int32_t row);
void WEFT_CALL PointAfter(int32_t handle, int32_t column, int32_t row, WeftPoint *point);
void WEFT_CALL PointBefore(int32_t handle, int32_t column, int32_t row, WeftPoint *point);
void WEFT_CALL PointAtDistanceFrom(int32_t handle, int32_t distance, int32_t column, int32_t row,
                                   WeftPoint *point);

/* Search and name matching */
int32_t WEFT_CALL FindPattern(const char *text, int32_t sizeHint, const char *pattern,
                              int32_t *matchLength, int32_t start, int32_t regularExpression,
                              int32_t matchCase, int32_t forward);
int32_t WEFT_CALL BeginsWithIgnoreCase(const char *a, const char *b, int32_t count,
                                       int32_t ignoreCase);
int32_t WEFT_CALL CalcMatchWeight(const char *a, int32_t lengthA, const char *b, int32_t lengthB);

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The 32-bit layouts that a Windows host builds byte by byte. */
#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
#include <cstddef>
#define WEFT_LAYOUT(type, field, offset) static_assert(offsetof(type, field) == offset, #type "." #field)
#define WEFT_SIZE(type, size) static_assert(sizeof(type) == size, #type " size")
#else
#include <stddef.h>
#define WEFT_LAYOUT(type, field, offset) _Static_assert(offsetof(type, field) == offset, #type "." #field)
#define WEFT_SIZE(type, size) _Static_assert(sizeof(type) == size, #type " size")
#endif
WEFT_SIZE(WeftPoint, 8);
WEFT_SIZE(WeftStyle, 20);
WEFT_SIZE(WeftConfiguration, 164);
WEFT_LAYOUT(WeftConfiguration, styles, 4);
WEFT_SIZE(WeftLogFont, 60);
WEFT_LAYOUT(WeftLogFont, lfPitchAndFamily, 27);
WEFT_LAYOUT(WeftLogFont, lfFaceName, 28);
WEFT_SIZE(WeftDisplay, 48);
WEFT_LAYOUT(WeftDisplay, fromColumn, 4);
WEFT_LAYOUT(WeftDisplay, selectionEndRow, 32);
WEFT_LAYOUT(WeftView, window, 56);
WEFT_SIZE(WeftTokenRecord, 28);
WEFT_LAYOUT(WeftTokenRecord, text, 16);
WEFT_LAYOUT(WeftTokenRecord, kind, 24);
#undef WEFT_LAYOUT
#undef WEFT_SIZE
#endif

#endif /* WEFTCORE_H */
