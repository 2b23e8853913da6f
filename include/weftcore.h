/* weftcore: the text engine of a Smalltalk code editor.
 *
 * The library keeps any number of grids (texts held as rows), cuts them into
 * Smalltalk tokens, colours and paints them, maps between pixels, cells,
 * positions and linear indices, applies edits with an incremental re-scan,
 * and searches text. examples/embed/host.c shows a host's calls in order.
 *
 * Conventions of every export:
 *  - Rows, columns and linear character indices are 1-based. A column is a
 *    character index in the row as stored (a tab counts 1); the column after
 *    a row's last character is its line end, standing for its line break.
 *  - A linear index counts every character and 2 for each line break.
 *  - Pixels, counts, lengths, colours and flags pass unchanged.
 *  - A point record holds column (or x, or a width) first, then row.
 *  - Every text the library writes has CR LF between rows; in a text the host
 *    gives, LF or CR LF ends a line.
 *  - Records and buffers belong to the caller; the library keeps no pointer
 *    to them past the call, except a token record's text pointer, which
 *    stays valid until that token's row is re-scanned or the grid deleted.
 *  - SetConfiguration and SetFont come before the first CreateGrid. After
 *    either, after a keyword change and after a grid's default colours
 *    change, RebuildDataStructures re-colours a grid's text.
 *  - The library takes no locks: one call at a time, from one thread.
 *
 * Where the library is safer than its callers need be:
 *  - A handle that names no live grid (never made, deleted, negative) changes
 *    nothing, writes no record, and answers the export's "none" value, given
 *    with each export below (0 where none is given).
 *  - A row outside the text reads as an empty row; an edit there changes
 *    nothing.
 *  - A null record or buffer is left unwritten; a null string reads as empty
 *    (AddKeyword and DeleteKeyword ignore it).
 *  - No export writes past the buffer size it is given.
 *
 * On Windows every export uses the stdcall convention and the records have
 * the 32-bit layouts checked at the end of this file; the DLL exports the
 * bare names and its import library the decorated ones (Name@bytes). Elsewhere
 * they are the same C structs with natural alignment.
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

/* A position (column, row), a pixel (x, y) or a size (width, height). */
typedef struct WeftPoint {
  int32_t x; /* column, x or width */
  int32_t y; /* row, y or height */
} WeftPoint;

typedef struct WeftStyle {
  int32_t fontIndex;           /* 0 regular, 1 bold, 2 italic, 3 bold italic; taken modulo 4 */
  WeftColor foreColor;         /* text colour */
  WeftColor backColor;         /* colour behind the text */
  int32_t useDefaultForeColor; /* nonzero: the grid's default foreground instead of foreColor */
  int32_t useDefaultBackColor; /* nonzero: the grid's default background instead of backColor */
} WeftStyle;

/* The settings every grid shares. Styles by number: 0 strings, 1 character
 * literals, 2 white space (its background is also the blank background),
 * 3 numbers, 4 keywords (tokens whose text AddKeyword listed), 5 all other
 * text and the default attributes, 6 comments, 7 symbols. */
typedef struct WeftConfiguration {
  int32_t tabWidth; /* columns from one tab stop to the next */
  /* A tab width below 1 is taken as 1, and one above 1000 as 1000. */
  WeftStyle styles[8];
} WeftConfiguration;

/* The font SetFont asked for, in the layout of Win32 LOGFONTA, as GetLogFont
 * writes it: the fields not described are 0. */
typedef struct WeftLogFont {
  int32_t lfHeight; /* minus the character height in pixels */
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight; /* 0: any weight */
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily; /* 0x31: fixed pitch, modern family */
  char lfFaceName[32];      /* the face name, NUL-terminated */
} WeftLogFont;

/* What Display paints: positions from `from` through `to`, inclusive (a
 * position at a row's line end stands for the blank right of the row), with
 * the selection from `selectionStart` through `selectionEnd` in the system
 * highlight colours. Display converts the eight coordinates to 0-based in
 * place: refill the record before passing it again. */
typedef struct WeftDisplay {
  void *deviceContext;                             /* HDC to paint into */
  int32_t fromColumn, fromRow;                     /* first position painted */
  int32_t toColumn, toRow;                         /* last position painted */
  int32_t selectionStartColumn, selectionStartRow; /* first selected position */
  int32_t selectionEndColumn, selectionEndRow;     /* last selected; both 0 or less: none */
  int32_t unused[3];                               /* not read */
} WeftDisplay;

/* The host's view record, passed to the edits; the library reads only the
 * window handle and never writes the record. */
typedef struct WeftView {
  uint8_t hostFields[56]; /* the host's own, not read */
  void *window;           /* HWND whose changed band an edit invalidates; may be null */
} WeftView;

/* A token handed out by NextToken, PreviousToken and TokenAt. Kinds: 128
 * incomplete token, 129 assignment, 130 character literal, 131 keyword chain
 * at the end of the text, 132 keyword chain, 133 keyword chain ending in a
 * word, 134 real number, 135 open real number, 136 integer, 137 open radix
 * number, 138 open comment, 139 comment, 140 open string, 141 string, 142
 * identifier, 143 keyword part, 144 symbol, 145 binary pair, 146 white space;
 * any other kind is a one-character token: that byte as a signed char. */
typedef struct WeftTokenRecord {
  int32_t startColumn, startRow; /* the token's first position */
  int32_t endColumn, endRow;     /* its last, inclusive; a row's last token runs to the next */
  const char *text;              /* NUL-terminated, the library's; a line break reads CR LF */
  int32_t length;                /* bytes of text */
  int32_t kind;                  /* as listed above */
} WeftTokenRecord;

/* Library frame and grids */

/* A new, empty grid in the lowest free slot (a deleted grid's handle is
 * reused); -1 when none can be made. */
int32_t WEFT_CALL CreateGrid(void);
/* Destroys the grid and frees its handle; a handle naming no grid does nothing. */
void WEFT_CALL DeleteGrid(int32_t handle);
/* 1 for a live grid; otherwise 0, after writing "grids[index] is null\n" to
 * the debugger output. */
int32_t WEFT_CALL IsHandleOk(int32_t handle);
/* Writes (1, 2), the major and minor version, and answers `version`. */
WeftPoint *WEFT_CALL VersionNumber(WeftPoint *version);

/* Settings, shared by every grid */

/* Copies the record, for every grid, and answers 1 (0 for a null record). A grid
 * made afterwards takes its indent width from the tab width. */
int32_t WEFT_CALL SetConfiguration(const WeftConfiguration *configuration);
/* Makes the four fonts of a fixed-pitch face at pointSize and sets the cell metrics; a variant
 * of another cell height is replaced by the regular font. The name is cut to 31 bytes; a point
 * size beyond 1000 either way is taken as 1000 (or -1000). */
void WEFT_CALL SetFont(const char *faceName, int32_t pointSize);
/* Copies the LOGFONT that SetFont asked for; all zeros before SetFont. */
void WEFT_CALL GetLogFont(WeftLogFont *logFont);
/* Writes (cell width, line height) in pixels; (0, 0) before SetFont. */
void WEFT_CALL CellSize(WeftPoint *size);
/* A grid's colours where a style's useDefault flag is set: blank fills use
 * them at once, text after the next rebuild. */
void WEFT_CALL SetDefaultBackColor(int32_t handle, WeftColor color);
void WEFT_CALL SetDefaultForeColor(int32_t handle, WeftColor color);

/* Text store */

/* Replaces the text with `length` bytes of `text` (to its NUL if length < 1), one row per line. With
 * convertSpaces, a text without tabs gets its indentation as tabs, at its own indent width. */
void WEFT_CALL SetText(int32_t handle, const char *text, int32_t length, int32_t convertSpaces);
/* Writes the whole text, NUL-terminated and cut to fit `size` bytes, tabs expanded if expandTabs;
 * answers the bytes before the NUL. None: -1, buffer untouched (also for a grid without rows). */
int32_t WEFT_CALL Text(int32_t handle, char *buffer, int32_t size, int32_t expandTabs);
/* Copies min(size, length) characters of the row and fills the rest of the
 * `size` bytes with NULs (no NUL when the row fills them); answers the count. */
int32_t WEFT_CALL StringAtRow(int32_t handle, int32_t row, char *buffer, int32_t size);
/* The number of rows: 0 before the first SetText, at least 1 after it. */
int32_t WEFT_CALL NumberOfRows(int32_t handle);
/* The number of characters in the row (a tab counts 1). */
int32_t WEFT_CALL ColumnsInRow(int32_t handle, int32_t row);
/* Writes the end of the text: (column after the last character, last row);
 * (1, 1) for a grid without rows. */
void WEFT_CALL LastRowAndColumn(int32_t handle, WeftPoint *point);

/* Editing. Each edit re-scans what it disturbed and invalidates the changed
 * band of the view's window (nothing when the view or its window is null). */

/* Inserts one character (the low 8 bits, stored as it is: a CR or LF does not
 * split the row) before the column; a column past the line end leaves the text
 * as it is (the row is still invalidated, as by any edit). */
void WEFT_CALL InsertCell(int32_t handle, int32_t character, int32_t column, int32_t row,
                          const WeftView *view);
/* Inserts `text` at the position (appending past the row's end); LF or CR LF starts a new row. Writes
 * the position after it into `end` and answers `end`; at a row outside the text, the given position. */
WeftPoint *WEFT_CALL InsertString(int32_t handle, const char *text, int32_t column, int32_t row,
                                  WeftPoint *end, const WeftView *view);
/* Deletes start through end, inclusive; an end at or past its row's line end takes the line break
 * too, an end column below 1 ends with the line break before the end row, and a start column
 * outside its row is moved into it. A start after the end, or a start or end row outside the
 * text, changes nothing. */
void WEFT_CALL DeleteSection(int32_t handle, int32_t startColumn, int32_t startRow,
                             int32_t endColumn, int32_t endRow, const WeftView *view);
/* Copies start through end with CR LF line breaks: at most maxLength characters, then a NUL; answers
 * the count. Rows outside the text are taken as its first or last; a start row after the end: "". */
int32_t WEFT_CALL TextInRect(int32_t handle, int32_t startColumn, int32_t startRow,
                             int32_t endColumn, int32_t endRow, char *buffer, int32_t maxLength);

/* Lexical analysis */

/* Adds a word shown in the keyword style (case matters) at the next rebuild;
 * it does not change how text is cut into tokens. Adding or deleting a word
 * costs about its length, however many words the table holds. Token texts are
 * cut to 32,767 bytes, so a word that long or longer is ignored. */
void WEFT_CALL AddKeyword(const char *keyword);
/* Removes one entry equal to the word, if any. */
void WEFT_CALL DeleteKeyword(const char *keyword);
/* Re-scans and re-colours the grid's whole text with the current settings. */
void WEFT_CALL RebuildDataStructures(int32_t handle);
/* Puts the grid's token cursor before its first token. */
void WEFT_CALL RewindTokens(int32_t handle);
/* Steps the cursor to the next token, fills the record and answers the text's
 * length. None: -1 at the end of the text, the record untouched. */
int32_t WEFT_CALL NextToken(int32_t handle, WeftTokenRecord *token);
/* Steps the cursor back to the previous token, as NextToken; -1 before the first. */
int32_t WEFT_CALL PreviousToken(int32_t handle, WeftTokenRecord *token);
/* The token holding the position, as NextToken, and moves the cursor there.
 * A row's last token ends just before the next token, so it holds the line
 * break, the space past the row's end and the next row's indentation. -1 when
 * none (before the first token, past the text's last character). Reading
 * tokens never changes what later edits or reads see. */
int32_t WEFT_CALL TokenAt(int32_t handle, int32_t column, int32_t row, WeftTokenRecord *token);

/* Painting */

/* Paints the record's stretch into its device context at the grid's top
 * corner, filling right of rows and below the text with the blank background. */
void WEFT_CALL Display(int32_t handle, WeftDisplay *display);

/* Geometry: columns and pixels. Window pixels are measured from the grid's
 * top corner; a cell is cell width by line height pixels. */

/* The 1-based visual column of a position, its row's tabs expanded. */
int32_t WEFT_CALL VisualColumnFor(int32_t handle, int32_t column, int32_t row);
/* Maps a linear index into the text as SetText was given it (before its
 * indentation became tabs) to the linear index of the same character now. */
int32_t WEFT_CALL NonTabbedToTabbedIndex(int32_t handle, int32_t index);
/* The 1-based caret index nearest pixel x in `length` bytes of `text` drawn from pixel 0, a tab stop
 * every tabWidth cells; widths below 1 count as 1. */
int32_t WEFT_CALL IndexFromPixelWidth(const char *text, int32_t length, int32_t cellWidth,
                                      int32_t tabWidth, int32_t pixelX);
/* Writes the position whose cell holds window pixel (x, y); within a row the
 * nearest caret column, tabs expanded. */
void WEFT_CALL CellForPoint(int32_t handle, int32_t x, int32_t y, WeftPoint *cell);
/* Writes the window pixel (x, y) of the top-left corner of the position's cell. */
void WEFT_CALL PointForCell(int32_t handle, int32_t column, int32_t row, WeftPoint *pixel);
/* Writes (widest row in visual columns, number of rows). */
void WEFT_CALL CellExtent(int32_t handle, WeftPoint *extent);
/* Sets the grid's scroll offset: the whole text's pixel at the window's top left. */
void WEFT_CALL SetTopCorner(int32_t handle, int32_t x, int32_t y);
/* The character at the position, 0 to 255; 10 at or past the row's end and on
 * rows outside the text. */
int32_t WEFT_CALL AtPoint(int32_t handle, int32_t column, int32_t row);

/* Geometry: positions and linear indices. A step passes one character or one
 * line break. */

/* Writes the position of a linear index; past the text, the end of the text. */
void WEFT_CALL PointForIndex(int32_t handle, int32_t index, WeftPoint *point);
/* The linear index of a position; a column past its row's end counts on. */
int32_t WEFT_CALL IndexForPoint(int32_t handle, int32_t column, int32_t row);
/* Writes the position one step on; the end of the text stays where it is. */
void WEFT_CALL PointAfter(int32_t handle, int32_t column, int32_t row, WeftPoint *point);
/* Writes the position one step back; column 1 of row 1 stays where it is. */
void WEFT_CALL PointBefore(int32_t handle, int32_t column, int32_t row, WeftPoint *point);
/* Writes the position `distance` steps on, stopping at the end of the text;
 * a negative distance moves left within the row. */
void WEFT_CALL PointAtDistanceFrom(int32_t handle, int32_t distance, int32_t column, int32_t row,
                                   WeftPoint *point);

/* Search and name matching, without a grid. FindPattern's regular expressions: . [set] [^set], then
 * * + ?; ^ first anchors at the start; $ last or before LF; two @ mark the part reported; \ escapes. */

/* The 1-based index of `pattern` in `text` from `start` (backward: from the end if start < 1), or 0;
 * *matchLength gets the plain pattern's length, or the match's (0 for none; kept for a bad expression).
 * sizeHint is not read. */
int32_t WEFT_CALL FindPattern(const char *text, int32_t sizeHint, const char *pattern,
                              int32_t *matchLength, int32_t start, int32_t regularExpression,
                              int32_t matchCase, int32_t forward);
/* 1 when the first `count` bytes of a and b are equal, A to Z folded when
 * ignoreCase is nonzero (exact when 0), else 0; 1 for a count below 1. */
int32_t WEFT_CALL BeginsWithIgnoreCase(const char *a, const char *b, int32_t count,
                                       int32_t ignoreCase);
/* How alike two names are, 0 to 100, case folded, stepping over one extra
 * character on either side at a time; two empty names score 100. */
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
