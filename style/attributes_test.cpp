#include "style/attributes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace weft {
namespace {

// Random rows of changes, half lent by an arena: the one in effect is the last at or before the point in text order,
// at any row, and NextAttribute walks on from there through every later change in order.
TEST(AttributesTest, AttributeAtAndNextAttributeWalkTheChangesInTextOrder) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    TArena arena;
    std::vector<TAttributeList> lists(random() % 5);
    std::vector<TPoint> model;  // every change, in text order
    for (int32_t row = 0; row < static_cast<int32_t>(lists.size()); ++row) {
      std::vector<TTextAttributeDelta> changes(random() % 3);
      for (size_t i = 0; i < changes.size(); ++i) changes[i].column = static_cast<int32_t>(2 * i + random() % 2);
      for (const TTextAttributeDelta& change : changes) model.push_back({change.column, row});
      TAttributeList& list = lists[static_cast<size_t>(row)];
      if (random() % 4 == 0) {  // a list cleared before it is written again
        list.Assign(changes, nullptr);
        list.clear();
      }
      list.Assign(changes, random() % 2 ? &arena : nullptr);
      if (random() % 2) list = TAttributeList(list);
      if (!changes.empty() && random() % 3 == 0) {  // from its own storage, which may be lent: one change fewer
        const bool dropFirst = random() % 2 == 0;
        list.Assign(dropFirst ? list.changes().subspan(1) : list.changes().first(list.size() - 1), nullptr);
        model.erase(model.end() - (dropFirst ? static_cast<std::ptrdiff_t>(changes.size()) : 1));
      }
      if (random() % 3 == 0) {  // growing moves a lent list to a block of its own
        list.push_back(TTextAttributeDelta{.column = 9});
        model.push_back({9, row});
      }
    }
    TPoint point{static_cast<int32_t>(random() % 6) - 1, static_cast<int32_t>(random() % 8) - 2};
    if (round % 7 == 0) point.row = round % 2 ? INT32_MAX : INT32_MIN;
    const auto after = std::upper_bound(model.begin(), model.end(), point);
    TAttributeCursor cursor;
    const auto where = [&](const TTextAttributeDelta* c) { return c ? TPoint{c->column, cursor.row} : TPoint{-1, -1}; };
    ASSERT_EQ(where(AttributeAt(lists, point, cursor)), (after == model.begin() ? TPoint{-1, -1} : *(after - 1)));
    for (auto next = after; next != model.end(); ++next) ASSERT_EQ(where(NextAttribute(lists, cursor)), *next);
    const TAttributeCursor last = cursor;
    ASSERT_EQ(NextAttribute(lists, cursor), nullptr);
    ASSERT_TRUE(cursor.row == last.row && cursor.index == last.index);
  }
}

TEST(AttributesTest, StylesResolveTheDefaultColours) {
  TSettings settings;
  settings.SetFont("Mono", 10);
  TConfiguration configuration{};
  configuration.styles[kCommentStyle] = {3, RGB(9, 9, 9), RGB(8, 8, 8), 1, 0};
  configuration.styles[kWhiteSpaceStyle] = {0, RGB(9, 9, 9), RGB(8, 8, 8), 0, 1};
  settings.SetConfiguration(configuration);
  EXPECT_TRUE(StyleFor(kCommentStyle, settings, {RGB(1, 1, 1), RGB(2, 2, 2)}) ==
              (TTextAttributeDelta{.font = settings.font(3), .foreColor = RGB(1, 1, 1), .backColor = RGB(8, 8, 8)}));
  EXPECT_EQ(BlankBackground(settings, {RGB(1, 1, 1), RGB(2, 2, 2)}), RGB(2, 2, 2));
}

}  // namespace
}  // namespace weft
