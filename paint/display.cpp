#include "paint/display.h"

#include <algorithm>

#include "geometry/columns.h"
#include "base/int_math.h"
#include "geometry/positions.h"
#include "style/attributes.h"
#include "text/string_grid.h"

namespace weft {

namespace {

class TPainter {
 public:
  TPainter(const TStringGrid& grid, const TDisplayRequest& request)
      : grid_(grid), settings_(grid.settings()), request_(request), dc_(request.dc) {}

  void Paint();

 private:
  enum class TSelection { kIgnored, kOutside, kInside };

  // The columns of one row whose cells reach into the clip box; none
  // (first > last) when the row lies above or below it.
  struct TVisibleColumns {
    int32_t row = -1, first = 0, last = -1;
  };

  void PaintRuns(TPoint stop);
  void PaintRunWithSelection(TPoint current, TPoint boundary);
  TPoint BoundaryAfter(const TTextAttributeDelta* next, int32_t nextRow, TPoint stop) const;
  TPoint NextPosition(TPoint position) const;
  TPoint SkipHidden(TPoint position);
  const TVisibleColumns& VisibleColumns(int32_t row);
  void EnterSelection();
  void LeaveSelection();
  void PaintRun(TPoint from, TPoint to);
  void DrawRowText(int32_t row, int32_t fromColumn, int32_t count);
  void FillRowEnd(int32_t row);
  void FillAfterText(TPoint end, int32_t lastRow);
  void BlankFill(int64_t left, int64_t top, int64_t right, int64_t bottom);
  // Where column 0 is drawn, and the tab origin: the top corner's x, negated.
  int32_t LeftEdge() const { return ClampToInt32(-int64_t{grid_.topCorner().column}); }

  const TStringGrid& grid_;
  const TSettings& settings_;
  const TDisplayRequest& request_;
  HDC dc_;
  RECT clip_{};
  bool clipped_ = false;  // false: the device context gave no clip box
  TVisibleColumns visible_;  // of the row painted last
  TSelection selection_ = TSelection::kIgnored;
  const TTextAttributeDelta* inEffect_ = nullptr;
};

void TPainter::Paint() {
  if (grid_.NumberOfRows() == 0) return;
  clipped_ = GetClipBox(dc_, &clip_) != ERROR;
  const int savedExtra = GetTextCharacterExtra(dc_);
  HGDIOBJ savedFont = SelectObject(dc_, settings_.font(0));
  SetTextCharacterExtra(dc_, settings_.characterExtra(0));

  const TPoint from = request_.from;
  const TPoint to = request_.to;
  const TPoint selectionEnd = request_.selectionEnd;
  const bool nothingSelected = selectionEnd.column < 0 && selectionEnd.row < 0;
  if (!nothingSelected && from <= selectionEnd && request_.selectionStart <= to) {
    selection_ = request_.selectionStart <= from ? TSelection::kInside : TSelection::kOutside;
  }
  const TPoint stop = std::min(to, grid_.LastRowAndColumn());
  if (from <= to) PaintRuns(stop);
  if (to != stop) FillAfterText(stop, to.row);

  SetTextCharacterExtra(dc_, savedExtra);
  if (savedFont != nullptr) SelectObject(dc_, savedFont);
}

// GDI draws nothing outside the clip box, so the runs wholly left or right of
// it on a row are stepped over, attribute cursor and all, and a long row costs
// what its visible part costs.
void TPainter::PaintRuns(TPoint stop) {
  TPoint current = SkipHidden(request_.from);
  TAttributeCursor cursor;
  inEffect_ = AttributeAt(grid_.attributeLists(), current, cursor);
  const TTextAttributeDelta* next = NextAttribute(grid_.attributeLists(), cursor);
  TPoint boundary = BoundaryAfter(next, cursor.row, stop);
  if (selection_ == TSelection::kInside) EnterSelection();
  ApplyTo(settings_.defaultAttributes(), dc_, selection_ == TSelection::kInside);
  while (current <= stop) {
    if (inEffect_ != nullptr) ApplyTo(*inEffect_, dc_, selection_ == TSelection::kInside);
    boundary = std::max(boundary, current);
    PaintRunWithSelection(current, boundary);
    const TPoint following = NextPosition(boundary);
    current = SkipHidden(following);
    inEffect_ = next;
    next = NextAttribute(grid_.attributeLists(), cursor);
    // A skip stays in its row, so the change in effect after it is found there.
    if (current != following && next != nullptr && TPoint{next->column, cursor.row} <= current) {
      inEffect_ = AttributeAt(grid_.attributeLists(), current, cursor);
      next = NextAttribute(grid_.attributeLists(), cursor);
    }
    boundary = BoundaryAfter(next, cursor.row, stop);
  }
}

// A line end steps to the start of the next row, whether or not it has one.
TPoint TPainter::NextPosition(TPoint position) const {
  if (position.column >= grid_.RowLength(position.row)) return {0, position.row + 1};
  return {position.column + 1, position.row};
}

// The first position from `position` on that a run must paint: skips a row's
// hidden columns up to its first visible one, or up to its line end (whose
// fill is painted as before) when none follows.
TPoint TPainter::SkipHidden(TPoint position) {
  if (!clipped_ || !grid_.HasRow(position.row)) return position;
  const TVisibleColumns& visible = VisibleColumns(position.row);
  const int32_t lineEnd = grid_.RowLength(position.row);
  if (position.column >= lineEnd) return position;
  if (position.column > visible.last) return {lineEnd, position.row};
  return {std::max(position.column, std::min(visible.first, lineEnd)), position.row};
}

// The caret nearest a pixel lies on either side of the character under it, so
// the columns reach one before the one under the clip box's left edge.
const TPainter::TVisibleColumns& TPainter::VisibleColumns(int32_t row) {
  if (visible_.row == row) return visible_;
  const int32_t y = PixelYOf(grid_, row);
  if (y >= clip_.bottom || int64_t{y} + settings_.lineHeight() <= clip_.top) {
    visible_ = {row, 0, -1};
  } else {
    visible_ = {row, ClampToInt32(int64_t{CellForPoint(grid_, clip_.left, y).column} - 1),
                CellForPoint(grid_, clip_.right, y).column};
  }
  return visible_;
}

// `next` is the change NextAttribute gave, and `nextRow` the row its cursor
// found it on.
TPoint TPainter::BoundaryAfter(const TTextAttributeDelta* next, int32_t nextRow, TPoint stop) const {
  if (next == nullptr) return stop;
  return std::min(PointBefore(grid_, {next->column, nextRow}), stop);
}

// A selection that starts on the run's last position still starts in this
// run: that position is painted highlighted, not left to the run after it.
void TPainter::PaintRunWithSelection(TPoint current, TPoint boundary) {
  const TPoint start = request_.selectionStart;
  const TPoint end = request_.selectionEnd;
  if (selection_ == TSelection::kOutside && start <= boundary) {
    if (current < start) PaintRun(current, PointBefore(grid_, start));
    current = std::max(current, start);
    EnterSelection();
  }
  if (selection_ == TSelection::kInside && end < boundary) {
    if (current <= end) PaintRun(current, end);
    current = std::max(current, NextPosition(end));
    LeaveSelection();
  }
  if (current <= boundary) PaintRun(current, boundary);
}

void TPainter::EnterSelection() {
  selection_ = TSelection::kInside;
  SetTextColor(dc_, GetSysColor(COLOR_HIGHLIGHTTEXT));
  SetBkColor(dc_, GetSysColor(COLOR_HIGHLIGHT));
}

// Past the selection the run goes on in its own colours.
void TPainter::LeaveSelection() {
  selection_ = TSelection::kIgnored;
  ApplyTo(inEffect_ != nullptr ? *inEffect_ : settings_.defaultAttributes(), dc_, false);
}

void TPainter::PaintRun(TPoint from, TPoint to) {
  SetTextAlign(dc_, 0);
  for (int32_t row = from.row; row <= to.row; ++row) {
    const int32_t length = grid_.RowLength(row);
    const int32_t first = row == from.row ? std::clamp(from.column, 0, length) : 0;
    const int32_t last = row == to.row ? std::min(to.column, length - 1) : length - 1;
    DrawRowText(row, first, last - first + 1);
    if (row != to.row || to.column >= length) FillRowEnd(row);
  }
}

// Draws `count` characters from `fromColumn`. GDI measures every character it
// is given, shown or not, so a run is cut to the characters whose cells reach
// into the clip box.
void TPainter::DrawRowText(int32_t row, int32_t fromColumn, int32_t count) {
  if (count <= 0 || !grid_.HasRow(row)) return;
  int32_t first = fromColumn;
  int32_t last = fromColumn + count - 1;
  if (clipped_) {
    const TVisibleColumns& visible = VisibleColumns(row);
    first = std::max(first, visible.first);
    last = std::min(last, visible.last);
    if (first > last) return;
  }
  const int tabStop = settings_.tabStopWidth();
  TabbedTextOutA(dc_, PixelXOf(grid_, {first, row}), PixelYOf(grid_, row), grid_.Row(row).data() + first,
                 last - first + 1, 1, &tabStop, LeftEdge());
}

void TPainter::FillRowEnd(int32_t row) {
  const int64_t top = PixelYOf(grid_, row);
  BlankFill(RowEndPixelX(grid_, row), top, kFillEdge, top + settings_.lineHeight());
}

// The rest of the text's last row, then every row below it down to the to
// row, each as far right as column kFillEdge reaches.
void TPainter::FillAfterText(TPoint end, int32_t lastRow) {
  const int64_t top = PixelYOf(grid_, end.row);
  BlankFill(RowEndPixelX(grid_, end.row), top, PixelXOf(grid_, {kFillEdge, lastRow}), top + settings_.lineHeight());
  const int32_t belowLast = ClampToInt32(int64_t{lastRow} + 1);
  BlankFill(PixelXOf(grid_, {0, end.row + 1}), PixelYOf(grid_, end.row + 1), PixelXOf(grid_, {kFillEdge, belowLast}),
            PixelYOf(grid_, belowLast));
}

void TPainter::BlankFill(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  const RECT rect{ClampToInt32(left), ClampToInt32(top), ClampToInt32(right), ClampToInt32(bottom)};
  HBRUSH brush = CreateSolidBrush(BlankBackground(settings_, grid_.defaultColors()));
  if (brush == nullptr) {
    OutputDebugStringA("Invalid brush in FillRect\n");
    return;
  }
  FillRect(dc_, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

void Display(const TStringGrid& grid, const TDisplayRequest& request) {
  TDisplayRequest clamped = request;
  if (clamped.from.row < 0) clamped.from = {0, 0};
  TPainter(grid, clamped).Paint();
}

}  // namespace weft
