#include "editor.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "theme.h"
#include "token_names.h"

namespace {

bool Before(WeftPoint a, WeftPoint b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }
bool Same(WeftPoint a, WeftPoint b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TEditor::TEditor(const TWeftApi& api, HWND window) : api_(api), window_(window), grid_(api.CreateGrid()) {
  view_.window = window;
  api_.SetDefaultForeColor(grid_, theme::kText);
  api_.SetDefaultBackColor(grid_, theme::kBackground);
  api_.CellSize(&cell_);
  api_.SetText(grid_, "", 0, 1);
}

TEditor::~TEditor() { api_.DeleteGrid(grid_); }

// A file that cannot be read leaves the editor as it was, so that Save cannot
// write an empty text over it.
bool TEditor::Open(const std::string& path) {
  std::string content;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    content = bytes.str();
  }
  path_ = path;
  fileHadTabs_ = content.find('\t') != std::string::npos;
  // Runs of leading spaces become tabs; Save turns them back.
  api_.SetText(grid_, content.c_str(), static_cast<int32_t>(content.size()), 1);
  modified_ = false;
  SetTopCorner(0, 0);
  SetSelection({1, 1}, {1, 1});
  UpdateScrollBars();
  InvalidateRect(window_, nullptr, FALSE);
  return true;
}

bool TEditor::Save(std::string& message) {
  if (path_.empty()) {
    message = "no file to save to";
    return false;
  }
  const std::string text = WholeText(!fileHadTabs_);
  // Written beside the file and renamed over it, so the file is never seen
  // half written.
  const std::string temporary = path_ + ".weftpad-save";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
      message = "cannot write " + temporary;
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    message = "cannot replace " + path_;
    return false;
  }
  modified_ = false;
  message = "saved " + std::to_string(text.size()) + " bytes";
  return true;
}

void TEditor::Paint(HDC dc, const RECT& area) {
  const int firstRow = topRow_ + std::max(0L, area.top) / cell_.y + 1;
  const int lastRow = topRow_ + std::max(0L, area.bottom - 1) / cell_.y + 1;
  WeftDisplay display{};
  display.deviceContext = dc;
  display.fromColumn = 1;
  display.fromRow = firstRow;
  // Through the last row's line break; below the text, Display fills the
  // rows with the blank background.
  display.toColumn = lastRow <= api_.NumberOfRows(grid_) ? RowLength(lastRow) + 1 : 1;
  display.toRow = lastRow;
  if (HasSelection()) {
    const WeftPoint start = SelectionStart();
    const WeftPoint last = LastSelected();
    display.selectionStartColumn = start.x;
    display.selectionStartRow = start.y;
    display.selectionEndColumn = last.x;
    display.selectionEndRow = last.y;
  }
  api_.Display(grid_, &display);
}

void TEditor::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  UpdateScrollBars();
}

void TEditor::SetFocused(bool focused) {
  focused_ = focused;
  if (focused) {
    CreateCaret(window_, nullptr, 2, cell_.y);
    PlaceCaret();
    ::ShowCaret(window_);
  } else {
    DestroyCaret();
  }
}

void TEditor::ScrollRows(int rows) { SetTopCorner(leftX_, topRow_ + rows); }

void TEditor::ScrollToRow(int row) { SetTopCorner(leftX_, row); }

void TEditor::ScrollToPixel(int x) { SetTopCorner(x, topRow_); }

int TEditor::visibleRows() const { return std::max(1, height_ / cell_.y); }

void TEditor::MoveLeft(bool extend) {
  desiredX_ = -1;
  if (HasSelection() && !extend) return SetCaret(SelectionStart(), false);
  WeftPoint before;
  api_.PointBefore(grid_, caret_.x, caret_.y, &before);
  SetCaret(before, extend);
}

void TEditor::MoveRight(bool extend) {
  desiredX_ = -1;
  if (HasSelection() && !extend) return SetCaret(SelectionEnd(), false);
  WeftPoint after;
  api_.PointAfter(grid_, caret_.x, caret_.y, &after);
  SetCaret(after, extend);
}

void TEditor::MoveRows(int rows, bool extend) {
  if (desiredX_ < 0) {
    WeftPoint pixel;
    api_.PointForCell(grid_, caret_.x, caret_.y, &pixel);
    desiredX_ = pixel.x + leftX_;
  }
  const int row = std::clamp(caret_.y + rows, 1, api_.NumberOfRows(grid_));
  WeftPoint cell;
  api_.CellForPoint(grid_, desiredX_ - leftX_, (row - 1 - topRow_) * cell_.y, &cell);
  SetCaret(Clamp({cell.x, row}), extend);
}

void TEditor::MoveToRowStart(bool extend) {
  desiredX_ = -1;
  SetCaret({1, caret_.y}, extend);
}

void TEditor::MoveToRowEnd(bool extend) {
  desiredX_ = -1;
  SetCaret({RowLength(caret_.y) + 1, caret_.y}, extend);
}

void TEditor::MoveToTextStart(bool extend) {
  desiredX_ = -1;
  SetCaret({1, 1}, extend);
}

void TEditor::MoveToTextEnd(bool extend) {
  desiredX_ = -1;
  SetCaret(EndOfText(), extend);
}

void TEditor::MoveToPixel(int x, int y, bool extend) {
  desiredX_ = -1;
  WeftPoint cell;
  api_.CellForPoint(grid_, x, y, &cell);
  SetCaret(Clamp(cell), extend);
}

void TEditor::SelectAll() {
  desiredX_ = -1;
  SetSelection({1, 1}, EndOfText());
}

void TEditor::TypeCharacter(char character) {
  DeleteSelection();
  api_.InsertCell(grid_, static_cast<unsigned char>(character), caret_.x, caret_.y, &view_);
  WeftPoint after;
  api_.PointAfter(grid_, caret_.x, caret_.y, &after);
  AfterEdit(after);
}

void TEditor::NewLine() { Paste("\r\n"); }

void TEditor::Backspace() {
  if (HasSelection()) return DeleteSelection();
  if (Same(caret_, {1, 1})) return;
  WeftPoint before;
  api_.PointBefore(grid_, caret_.x, caret_.y, &before);
  api_.DeleteSection(grid_, before.x, before.y, before.x, before.y, &view_);
  AfterEdit(before);
}

void TEditor::DeleteForward() {
  if (HasSelection()) return DeleteSelection();
  if (Same(caret_, EndOfText())) return;
  api_.DeleteSection(grid_, caret_.x, caret_.y, caret_.x, caret_.y, &view_);
  AfterEdit(caret_);
}

void TEditor::Paste(const std::string& text) {
  DeleteSelection();
  if (text.empty()) return;
  WeftPoint end;
  api_.InsertString(grid_, text.c_str(), caret_.x, caret_.y, &end, &view_);
  AfterEdit(end);
}

void TEditor::DeleteSelection() {
  if (!HasSelection()) return;
  const WeftPoint start = SelectionStart();
  const WeftPoint last = LastSelected();
  api_.DeleteSection(grid_, start.x, start.y, last.x, last.y, &view_);
  AfterEdit(start);
}

std::string TEditor::SelectedText() const {
  if (!HasSelection()) return std::string();
  const WeftPoint start = SelectionStart();
  const WeftPoint last = LastSelected();
  // The linear indices count a line break as its two bytes.
  const int32_t room = IndexOf(SelectionEnd()) - IndexOf(start) + 2;
  std::string text(static_cast<size_t>(room) + 1, '\0');
  const int32_t length = api_.TextInRect(grid_, start.x, start.y, last.x, last.y, text.data(), room);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

bool TEditor::Find(const TFindRequest& request) {
  if (request.pattern.empty()) return false;
  const std::string text = WholeText(false);
  auto search = [&](int32_t start, int32_t* length) {
    return api_.FindPattern(text.c_str(), static_cast<int32_t>(text.size()) + 1, request.pattern.c_str(), length, start,
                            request.regularExpression, request.matchCase, request.forward);
  };
  // Forward from the selection's end, backward from just before its start;
  // start 0 searches backward from the end of the text.
  const int32_t start = request.forward ? IndexOf(SelectionEnd()) : IndexOf(SelectionStart()) - 1;
  int32_t length = 0;
  int32_t found = search(start, &length);
  if (found == start && length == 0 && request.forward) found = search(start + 1, &length);
  if (found == 0) found = search(request.forward ? 1 : 0, &length);
  if (found == 0) return false;
  WeftPoint from, to;
  api_.PointForIndex(grid_, found, &from);
  api_.PointForIndex(grid_, found + length, &to);
  desiredX_ = -1;
  SetSelection(Clamp(from), Clamp(to));
  return true;
}

std::string TEditor::Status() const {
  std::string status = "Row " + std::to_string(caret_.y) + ", Column " + std::to_string(caret_.x);
  WeftTokenRecord token{};
  if (api_.TokenAt(grid_, caret_.x, caret_.y, &token) >= 0) status += "    " + DescribeToken(token);
  return status;
}

WeftPoint TEditor::Clamp(WeftPoint point) const {
  const int row = std::clamp(point.y, 1, api_.NumberOfRows(grid_));
  return {std::clamp(point.x, 1, RowLength(row) + 1), row};
}

WeftPoint TEditor::EndOfText() const {
  WeftPoint end;
  api_.LastRowAndColumn(grid_, &end);
  return end;
}

int TEditor::RowLength(int row) const { return api_.ColumnsInRow(grid_, row); }

bool TEditor::HasSelection() const { return !Same(anchor_, caret_); }

WeftPoint TEditor::SelectionStart() const { return Before(anchor_, caret_) ? anchor_ : caret_; }

WeftPoint TEditor::SelectionEnd() const { return Before(anchor_, caret_) ? caret_ : anchor_; }

WeftPoint TEditor::LastSelected() const {
  WeftPoint last;
  api_.PointBefore(grid_, SelectionEnd().x, SelectionEnd().y, &last);
  return last;
}

int32_t TEditor::IndexOf(WeftPoint point) const { return api_.IndexForPoint(grid_, point.x, point.y); }

std::string TEditor::WholeText(bool expandTabs) const {
  // Text cuts a text that does not fit its buffer short: grow the buffer
  // until the text leaves room to spare. Unexpanded, the first size fits.
  std::string text(static_cast<size_t>(IndexOf(EndOfText())) + 1, '\0');
  for (;;) {
    const int32_t size = static_cast<int32_t>(text.size());
    const int32_t length = api_.Text(grid_, text.data(), size, expandTabs);
    if (length < size - 1) {
      text.resize(static_cast<size_t>(std::max(length, 0)));
      return text;
    }
    text.resize(text.size() * 2);
  }
}

void TEditor::SetCaret(WeftPoint caret, bool extend) { SetSelection(extend ? anchor_ : caret, caret); }

void TEditor::SetSelection(WeftPoint anchor, WeftPoint caret) {
  if (HasSelection() || !Same(anchor, caret)) {
    InvalidateRows(std::min({anchor_.y, caret_.y, anchor.y, caret.y}),
                   std::max({anchor_.y, caret_.y, anchor.y, caret.y}));
  }
  anchor_ = anchor;
  caret_ = caret;
  RevealCaret();
  PlaceCaret();
}

void TEditor::AfterEdit(WeftPoint caret) {
  modified_ = true;
  desiredX_ = -1;
  anchor_ = caret;
  caret_ = caret;
  UpdateScrollBars();
  RevealCaret();
  PlaceCaret();
}

void TEditor::InvalidateRows(int firstRow, int lastRow) {
  RECT band{0, (firstRow - 1 - topRow_) * cell_.y, width_, (lastRow - topRow_) * cell_.y};
  InvalidateRect(window_, &band, FALSE);
}

void TEditor::UpdateScrollBars() {
  WeftPoint extent;
  api_.CellExtent(grid_, &extent);
  SCROLLINFO vertical{};
  vertical.cbSize = sizeof vertical;
  vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  vertical.nMax = std::max(extent.y - 1, 0);
  vertical.nPage = static_cast<UINT>(visibleRows());
  vertical.nPos = topRow_;
  SetScrollInfo(window_, SB_VERT, &vertical, TRUE);
  SCROLLINFO horizontal = vertical;
  // One cell more than the widest row, for the caret after its end.
  horizontal.nMax = (extent.x + 1) * cell_.x;
  horizontal.nPage = static_cast<UINT>(std::max(width_, 1));
  horizontal.nPos = leftX_;
  SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
}

void TEditor::RevealCaret() {
  int top = topRow_;
  const int row = caret_.y - 1;
  if (row < top) top = row;
  if (row >= top + visibleRows()) top = row - visibleRows() + 1;
  WeftPoint pixel;
  api_.PointForCell(grid_, caret_.x, caret_.y, &pixel);
  const int x = pixel.x + leftX_;
  int left = leftX_;
  if (x < left) left = std::max(0, x - width_ / 4);
  if (x + cell_.x > left + width_) left = x + cell_.x - width_ + width_ / 4;
  SetTopCorner(left, top);
}

void TEditor::PlaceCaret() {
  if (!focused_) return;
  WeftPoint pixel;
  api_.PointForCell(grid_, caret_.x, caret_.y, &pixel);
  SetCaretPos(pixel.x, pixel.y);
}

void TEditor::SetTopCorner(int x, int topRow) {
  topRow = std::clamp(topRow, 0, std::max(api_.NumberOfRows(grid_) - 1, 0));
  x = std::max(x, 0);
  if (x == leftX_ && topRow == topRow_) return;
  leftX_ = x;
  topRow_ = topRow;
  api_.SetTopCorner(grid_, leftX_, topRow_ * cell_.y);
  SetScrollPos(window_, SB_VERT, topRow_, TRUE);
  SetScrollPos(window_, SB_HORZ, leftX_, TRUE);
  InvalidateRect(window_, nullptr, FALSE);
  PlaceCaret();
}
