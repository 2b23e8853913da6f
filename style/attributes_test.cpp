#include "style/attributes.h"

#include <gtest/gtest.h>

#include <vector>

namespace weft {
namespace {

// Four rows' lists whose changes are set by hand.
std::vector<TAttributeList> ListsWithChanges(std::vector<std::vector<int32_t>> columnsPerRow) {
  std::vector<TAttributeList> lists(4);
  for (size_t row = 0; row < columnsPerRow.size(); ++row) {
    for (int32_t column : columnsPerRow[row]) {
      TTextAttributeDelta change;
      change.column = column;
      lists[row].push_back(change);
    }
  }
  return lists;
}

// Lists lent by an arena, and lists in blocks of their own, hold the same
// changes through copies, moves, growth and clearing.
TEST(AttributeListTest, LentAndOwnedListsAgree) {
  std::vector<TTextAttributeDelta> changes(5);
  for (int32_t i = 0; i < 5; ++i) changes[static_cast<size_t>(i)].column = i;
  const auto columns = [](const TAttributeList& list) {
    std::vector<int32_t> out;
    for (const TTextAttributeDelta& change : list) out.push_back(change.column);
    return out;
  };
  TArena arena;
  TAttributeList lent;
  lent.Assign(changes, &arena);
  TAttributeList owned;
  owned.Assign(changes, nullptr);
  EXPECT_EQ(columns(lent), columns(owned));
  TTextAttributeDelta extra;
  extra.column = 9;
  lent.push_back(extra);
  owned.push_back(extra);
  EXPECT_EQ(columns(lent), (std::vector<int32_t>{0, 1, 2, 3, 4, 9}));
  EXPECT_EQ(columns(lent), columns(owned));
  TAttributeList moved(std::move(lent));
  TAttributeList copy(moved);
  EXPECT_EQ(columns(copy), columns(owned));
  copy.Assign(std::span(changes).first(2), &arena);
  EXPECT_EQ(columns(copy), (std::vector<int32_t>{0, 1}));
  copy.clear();
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(copy.begin(), nullptr);
  copy.Assign(std::span(changes).subspan(4), nullptr);  // a block of exactly one change, then growth
  copy.push_back(extra);
  EXPECT_EQ(columns(copy), (std::vector<int32_t>{4, 9}));
}

TEST(AttributesTest, AttributeAtAndNextAttributeWalkTheChanges) {
  auto lists = ListsWithChanges({{}, {2}, {}, {0, 3}});
  struct Case {
    TPoint point;
    TPoint found;  // (column, row) of the change in effect; row -1 for none
    TPoint next;   // of the change NextAttribute gives; row -1 for none
  } cases[] = {
      {{0, 0}, {0, -1}, {2, 1}},  {{1, 1}, {0, -1}, {2, 1}}, {{2, 1}, {2, 1}, {0, 3}},
      {{3, 2}, {2, 1}, {0, 3}},   {{2, 3}, {0, 3}, {3, 3}},  {{9, 3}, {3, 3}, {0, -1}},
      {{0, 7}, {3, 3}, {0, -1}},  {{0, -2}, {0, -1}, {2, 1}},
  };
  // A change's row is the row of the list the cursor found it in.
  const auto where = [](const TTextAttributeDelta* change, const TAttributeCursor& cursor) {
    return change ? TPoint{change->column, cursor.row} : TPoint{0, -1};
  };
  for (const Case& c : cases) {
    TAttributeCursor cursor;
    const TTextAttributeDelta* found = AttributeAt(lists, c.point, cursor);
    EXPECT_EQ(where(found, cursor), c.found) << c.point.column << "," << c.point.row;
    const TTextAttributeDelta* next = NextAttribute(lists, cursor);
    EXPECT_EQ(where(next, cursor), c.next) << c.point.column << "," << c.point.row;
  }
  // Above the text, with changes on row 0: the next change is row 0's first.
  lists = ListsWithChanges({{1, 2}});
  TAttributeCursor cursor;
  EXPECT_EQ(AttributeAt(lists, {0, -2}, cursor), nullptr);
  const TTextAttributeDelta* first = NextAttribute(lists, cursor);
  EXPECT_EQ(where(first, cursor), (TPoint{1, 0}));
  const TTextAttributeDelta* second = NextAttribute(lists, cursor);
  EXPECT_EQ(where(second, cursor), (TPoint{2, 0}));
}

TEST(AttributesTest, StylesResolveTheDefaultColours) {
  TSettings settings;
  settings.SetFont("Mono", 10);
  const TDefaultColors defaults{RGB(1, 1, 1), RGB(2, 2, 2)};
  TConfiguration configuration = settings.configuration();
  configuration.styles[kCommentStyle] = {3, RGB(9, 9, 9), RGB(8, 8, 8), 1, 0};
  configuration.styles[kWhiteSpaceStyle] = {0, RGB(9, 9, 9), RGB(8, 8, 8), 0, 1};
  settings.SetConfiguration(configuration);
  const TTextAttributeDelta comment = StyleFor(kCommentStyle, settings, defaults);
  EXPECT_EQ(comment.foreColor, RGB(1, 1, 1));
  EXPECT_EQ(comment.backColor, RGB(8, 8, 8));
  EXPECT_EQ(comment.font, settings.font(3));
  EXPECT_EQ(BlankBackground(settings, defaults), RGB(2, 2, 2));
}

}  // namespace
}  // namespace weft
