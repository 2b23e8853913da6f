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
void PaintGutter(const Theme& theme, int32_t firstRow, int32_t rows, int width, const WeftPoint& cell,
                 Picture* picture) {
  picture->Fill(RECT{0, 0, width, picture->height()}, theme.gutterBack);
  WeftLogFont logFont{};
  GetLogFont(&logFont);
  LOGFONTA request{};
  static_assert(sizeof request == sizeof logFont);
  std::memcpy(&request, &logFont, sizeof request);
  HFONT font = CreateFontIndirectA(&request);
  const int saved = SaveDC(picture->dc());
  SelectObject(picture->dc(), font);
  SetTextColor(picture->dc(), theme.gutterFore);
  SetBkMode(picture->dc(), TRANSPARENT);
  SetTextAlign(picture->dc(), TA_RIGHT | TA_TOP);
  for (int32_t i = 0; i < rows; ++i) {
    const std::string number = std::to_string(firstRow + i);
    TextOutA(picture->dc(), width - cell.x, i * cell.y, number.c_str(), static_cast<int>(number.size()));
  }
  RestoreDC(picture->dc(), saved);
  DeleteObject(font);
}

}  // namespace

bool ConfigureLibrary(const Options& options, const Theme& theme, std::string* error) {
  if (!FontInstalled(options.fontFace)) {
    *error = "unknown font \"" + options.fontFace + "\": it is not installed";
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

bool RenderText(const Options& options, const Theme& theme, const std::string& text, Picture* picture,
                std::string* note, std::string* error) {
  WeftPoint cell{};
  CellSize(&cell);
  const int32_t grid = CreateGrid();
  SetDefaultForeColor(grid, theme.defaultFore);
  SetDefaultBackColor(grid, theme.defaultBack);
  SetText(grid, text.c_str(), static_cast<int32_t>(text.size()), options.convertSpaces ? 1 : 0);
  WeftPoint extent{};
  CellExtent(grid, &extent);

  const int32_t firstRow = options.firstRow;
  if (firstRow > extent.y) {
    *error = "--first-row " + std::to_string(firstRow) + " lies past the text's " + std::to_string(extent.y) + " rows";
    DeleteGrid(grid);
    return false;
  }
  int32_t lastRow = options.rowCount > 0 ? std::min(extent.y, firstRow - 1 + options.rowCount) : extent.y;
  const int32_t rowsThatFit = kMaxHeight / cell.y;
  if (lastRow - firstRow + 1 > rowsThatFit) {
    lastRow = firstRow + rowsThatFit - 1;
    *note = "rows " + std::to_string(firstRow) + " to " + std::to_string(lastRow) + " of " +
            std::to_string(extent.y) + " shown (a picture is at most " + std::to_string(kMaxHeight) +
            " pixels high); pick others with --first-row and --rows";
  }
  const int32_t rows = lastRow - firstRow + 1;
  const int gutterWidth = options.lineNumbers ? (Digits(lastRow) + 2) * cell.x : 0;
  const int32_t columnsThatFit = (kMaxWidth - gutterWidth) / cell.x;
  int32_t columns = std::max(extent.x, 1);
  if (columns > columnsThatFit) {
    columns = columnsThatFit;
    if (!note->empty()) *note += "; ";
    *note += "rows cut after column " + std::to_string(columns) + " (a picture is at most " +
             std::to_string(kMaxWidth) + " pixels wide)";
  }
  if (!picture->Create(gutterWidth + columns * cell.x, rows * cell.y)) {
    *error = "cannot make a picture of " + std::to_string(gutterWidth + columns * cell.x) + " by " +
             std::to_string(rows * cell.y) + " pixels";
    DeleteGrid(grid);
    return false;
  }
  picture->Fill(RECT{0, 0, picture->width(), picture->height()}, theme.defaultBack);
  if (options.lineNumbers) PaintGutter(theme, firstRow, rows, gutterWidth, cell, picture);

  // The text starts right of the gutter; the grid scrolls to the first row.
  SetViewportOrgEx(picture->dc(), gutterWidth, 0, nullptr);
  SetTopCorner(grid, 0, (firstRow - 1) * cell.y);
  // Row by row, so a row longer than the picture is wide is painted only as
  // far as it shows; a row that fits is painted through its line end.
  for (int32_t row = firstRow; row <= lastRow; ++row) {
    WeftDisplay display{};
    display.deviceContext = picture->dc();
    display.fromColumn = 1;
    display.fromRow = row;
    display.toColumn = std::min(ColumnsInRow(grid, row) + 1, columns);
    display.toRow = row;
    if (options.hasSelection) {
      display.selectionStartColumn = options.selectionStart.column;
      display.selectionStartRow = options.selectionStart.row;
      display.selectionEndColumn = options.selectionEnd.column;
      display.selectionEndRow = options.selectionEnd.row;
    }
    Display(grid, &display);
  }
  SetViewportOrgEx(picture->dc(), 0, 0, nullptr);
  GdiFlush();
  DeleteGrid(grid);
  return true;
}

}  // namespace weftrender
