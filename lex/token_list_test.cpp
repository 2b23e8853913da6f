#include "lex/token_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lex/token.h"

namespace weft {
namespace {

TToken TokenAt(int32_t column, int32_t kind) { return {column, column + 1, 0, kind}; }

TEST(TokenTest, EqualityComparesEveryFieldAndTheTextButNotTheOffset) {
  const TToken base{1, 2, 3, kIdentifier};
  TToken stored = base;
  stored.textOffset = 99;
  EXPECT_TRUE(TokensEqual(base, "abc", stored, "abc"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ABC"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ab"));
  for (int field = 0; field < 4; ++field) {
    TToken other = base;
    int32_t* fields[] = {&other.startColumn, &other.endColumn, &other.rowSpan, &other.kind};
    ++*fields[field];
    EXPECT_FALSE(TokensEqual(base, "abc", other, "abc")) << "field " << field;
  }
}

// A list in a piece of an arena is used like one in its own block, and
// moves to a heap block of its own when it must grow; text pointers survive
// moving the list, and long texts are cut.
TEST(TokenListTest, ListsInArenaPiecesGrowOnTheHeap) {
  TTokenList staged;
  staged.Append(TokenAt(0, kIdentifier), "abc");
  staged.Append(TokenAt(3, kWhiteSpace), " ");
  TArena arena;
  TTokenList lent;
  lent.Assign(staged, &arena);
  EXPECT_GT(arena.HeapBytes(), 0u);
  lent.truncate(1);
  lent.Append(TokenAt(3, kWhiteSpace), "  ");
  lent.Append(TokenAt(5, kIdentifier), "more than fits in the piece");
  lent.Append(TokenAt(6, kComment), std::string(40000, 'x'));
  const char* text = lent.Text(2);
  std::vector<TTokenList> rows;
  rows.push_back(std::move(lent));
  for (int i = 0; i < 100; ++i) rows.emplace(rows.begin(), TTokenList());  // shifting rows moves lists
  const TTokenList& moved = rows.back();
  ASSERT_EQ(moved.count(), 4);
  EXPECT_EQ(moved.TextView(0), "abc");
  EXPECT_EQ(moved.TextView(1), "  ");
  EXPECT_EQ(moved.Text(2), text);
  EXPECT_EQ(moved.TextView(2), "more than fits in the piece");
  EXPECT_EQ(moved.TextLength(3), kMaxTokenText);
}

// Random appends (texts of every short length, so every way of copying
// them), truncations, copies and moves against a plain vector of (token,
// text) pairs.
TEST(TokenListTest, BehavesLikeAVectorOfTokensAndStrings) {
  std::mt19937 random(12345);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TTokenList list;
  std::vector<std::pair<TToken, std::string>> model;
  const auto check = [&] {
    ASSERT_EQ(static_cast<int32_t>(model.size()), list.count());
    for (int32_t i = 0; i < list.count(); ++i) {
      const auto& [token, text] = model[static_cast<size_t>(i)];
      ASSERT_TRUE(TokensEqual(token, text, list.at(i), list.TextView(i))) << i;
      ASSERT_EQ('\0', list.Text(i)[text.size()]);
    }
  };
  for (int step = 0; step < 20000; ++step) {
    const int operation = below(19);
    if (operation < 14) {
      const TToken token{below(100), below(100), below(100), below(300) - 128};
      std::string text(static_cast<size_t>(below(4) == 0 ? below(41) : below(12)), '\0');
      for (char& c : text) c = static_cast<char>(below(256));
      list.Append(token, text);
      model.emplace_back(token, text);
    } else if (operation == 14) {
      const int count = below(static_cast<int>(model.size()) + 1);
      list.truncate(count);
      model.resize(static_cast<size_t>(count));
    } else if (operation == 15) {
      TTokenList copy(list);
      copy.Append(TokenAt(0, kIdentifier), "x");
      copy.truncate(static_cast<int32_t>(model.size()));
      list = copy;  // into the block it has, which fits
    } else if (operation == 16) {
      TTokenList other = std::move(list);
      list = std::move(other);
    } else if (operation == 17 && below(20) == 0) {
      list.clear();
      model.clear();
    }
    if (step % 100 == 0) check();
  }
  check();
}

}  // namespace
}  // namespace weft
