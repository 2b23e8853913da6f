#include "tools/weftrender/renderer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "weftcore.h"

namespace weftrender {
namespace {

const char* const kReservedWords[] = {"self", "super", "true", "false", "nil", "thisContext"};

int CALLBACK NoteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// GDI would quietly give some other face for one that is not installed.
bool FontInstalled(const std::string& face) {
  HDC screen = GetDC(nullptr);
  LOGFONTA request{};
  request.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(request.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(screen, &request, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

int Digits(int32_t number) {
  int digits = 1;
  for (; number >= 10; number /= 10) ++digits;
  return digits;
}

// Right-aligned row numbers from `firstRow` on, one per line, in the
// library's regular font, with one blank cell before the text.
void PaintGutter(const TTheme& theme, int32_t firstRow, int32_t rows, int width, const WeftPoint& cell,
                 TPicture& picture) {
  picture.Fill(RECT{0, 0, width, picture.height()}, theme.gutterBack);
  WeftLogFont logFont{};
  GetLogFont(&logFont);
  LOGFONTA request{};
  static_assert(sizeof request == sizeof logFont);
  std::memcpy(&request, &logFont, sizeof request);
  HFONT font = CreateFontIndirectA(&request);
  const int saved = SaveDC(picture.dc());
  SelectObject(picture.dc(), font);
  SetTextColor(picture.dc(), theme.gutterFore);
  SetBkMode(picture.dc(), TRANSPARENT);
  SetTextAlign(picture.dc(), TA_RIGHT | TA_TOP);
  for (int32_t i = 0; i < rows; ++i) {
    const std::string number = std::to_string(firstRow + i);
    TextOutA(picture.dc(), width - cell.x, i * cell.y, number.c_str(), static_cast<int>(number.size()));
  }
  RestoreDC(picture.dc(), saved);
  DeleteObject(font);
}

// A grid that lives as long as this object.
struct TGrid {
  TGrid() : handle(CreateGrid()) {}
  TGrid(const TGrid&) = delete;
  TGrid& operator=(const TGrid&) = delete;
  ~TGrid() { DeleteGrid(handle); }
  const int32_t handle;
};

// Which rows and columns of a text of `extent` (columns, rows) the picture
// shows, and how wide its gutter is; `note` says what had to be cut.
struct TLayout {
  int32_t lastRow;
  int32_t columns;
  int gutterWidth;
};

TLayout PlanLayout(const TOptions& options, const WeftPoint& cell, const WeftPoint& extent, std::string& note) {
  const int32_t firstRow = options.firstRow;
  TLayout layout{};
  layout.lastRow = options.rowCount > 0 ? std::min(extent.y, firstRow - 1 + options.rowCount) : extent.y;
  const int32_t rowsThatFit = kMaxHeight / cell.y;
  if (layout.lastRow - firstRow + 1 > rowsThatFit) {
    layout.lastRow = firstRow + rowsThatFit - 1;
    note = "rows " + std::to_string(firstRow) + " to " + std::to_string(layout.lastRow) + " of " +
           std::to_string(extent.y) + " shown (a picture is at most " + std::to_string(kMaxHeight) +
           " pixels high); pick others with --first-row and --rows";
  }
  layout.gutterWidth = options.lineNumbers ? (Digits(layout.lastRow) + 2) * cell.x : 0;
  const int32_t columnsThatFit = (kMaxWidth - layout.gutterWidth) / cell.x;
  layout.columns = std::max(extent.x, 1);
  if (layout.columns > columnsThatFit) {
    layout.columns = columnsThatFit;
    if (!note.empty()) note += "; ";
    note += "rows cut after column " + std::to_string(layout.columns) + " (a picture is at most " +
            std::to_string(kMaxWidth) + " pixels wide)";
  }
  return layout;
}

}  // namespace

bool ConfigureLibrary(const TOptions& options, const TTheme& theme, std::string& error) {
  if (!FontInstalled(options.fontFace)) {
    error = "unknown font \"" + options.fontFace + "\": it is not installed";
    return false;
  }
  WeftConfiguration configuration{};
  configuration.tabWidth = options.tabWidth;
  std::copy(std::begin(theme.styles), std::end(theme.styles), configuration.styles);
  SetConfiguration(&configuration);
  SetFont(options.fontFace.c_str(), options.pointSize);
  for (const char* keyword : kReservedWords) AddKeyword(keyword);
  return true;
}

bool RenderText(const TOptions& options, const TTheme& theme, const std::string& text, TPicture& picture,
                std::string& note, std::string& error) {
  WeftPoint cell{};
  CellSize(&cell);
  const TGrid grid;
  SetDefaultForeColor(grid.handle, theme.defaultFore);
  SetDefaultBackColor(grid.handle, theme.defaultBack);
  SetText(grid.handle, text.c_str(), static_cast<int32_t>(text.size()), options.convertSpaces ? 1 : 0);
  WeftPoint extent{};
  CellExtent(grid.handle, &extent);
  if (options.firstRow > extent.y) {
    error = "--first-row " + std::to_string(options.firstRow) + " lies past the text's " + std::to_string(extent.y) +
            " rows";
    return false;
  }
  const TLayout layout = PlanLayout(options, cell, extent, note);
  const int32_t rows = layout.lastRow - options.firstRow + 1;
  const int width = layout.gutterWidth + layout.columns * cell.x, height = rows * cell.y;
  if (!picture.Create(width, height)) {
    error = "cannot make a picture of " + std::to_string(width) + " by " + std::to_string(height) + " pixels";
    return false;
  }
  picture.Fill(RECT{0, 0, width, height}, theme.defaultBack);
  if (options.lineNumbers) PaintGutter(theme, options.firstRow, rows, layout.gutterWidth, cell, picture);

  // The text starts right of the gutter; the grid scrolls to the first row.
  SetViewportOrgEx(picture.dc(), layout.gutterWidth, 0, nullptr);
  SetTopCorner(grid.handle, 0, (options.firstRow - 1) * cell.y);
  // Row by row, so a row longer than the picture is wide is painted only as
  // far as it shows; a row that fits is painted through its line end.
  for (int32_t row = options.firstRow; row <= layout.lastRow; ++row) {
    WeftDisplay display{};
    display.deviceContext = picture.dc();
    display.fromColumn = 1;
    display.fromRow = row;
    display.toColumn = std::min(ColumnsInRow(grid.handle, row) + 1, layout.columns);
    display.toRow = row;
    if (options.hasSelection) {
      display.selectionStartColumn = options.selectionStart.column;
      display.selectionStartRow = options.selectionStart.row;
      display.selectionEndColumn = options.selectionEnd.column;
      display.selectionEndRow = options.selectionEnd.row;
    }
    Display(grid.handle, &display);
  }
  SetViewportOrgEx(picture.dc(), 0, 0, nullptr);
  GdiFlush();
  return true;
}

}  // namespace weftrender
