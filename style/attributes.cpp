#include "style/attributes.h"

#include <algorithm>

namespace weft {

TTextAttributeDelta StyleFor(int32_t style, const TSettings& settings, TDefaultColors defaults) {
  const TStyle& record = settings.style(style);
  TTextAttributeDelta attributes;
  attributes.font = settings.font(record.fontIndex);
  attributes.characterExtra = settings.characterExtra(record.fontIndex);
  attributes.foreColor = record.useDefaultForeColor ? defaults.fore : record.foreColor;
  attributes.backColor = record.useDefaultBackColor ? defaults.back : record.backColor;
  return attributes;
}

COLORREF BlankBackground(const TSettings& settings, TDefaultColors defaults) {
  return StyleFor(kWhiteSpaceStyle, settings, defaults).backColor;
}

void ApplyTo(const TTextAttributeDelta& change, HDC dc, bool keepColours) {
  SelectObject(dc, change.font);
  SetTextCharacterExtra(dc, change.characterExtra);
  if (keepColours) return;
  if (GetBkColor(dc) != change.backColor) SetBkColor(dc, change.backColor);
  if (GetTextColor(dc) != change.foreColor) SetTextColor(dc, change.foreColor);
}

namespace {

using TLists = TSplitSpan<const TAttributeList>;

const TAttributeList& ListOf(TLists lists, int32_t row) { return lists[static_cast<size_t>(row)]; }

int32_t ListCount(TLists lists) { return static_cast<int32_t>(lists.size()); }

// The first non-empty list at or after `row`, or -1.
int32_t NextRowWithChanges(TLists lists, int32_t row) {
  for (row = std::max(row, 0); row < ListCount(lists); ++row) {
    if (!ListOf(lists, row).empty()) return row;
  }
  return -1;
}

}  // namespace

const TTextAttributeDelta* AttributeAt(TSplitSpan<const TAttributeList> lists, TPoint point, TAttributeCursor& cursor) {
  const int32_t rows = ListCount(lists);
  // Every row before the text, and every row after it, answers alike.
  point.row = std::clamp(point.row, -1, rows);
  if (point.row >= 0 && point.row < rows) {
    // A row's changes lie in column order, and a long row holds one per token.
    const TAttributeList& list = ListOf(lists, point.row);
    if (const size_t after = list.FirstAfter(point.column); after > 0) {
      cursor = {static_cast<int32_t>(after) - 1, point.row};
      return &list[after - 1];
    }
  }
  for (int32_t row = std::min(point.row - 1, rows - 1); row >= 0; --row) {
    const TAttributeList& list = ListOf(lists, row);
    if (!list.empty()) {
      cursor = {static_cast<int32_t>(list.size()), row};
      return &list.back();
    }
  }
  // Nothing in effect: the next change is the first one after the point. In
  // the point's own row that is its first change (all lie after the point).
  if (point.row >= 0 && point.row < rows && !ListOf(lists, point.row).empty()) {
    cursor = {-1, point.row};
  } else {
    const int32_t row = NextRowWithChanges(lists, point.row + 1);
    cursor = {row < 0 ? 0 : -1, row < 0 ? std::max(0, rows - 1) : row};
  }
  return nullptr;
}

const TTextAttributeDelta* NextAttribute(TSplitSpan<const TAttributeList> lists, TAttributeCursor& cursor) {
  if (cursor.row >= 0 && cursor.row < ListCount(lists)) {
    const TAttributeList& list = ListOf(lists, cursor.row);
    if (cursor.index + 1 < static_cast<int32_t>(list.size())) {
      ++cursor.index;
      return &list[static_cast<size_t>(cursor.index)];
    }
  }
  const int32_t row = NextRowWithChanges(lists, cursor.row + 1);
  if (row < 0) return nullptr;
  cursor = {0, row};
  return &ListOf(lists, row).front();
}

}  // namespace weft
