/* A host that embeds weftcore, calling it in the order a code editor does:
 * the shared settings once (configuration, font, keywords), then for an
 * editor a grid and its text, painting on WM_PAINT, edits that name the
 * window in the view record, a walk over the tokens, and a search.
 *
 * On Windows it opens a window and paints into it. Elsewhere there is no
 * window: it paints into no device context, which draws nothing, and its
 * edits invalidate nothing. It prints what it sees and exits with 1 when the
 * library answers anything unexpected. */
#include <stdio.h>
#include <string.h>

#include <weftcore.h>

#if defined(_WIN32)
#include <windows.h>
#endif

static const char kSource[] =
    "printOn: aStream\r\n"
    "    \"Print a representation of the receiver on aStream\"\r\n"
    "    aStream nextPutAll: 'a ', self class name.\r\n"
    "    items do: [:each | aStream space; print: each]";

static const char kEdited[] =
    "printOn: aStream\r\n"
    "    aStream nextPutAll: 'a ', self class name.\r\n"
    "    items do: [:each | aStream space; print: each].\r\n"
    "    items isEmpty ifTrue: [^nil]";

enum { kKeywordPart = 143 }; /* a token kind: an identifier with its colon */

static int32_t grid = -1;
static int paints;
static int failures;

static void Expect(int holds, const char *what) {
  if (!holds) {
    fprintf(stderr, "unexpected: %s\n", what);
    failures++;
  }
}

static WeftColor Color(unsigned red, unsigned green, unsigned blue) {
  return red | green << 8 | blue << 16;
}

/* 1. Once, before the first grid: the styles, the font and the keywords. */
static void SetUpLibrary(void) {
  static const char *const keywords[] = {"self", "super", "nil", "true", "false", "thisContext"};
  WeftConfiguration configuration;
  WeftPoint cell;
  size_t i;

  memset(&configuration, 0, sizeof configuration);
  configuration.tabWidth = 4;
  for (i = 0; i < 8; i++) { /* every style in the grid's default colours... */
    configuration.styles[i].useDefaultForeColor = 1;
    configuration.styles[i].useDefaultBackColor = 1;
  }
  configuration.styles[0].useDefaultForeColor = 0; /* ...but strings red, */
  configuration.styles[0].foreColor = Color(160, 20, 20);
  configuration.styles[4].fontIndex = 1; /* keywords bold, */
  configuration.styles[6].fontIndex = 2; /* comments italic and green */
  configuration.styles[6].useDefaultForeColor = 0;
  configuration.styles[6].foreColor = Color(0, 128, 0);
  SetConfiguration(&configuration);

  SetFont("Courier New", 10);
  CellSize(&cell);
  printf("cell %d x %d pixels\n", cell.x, cell.y);

  for (i = 0; i < sizeof keywords / sizeof keywords[0]; i++) AddKeyword(keywords[i]);
}

/* 2. An editor: a grid, its colours and its text. SetText turns the 4-space
 * indentation into tabs; Text with expanded tabs gives the text back. */
static void OpenEditor(void) {
  char text[512];

  grid = CreateGrid();
  Expect(IsHandleOk(grid), "a live grid");
  SetDefaultForeColor(grid, Color(0, 0, 0));
  SetDefaultBackColor(grid, Color(255, 255, 255));
  SetText(grid, kSource, (int32_t)strlen(kSource), 1);

  Expect(NumberOfRows(grid) == 4, "4 rows");
  Expect(Text(grid, text, sizeof text, 1) == (int32_t)strlen(kSource), "Text's length");
  Expect(strcmp(text, kSource) == 0, "Text gives back the source");
}

/* 3. Painting a band of the window, as WM_PAINT asks: the rows under the
 * pixels from `top` to `bottom`, after the scroll position is set. */
static void PaintBand(void *deviceContext, int32_t top, int32_t bottom) {
  WeftPoint first, last;
  WeftDisplay display;

  SetTopCorner(grid, 0, 0);
  CellForPoint(grid, 0, top, &first);
  CellForPoint(grid, 0, bottom - 1, &last);
  memset(&display, 0, sizeof display); /* a selection end of (0, 0): none */
  display.deviceContext = deviceContext;
  display.fromColumn = 1;
  display.fromRow = first.y;
  display.toColumn = ColumnsInRow(grid, last.y) + 1;
  display.toRow = last.y;
  Display(grid, &display);
  paints++;
}

#if defined(_WIN32)
static LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintBand(dc, paint.rcPaint.top, paint.rcPaint.bottom);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

static void *OpenWindow(void) {
  WNDCLASSA editorClass;
  HWND window;

  memset(&editorClass, 0, sizeof editorClass);
  editorClass.lpfnWndProc = EditorProc;
  editorClass.hInstance = GetModuleHandleA(NULL);
  editorClass.lpszClassName = "WeftEditor";
  RegisterClassA(&editorClass);
  window = CreateWindowExA(0, "WeftEditor", "weftcore", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                           NULL, NULL, editorClass.hInstance, NULL);
  UpdateWindow(window);
  return window;
}

/* Paints what the edits invalidated. */
static void RepaintWindow(void *window) {
  Expect(GetUpdateRect(window, NULL, FALSE), "the edits invalidated part of the window");
  UpdateWindow(window);
}

static void CloseEditorWindow(void *window) { DestroyWindow(window); }
#else
static void *OpenWindow(void) {
  PaintBand(NULL, 0, 480);
  return NULL;
}

static void RepaintWindow(void *window) {
  (void)window;
  PaintBand(NULL, 0, 480);
}

static void CloseEditorWindow(void *window) { (void)window; }
#endif

/* 4. Keystrokes: each edit names the window in the view record, so the
 * library invalidates the band it changed and the next WM_PAINT shows it. */
static void Edit(void *window) {
  WeftView view;
  WeftPoint end, after;
  char text[512];

  memset(&view, 0, sizeof view);
  view.window = window;

  LastRowAndColumn(grid, &end); /* type a new last line */
  InsertString(grid, "\r\n\titems isEmpty ifTrue: [^nil]", end.x, end.y, &after, &view);
  LastRowAndColumn(grid, &end);
  Expect(after.x == end.x && after.y == end.y && after.y == 5, "InsertString answers the new end");

  InsertCell(grid, '.', ColumnsInRow(grid, 4) + 1, 4, &view); /* end row 4 with a period */
  /* Delete the comment row; a column past its end takes its line break too. */
  DeleteSection(grid, 1, 2, ColumnsInRow(grid, 2) + 1, 2, &view);

  Text(grid, text, sizeof text, 1);
  Expect(strcmp(text, kEdited) == 0, "the edited text");
  RepaintWindow(window);
}

/* 5. The tokens in order; every position of the text lies in one of them. */
static void WalkTokens(void) {
  WeftTokenRecord token;
  int count = 0, keywordParts = 0;

  RewindTokens(grid);
  while (NextToken(grid, &token) >= 0) {
    count++;
    if (token.kind == kKeywordPart) {
      printf("keyword part %s at %d:%d\n", token.text, token.startRow, token.startColumn);
      keywordParts++;
    }
  }
  printf("%d tokens\n", count);
  Expect(keywordParts == 5, "5 keyword parts");
}

/* 6. A search runs over the text as stored (tabs and CR LF), so its 1-based
 * index maps straight to a position and to the token there. */
static void Search(void) {
  char text[512];
  int32_t length = Text(grid, text, sizeof text, 0);
  int32_t matchLength = 0;
  int32_t found = FindPattern(text, length, "NEXTPUTALL:", &matchLength, 1, 0, 0, 1);
  WeftPoint at;
  WeftTokenRecord token;

  Expect(found > 0 && matchLength == 11, "a plain search ignoring case");
  PointForIndex(grid, found, &at);
  Expect(IndexForPoint(grid, at.x, at.y) == found, "index and position agree");
  Expect(TokenAt(grid, at.x, at.y, &token) == 11 && strcmp(token.text, "nextPutAll:") == 0,
         "the token at the match");
  printf("nextPutAll: found at index %d, row %d, column %d\n", found, at.y, at.x);

  found = FindPattern(text, length, "'[^']*'", &matchLength, 1, 1, 1, 1);
  Expect(found > 0 && matchLength == 4, "a regular expression: the string literal");
}

int main(void) {
  WeftPoint version;
  void *window;

  VersionNumber(&version);
  printf("weftcore %d.%d\n", version.x, version.y);
  SetUpLibrary();
  OpenEditor();
  window = OpenWindow();
  Expect(paints > 0, "a first paint");
  Edit(window);
  Expect(paints > 1, "a paint after the edits");
  WalkTokens();
  Search();
  CloseEditorWindow(window);
  DeleteGrid(grid);
  Expect(!IsHandleOk(grid), "the grid is gone");
  if (failures > 0) {
    printf("%d unexpected answers\n", failures);
    return 1;
  }
  printf("all as expected\n");
  return 0;
}
