#include "style/attributes.h"

#include <algorithm>

#include "text/string_grid.h"

namespace weft {

TTextAttributeDelta StyleFor(int32_t style, const TStringGrid& grid) {
  const TSettings& settings = grid.settings();
  const TStyle& record = settings.style(style);
  TTextAttributeDelta attributes;
  attributes.font = settings.font(record.fontIndex);
  attributes.characterExtra = settings.characterExtra(record.fontIndex);
  attributes.foreColor = record.useDefaultForeColor ? grid.defaultForeColor() : record.foreColor;
  attributes.backColor = record.useDefaultBackColor ? grid.defaultBackColor() : record.backColor;
  return attributes;
}

COLORREF BlankBackground(const TStringGrid& grid) { return StyleFor(kWhiteSpaceStyle, grid).backColor; }

void ApplyTo(const TTextAttributeDelta& change, HDC dc, bool keepColours) {
  SelectObject(dc, change.font);
  SetTextCharacterExtra(dc, change.characterExtra);
  if (keepColours) return;
  if (GetBkColor(dc) != change.backColor) SetBkColor(dc, change.backColor);
  if (GetTextColor(dc) != change.foreColor) SetTextColor(dc, change.foreColor);
}

namespace {

const TAttributeList& ListOf(const TStringGrid& grid, int32_t row) { return grid.attributeLists()[static_cast<size_t>(row)]; }

int32_t ListCount(const TStringGrid& grid) { return static_cast<int32_t>(grid.attributeLists().size()); }

// The first non-empty list at or after `row`, or -1.
int32_t NextRowWithChanges(const TStringGrid& grid, int32_t row) {
  for (row = std::max(row, 0); row < ListCount(grid); ++row) {
    if (!ListOf(grid, row).empty()) return row;
  }
  return -1;
}

}  // namespace

const TTextAttributeDelta* AttributeAt(const TStringGrid& grid, TPoint point, TAttributeCursor& cursor) {
  const int32_t rows = ListCount(grid);
  if (point.row >= 0 && point.row < rows) {
    const TAttributeList& list = ListOf(grid, point.row);
    for (int32_t i = static_cast<int32_t>(list.size()) - 1; i >= 0; --i) {
      if (list[static_cast<size_t>(i)].column <= point.column) {
        cursor = {i, point.row};
        return &list[static_cast<size_t>(i)];
      }
    }
  }
  for (int32_t row = std::min(point.row - 1, rows - 1); row >= 0; --row) {
    const TAttributeList& list = ListOf(grid, row);
    if (!list.empty()) {
      cursor = {static_cast<int32_t>(list.size()), row};
      return &list.back();
    }
  }
  // Nothing in effect: the next change is the first one after the point. In
  // the point's own row that is its first change (all lie after the point).
  if (point.row >= 0 && point.row < rows && !ListOf(grid, point.row).empty()) {
    cursor = {-1, point.row};
  } else {
    const int32_t row = NextRowWithChanges(grid, point.row + 1);
    cursor = {row < 0 ? 0 : -1, row < 0 ? std::max(0, rows - 1) : row};
  }
  return nullptr;
}

const TTextAttributeDelta* NextAttribute(const TStringGrid& grid, TAttributeCursor& cursor) {
  if (cursor.row >= 0 && cursor.row < ListCount(grid)) {
    const TAttributeList& list = ListOf(grid, cursor.row);
    if (cursor.index + 1 < static_cast<int32_t>(list.size())) {
      ++cursor.index;
      return &list[static_cast<size_t>(cursor.index)];
    }
  }
  const int32_t row = NextRowWithChanges(grid, cursor.row + 1);
  if (row < 0) return nullptr;
  cursor = {0, row};
  return &ListOf(grid, row).front();
}

}  // namespace weft
