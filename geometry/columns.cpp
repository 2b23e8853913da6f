#include "geometry/columns.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/int_math.h"

namespace weft {
namespace {

// The next character of [from, end) that is a tab, or end.
const char* NextTab(const char* from, const char* end) {
  const void* tab = std::memchr(from, '\t', static_cast<size_t>(end - from));
  return tab != nullptr ? static_cast<const char*>(tab) : end;
}

// A host's text and length: a null text or a negative length reads as empty.
std::string_view HostText(const char* text, int32_t length) {
  return text == nullptr || length < 0 ? std::string_view("") : std::string_view(text, static_cast<size_t>(length));
}

int64_t NextTabStop(int64_t visualColumn, int64_t tabWidth) {
  return visualColumn + ColumnsToTabStop(visualColumn, tabWidth);
}

// The visual column after the run of tabs that starts at `at`, from
// `visualColumn`; moves `at` past the run. The first tab reaches the next
// stop and each further one a whole stop, which needs no division.
int64_t AfterTabRun(const char*& at, const char* end, int64_t visualColumn, int64_t tabWidth) {
  const char* first = at;
  while (at < end && *at == '\t') ++at;
  return NextTabStop(visualColumn, tabWidth) + (at - first - 1) * tabWidth;
}

// The visual width of the first `count` characters of `text`; runs between
// tabs are skipped whole.
int64_t VisualWidth(const char* text, int32_t count, int64_t tabWidth) {
  int64_t width = 0;
  const char* end = text + count;
  for (const char* at = text; at < end;) {
    const char* tab = NextTab(at, end);
    width += tab - at;
    at = tab;
    if (at < end) width = AfterTabRun(at, end, width, tabWidth);
  }
  return width;
}

int64_t ExpandedColumn(const char* text, int32_t length, int32_t n, int32_t tabWidth) {
  if (n < 1) return 0;
  const std::string_view host = HostText(text, length);
  const int32_t inside = std::min(n, static_cast<int32_t>(host.size()));
  return VisualWidth(host.data(), inside, AtLeastOne(tabWidth)) + (n - inside);
}

int64_t ExpandedColumn(const TStringGrid& grid, int32_t row, int32_t n) {
  if (!grid.HasRow(row)) return ExpandedColumn(nullptr, 0, n, 1);
  const TRowString& text = grid.Row(row);
  return ExpandedColumn(text.data(), text.size(), n, grid.settings().tabWidth());
}

// IndexFromPixelWidth with 64-bit pixels, for pixels that include the top
// corner. A run between tabs is passed or entered in one step. The walk stops
// at the first character whose right edge passes the pixel, and the left edge
// of every character it passes lies left of the pixel, which keeps every
// product within 64 bits.
int64_t CaretIndexAt(const char* text, int32_t length, int64_t cellWidth, int64_t tabWidth, int64_t pixelX) {
  const char* end = text + length;
  int64_t visualColumn = 0;  // the left edge of `at`, in cells
  for (const char* at = text; at < end;) {
    const char* tab = NextTab(at, end);
    // Characters of the run before the one whose right edge passes the pixel.
    const int64_t passed = pixelX < (visualColumn + 1) * cellWidth ? 0 : pixelX / cellWidth - visualColumn;
    if (passed < tab - at) {
      const int64_t index = (at - text) + passed;
      return pixelX <= (visualColumn + passed) * cellWidth + cellWidth / 2 ? index + 1 : index + 2;
    }
    visualColumn += tab - at;
    at = tab;
    // Tabs, one at a time: the first reaches the next stop, each further one
    // a whole stop.
    for (int64_t right = NextTabStop(visualColumn, tabWidth); at < end && *at == '\t'; right += tabWidth) {
      if (right * cellWidth > pixelX) {
        const int64_t index = at - text;
        return pixelX <= visualColumn * cellWidth + cellWidth * tabWidth / 2 ? index + 1 : index + 2;
      }
      visualColumn = right;
      ++at;
    }
  }
  return pixelX / cellWidth + length - visualColumn + 1;
}

}  // namespace

int32_t VisualColumn(const char* text, int32_t length, int32_t n, int32_t tabWidth) {
  return ClampToInt32(ExpandedColumn(text, length, n, tabWidth));
}

int32_t VisualColumn(const TStringGrid& grid, int32_t row, int32_t n) {
  return ClampToInt32(ExpandedColumn(grid, row, n));
}

int32_t IndexFromPixelWidth(const char* text, int32_t length, int32_t cellWidth, int32_t tabWidth, int32_t pixelX) {
  const std::string_view host = HostText(text, length);
  return ClampToInt32(CaretIndexAt(host.data(), static_cast<int32_t>(host.size()), AtLeastOne(cellWidth),
                                   AtLeastOne(tabWidth), pixelX));
}

int32_t VisualColumnFor(const TStringGrid& grid, TPoint position) {
  if (!grid.HasRow(position.row) || position.column < 1) return position.column;
  return VisualColumn(grid, position.row, position.column);
}

TPoint CellForPoint(const TStringGrid& grid, int32_t x, int32_t y) {
  const TSettings& settings = grid.settings();
  const int64_t cellWidth = AtLeastOne(settings.cellWidth());
  const TPoint corner = grid.topCorner();
  const int64_t row = (int64_t{corner.row} + y) / AtLeastOne(settings.lineHeight());
  const int64_t pixelX = int64_t{corner.column} + x;
  if (row >= 0 && row < grid.NumberOfRows() && pixelX >= 0) {
    const TRowString& text = grid.Row(static_cast<int32_t>(row));
    const int64_t caret = CaretIndexAt(text.data(), text.size(), cellWidth, settings.tabWidth(), pixelX);
    return {ClampToInt32(caret - 1), static_cast<int32_t>(row)};
  }
  return {ClampToInt32(pixelX / cellWidth), ClampToInt32(std::max<int64_t>(row, 0))};
}

int32_t PixelXOf(const TStringGrid& grid, TPoint position) {
  const int64_t columns =
      grid.HasRow(position.row) ? ExpandedColumn(grid, position.row, position.column) : position.column;
  return ClampToInt32(columns * AtLeastOne(grid.settings().cellWidth()) - grid.topCorner().column);
}

int32_t PixelYOf(const TStringGrid& grid, int32_t row) {
  return ClampToInt32(int64_t{row} * AtLeastOne(grid.settings().lineHeight()) - grid.topCorner().row);
}

int32_t RowEndPixelX(const TStringGrid& grid, int32_t row) { return PixelXOf(grid, {grid.RowLength(row), row}); }

TPoint PointForCell(const TStringGrid& grid, TPoint position) {
  return {PixelXOf(grid, position), PixelYOf(grid, position.row)};
}

TPoint CellExtent(const TStringGrid& grid) {
  const int64_t tabWidth = grid.settings().tabWidth();
  int64_t widest = 0;
  for (const TRowString& row : grid.rows()) {
    // A row can be no wider than a tab stop per character.
    if (row.size() * tabWidth <= widest) continue;
    widest = std::max(widest, VisualWidth(row.data(), row.size(), tabWidth));
  }
  return {ClampToInt32(widest), grid.NumberOfRows()};
}

int32_t AtPoint(const TStringGrid& grid, TPoint position) {
  if (position.column < 0 || position.column >= grid.RowLength(position.row)) return '\n';
  return grid.Row(position.row)[position.column];
}

int32_t NonTabbedToTabbedIndex(const TStringGrid& grid, int32_t index) {
  if (grid.hasTabs()) return index;
  const int64_t indentWidth = AtLeastOne(grid.indentWidth());
  int64_t tabbed = 0;    // characters of the grid's text passed
  int64_t untabbed = 0;  // characters of the space-indented text passed
  for (const TRowString& row : grid.rows()) {
    if (untabbed >= index) break;
    int64_t visualColumn = 0;
    const char* end = row.data() + row.size();
    for (const char* at = row.data(); at < end;) {
      const char* tab = NextTab(at, end);
      const int64_t plain = tab - at;
      if (index - untabbed <= plain) return ClampToInt32(tabbed + (index - untabbed));
      tabbed += plain;
      untabbed += plain;
      visualColumn += plain;
      if (tab == end) break;
      const int64_t spaces = ColumnsToTabStop(visualColumn, indentWidth);
      tabbed += 1;
      untabbed += spaces;
      visualColumn += spaces;
      if (untabbed >= index) return ClampToInt32(tabbed);
      at = tab + 1;
    }
    tabbed += 2;
    untabbed += 2;
  }
  return ClampToInt32(tabbed);
}

}  // namespace weft
