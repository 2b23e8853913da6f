#include "text/editing.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "text/line_reader.h"
#include "text/refresh.h"
#include "text/string_grid.h"

namespace weft {

void InsertCell(TStringGrid& grid, char character, TPoint at, HWND window) {
  if (!grid.HasRow(at.row)) return;
  TRowString& row = grid.editableRows()[static_cast<size_t>(at.row)];
  const bool inserted = at.column >= 0 && at.column <= row.size();
  if (inserted) row.insert(at.column, character);
  RefreshAfterEdit(grid, TEditKind::kInsertion, at, inserted ? TPoint{at.column + 1, at.row} : at, window);
}

TPoint InsertString(TStringGrid& grid, const char* text, TPoint at, HWND window) {
  if (!grid.HasRow(at.row)) return at;
  const std::string_view inserted = text != nullptr ? text : "";
  // Enter: splitting the row in place keeps its storage, where the general
  // path below builds the joined rows anew.
  if (inserted == "\r\n" || inserted == "\n") {
    SplitRow(grid, at, window);
    return {0, at.row + 1};
  }
  TGapVector<TRowString>& rows = grid.editableRows();
  const TRowString old = std::move(rows[static_cast<size_t>(at.row)]);
  const int32_t split = std::clamp(at.column, 0, old.size());
  int32_t row = at.row;
  bool first = true;
  ForEachLine(inserted, [&](std::string_view line) {
    if (first) {
      rows[static_cast<size_t>(row)].assign(old.view().substr(0, static_cast<size_t>(split)));
      rows[static_cast<size_t>(row)].append(line);
      first = false;
    } else {
      rows.insert(static_cast<size_t>(++row), TRowString(line));
    }
  });
  const TPoint end{rows[static_cast<size_t>(row)].size(), row};
  rows[static_cast<size_t>(row)].append(old.view().substr(static_cast<size_t>(split)));
  RefreshAfterEdit(grid, TEditKind::kInsertion, {split, at.row}, end, window);
  return end;
}

void SplitRow(TStringGrid& grid, TPoint at, HWND window) {
  if (!grid.HasRow(at.row)) return;
  TGapVector<TRowString>& rows = grid.editableRows();
  TRowString& row = rows[static_cast<size_t>(at.row)];
  const int32_t split = std::clamp(at.column, 0, row.size());
  TRowString rest(row.view().substr(static_cast<size_t>(split)));
  row.truncate(split);
  const int32_t length = row.size();
  rows.insert(static_cast<size_t>(at.row) + 1, std::move(rest));
  RefreshAfterEdit(grid, TEditKind::kInsertion, {length, at.row}, {0, at.row + 1}, window);
}

void DeleteSection(TStringGrid& grid, TPoint first, TPoint last, HWND window) {
  if (!grid.HasRow(first.row) || !grid.HasRow(last.row) || last.row < first.row) return;
  const int32_t lastRow = grid.NumberOfRows() - 1;
  first.column = std::clamp(first.column, 0, grid.RowLength(first.row));
  last.column = std::max(last.column, -1);
  // The end, as the point whose next character survives: within the row, or
  // past the line break (just before the next row) when the end takes it.
  TPoint end = last;
  if (last.column >= grid.RowLength(last.row)) {
    end = last.row < lastRow ? TPoint{-1, last.row + 1} : TPoint{grid.RowLength(last.row) - 1, last.row};
  }
  if (end.row == first.row && end.column + 1 < first.column) return;

  TGapVector<TRowString>& rows = grid.editableRows();
  TRowString joined(rows[static_cast<size_t>(first.row)].view().substr(0, static_cast<size_t>(first.column)));
  joined.append(rows[static_cast<size_t>(end.row)].view().substr(static_cast<size_t>(end.column + 1)));
  rows[static_cast<size_t>(first.row)] = std::move(joined);
  rows.erase(static_cast<size_t>(first.row) + 1, static_cast<size_t>(end.row - first.row));
  RefreshAfterEdit(grid, TEditKind::kDeletion, first, end, window);
}

namespace {

// Appends to a caller's buffer, never past its room, always NUL-terminated.
class TBoundedWriter {
 public:
  TBoundedWriter(char* buffer, int32_t room) : buffer_(buffer), room_(std::max(room, 0)) { buffer_[0] = '\0'; }

  void Append(std::string_view text) {
    const size_t count = std::min(text.size(), static_cast<size_t>(room_ - length_));
    if (count > 0) std::memcpy(buffer_ + length_, text.data(), count);
    length_ += static_cast<int32_t>(count);
    buffer_[length_] = '\0';
  }
  int32_t length() const { return length_; }

 private:
  char* buffer_;
  int32_t room_;
  int32_t length_ = 0;
};

constexpr std::string_view kLineBreak = "\r\n";

std::string_view Columns(const TRowString& row, int32_t from, int32_t through) {
  from = std::max(from, 0);
  through = std::min(through, row.size() - 1);
  if (from > through) return {};
  return row.view().substr(static_cast<size_t>(from), static_cast<size_t>(through - from + 1));
}

}  // namespace

int32_t TextInRect(const TStringGrid& grid, TPoint first, TPoint last, char* buffer, int32_t maxLength) {
  if (buffer == nullptr) return 0;
  TBoundedWriter out(buffer, maxLength);
  first.row = std::max(first.row, 0);
  last.row = std::min(last.row, grid.NumberOfRows() - 1);
  if (first.row > last.row) return 0;
  const TRowString& firstRow = grid.Row(first.row);
  if (first.row == last.row) {
    if (firstRow.size() <= first.column) {
      out.Append(kLineBreak);
    } else {
      out.Append(Columns(firstRow, first.column, last.column));
      if (firstRow.size() <= last.column) out.Append(kLineBreak);
    }
    return out.length();
  }
  out.Append(Columns(firstRow, first.column, firstRow.size() - 1));
  out.Append(kLineBreak);
  for (int32_t row = first.row + 1; row < last.row; ++row) {
    out.Append(grid.Row(row).view());
    out.Append(kLineBreak);
  }
  const TRowString& lastRow = grid.Row(last.row);
  out.Append(Columns(lastRow, 0, last.column));
  if (lastRow.size() <= last.column) out.Append(kLineBreak);
  return out.length();
}

}  // namespace weft
