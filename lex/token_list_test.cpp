#include "lex/token_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lex/token.h"

namespace weft {
namespace {

TToken TokenAt(int32_t column, int32_t row, int32_t kind) { return {column, row, column + 1, row, kind}; }

TEST(TokenTest, IsCompactAndKeepsItsKindCodes) {
  EXPECT_LE(sizeof(TToken), 24u);
  EXPECT_EQ(128, kIncompleteToken);
  EXPECT_EQ(137, kRadixNumberOpen);
  EXPECT_EQ(146, kWhiteSpace);
  EXPECT_EQ(43, CharacterKind('+'));
  EXPECT_EQ(-23, CharacterKind(0xE9));
  EXPECT_EQ(-128, CharacterKind(0x80));
  EXPECT_STREQ("KeywordChainWord", TokenKindName(kKeywordChainWord));
  EXPECT_EQ(nullptr, TokenKindName(43));
}

TEST(TokenTest, EqualityComparesEveryFieldAndTheText) {
  const TToken base{1, 2, 3, 4, kIdentifier};
  EXPECT_TRUE(TokensEqual(base, "abc", base, "abc"));
  TToken stored = base;
  stored.textOffset = 99;  // storage, not identity
  EXPECT_TRUE(TokensEqual(base, "abc", stored, "abc"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "abd"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ABC"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ab"));
  EXPECT_FALSE(TokensEqual(base, std::string("a\0b", 3), base, std::string("a\0c", 3)));
  for (int field = 0; field < 5; ++field) {
    TToken other = base;
    int32_t* fields[] = {&other.startColumn, &other.startRow, &other.endColumn, &other.endRow, &other.kind};
    ++*fields[field];
    EXPECT_FALSE(TokensEqual(base, "abc", other, "abc")) << "field " << field;
  }
}

TEST(TokenListTest, EmptyListOwnsNothing) {
  TTokenList list;
  EXPECT_EQ(0, list.count());
  EXPECT_EQ(0u, list.HeapBytes());
  list.Append(TokenAt(0, 0, kIdentifier), "x");
  list.Clear();
  EXPECT_EQ(0, list.count());
  EXPECT_EQ(0u, list.HeapBytes());
  const TTokenList moved = std::move(list);
  EXPECT_EQ(0u, moved.HeapBytes());
}

TEST(TokenListTest, StoresTextsNulTerminated) {
  TTokenList list;
  list.Append(TokenAt(0, 3, kIdentifier), "self");
  list.Append(TokenAt(4, 3, kWhiteSpace), "");
  list.Append(TokenAt(5, 3, 0), std::string(1, '\0'));
  list.Append(TokenAt(6, 3, kComment), "\"a\r\nb\"");
  ASSERT_EQ(4, list.count());
  EXPECT_STREQ("self", list.Text(0));
  EXPECT_EQ(0, list.TextLength(1));
  EXPECT_STREQ("", list.Text(1));
  EXPECT_EQ(1, list.TextLength(2));
  EXPECT_EQ(std::string(1, '\0'), list.TextView(2));
  EXPECT_EQ("\"a\r\nb\"", list.TextView(3));
  EXPECT_EQ('\0', list.Text(3)[list.TextLength(3)]);
  EXPECT_EQ(6, list.at(3).startColumn);
  EXPECT_EQ(kComment, list.at(3).kind);
}

// Every length from empty past the sizes copied without memcpy, at every
// alignment of the source.
TEST(TokenListTest, StoresTextsOfEveryShortLength) {
  std::string source;
  for (int i = 0; i < 64; ++i) source += static_cast<char>('A' + i % 50);
  TTokenList list;
  std::vector<std::string> texts;
  for (size_t length = 0; length <= 40; ++length) {
    for (size_t offset = 0; offset < 8; ++offset) {
      texts.push_back(source.substr(offset, length));
      list.Append(TokenAt(0, 0, kIdentifier), texts.back());
    }
  }
  for (int32_t i = 0; i < list.count(); ++i) {
    ASSERT_EQ(list.TextView(i), texts[static_cast<size_t>(i)]);
    ASSERT_EQ(list.Text(i)[list.TextLength(i)], '\0');
  }
}

// A list in a piece of an arena is used like one in its own block, and
// moves to a heap block of its own when it must grow.
TEST(TokenListTest, ListsInArenaPiecesGrowOnTheHeap) {
  TTokenList staged;
  staged.Append(TokenAt(0, 0, kIdentifier), "abc");
  staged.Append(TokenAt(3, 0, kWhiteSpace), " ");
  TArena arena;
  TTokenList lent;
  lent.Assign(staged, &arena);
  EXPECT_GT(arena.HeapBytes(), 0u);
  EXPECT_EQ(lent.HeapBytes(), 2 * sizeof(TToken) + 6);
  lent.Truncate(1);
  lent.Append(TokenAt(3, 0, kWhiteSpace), "  ");
  lent.Append(TokenAt(5, 0, kIdentifier), "more than fits in the piece");
  ASSERT_EQ(lent.count(), 3);
  EXPECT_EQ(lent.TextView(0), "abc");
  EXPECT_EQ(lent.TextView(1), "  ");
  EXPECT_EQ(lent.TextView(2), "more than fits in the piece");
  TTokenList moved = std::move(lent);
  EXPECT_EQ(moved.TextView(2), "more than fits in the piece");
  moved.Clear();
  EXPECT_EQ(moved.HeapBytes(), 0u);
}

TEST(TokenListTest, CutsLongTexts) {
  TTokenList list;
  const std::string text(40000, 'x');
  list.Append(TokenAt(0, 0, kComment), text);
  EXPECT_EQ(kMaxTokenText, list.TextLength(0));
  EXPECT_EQ(static_cast<size_t>(kMaxTokenText), std::strlen(list.Text(0)));
}

TEST(TokenListTest, TextPointersSurviveMovingTheList) {
  TTokenList list;
  for (int i = 0; i < 20; ++i) list.Append(TokenAt(i, 0, kIdentifier), std::string("t").append(std::to_string(i)));
  const char* text = list.Text(7);
  std::vector<TTokenList> rows;
  rows.push_back(std::move(list));
  for (int i = 0; i < 100; ++i) rows.emplace(rows.begin(), TTokenList());  // shifting rows moves lists
  EXPECT_EQ(text, rows.back().Text(7));
  EXPECT_STREQ("t7", rows.back().Text(7));
}

TEST(TokenListTest, PositionsCanBeRewrittenInPlace) {
  TTokenList list;
  list.Append({0, 2, 5, 2, kIdentifier}, "hello");
  list.at(0).endColumn = 9;
  list.at(0).endRow = 4;
  EXPECT_EQ(9, list.at(0).endColumn);
  EXPECT_EQ("hello", list.TextView(0));
}

TEST(TokenListTest, CopyGetsExactStorageAndAssignmentReusesIt) {
  TTokenList list;
  list.Append(TokenAt(0, 0, kIdentifier), "abc");
  list.Append(TokenAt(3, 0, kWhiteSpace), " ");
  const TTokenList copy = list;
  EXPECT_EQ(2 * sizeof(TToken) + 6, copy.HeapBytes());
  EXPECT_EQ("abc", copy.TextView(0));
  EXPECT_NE(list.Text(0), copy.Text(0));
  list.ShrinkToFit();
  EXPECT_EQ(copy.HeapBytes(), list.HeapBytes());
  EXPECT_EQ(" ", list.TextView(1));

  TTokenList bigger;
  for (int i = 0; i < 10; ++i) bigger.Append(TokenAt(i, 0, kIdentifier), "word");
  const size_t bytes = bigger.HeapBytes();
  bigger = copy;  // fits: the block stays
  EXPECT_EQ(bytes, bigger.HeapBytes());
  ASSERT_EQ(2, bigger.count());
  EXPECT_EQ("abc", bigger.TextView(0));
  EXPECT_EQ(1, bigger.TextLength(1));
}

TEST(TokenListTest, TruncateKeepsStorageForReuse) {
  TTokenList list;
  list.Append(TokenAt(0, 0, kIdentifier), "abc");
  list.Append(TokenAt(3, 0, kWhiteSpace), "  ");
  const size_t bytes = list.HeapBytes();
  list.Truncate(1);
  ASSERT_EQ(1, list.count());
  EXPECT_EQ("abc", list.TextView(0));
  list.Append(TokenAt(3, 0, kIdentifier), "d");
  EXPECT_EQ("d", list.TextView(1));
  list.Truncate(0);
  EXPECT_EQ(0, list.count());
  EXPECT_EQ(bytes, list.HeapBytes());
}

// Random appends, truncations, copies, moves and shrinks against a plain
// vector of (token, text) pairs.
TEST(TokenListTest, BehavesLikeAVectorOfTokensAndStrings) {
  std::mt19937 random(12345);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TTokenList list;
  std::vector<std::pair<TToken, std::string>> model;
  for (int step = 0; step < 20000; ++step) {
    const int operation = below(20);
    if (operation < 14) {
      const TToken token{below(100), below(100), below(100), below(100), below(300) - 128};
      std::string text(static_cast<size_t>(below(12)), '\0');
      for (char& c : text) c = static_cast<char>(below(256));
      list.Append(token, text);
      model.emplace_back(token, text);
    } else if (operation == 14) {
      const int count = below(static_cast<int>(model.size()) + 1);
      list.Truncate(count);
      model.resize(static_cast<size_t>(count));
    } else if (operation == 15) {
      list = TTokenList(list);
    } else if (operation == 16) {
      TTokenList other = std::move(list);
      list = std::move(other);
    } else if (operation == 17) {
      list.ShrinkToFit();
    } else if (operation == 18 && below(20) == 0) {
      list.Clear();
      model.clear();
    }
    ASSERT_EQ(static_cast<int32_t>(model.size()), list.count());
  }
  for (int32_t i = 0; i < list.count(); ++i) {
    const auto& [token, text] = model[static_cast<size_t>(i)];
    EXPECT_TRUE(TokensEqual(token, text, list.at(i), list.TextView(i))) << i;
    EXPECT_EQ('\0', list.Text(i)[text.size()]);
  }
}

}  // namespace
}  // namespace weft
