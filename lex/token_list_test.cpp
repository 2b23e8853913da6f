// The token, the token list and the keyword table against plain models.
#include "lex/token_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/arena.h"
#include "lex/keyword_table.h"
#include "lex/token.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

TEST(TokenTest, EqualityTakesEveryFieldAndTheTextButNotTheOffset) {
  const TToken base{1, 2, 3, kIdentifier, 4};
  for (int32_t TToken::*field :
       {&TToken::startColumn, &TToken::endColumn, &TToken::rowSpan, &TToken::kind, &TToken::textOffset}) {
    TToken other = base;
    ++(other.*field);
    EXPECT_EQ(field == &TToken::textOffset, TokensEqual(base, "abc", other, "abc"));
  }
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ABC") || TokensEqual(base, "abc", base, "ab"));
}

// Random appends (texts of every short length, so every way of copying them, and some longer than a token
// keeps), truncations, copies, moves and copies into arena pieces, against a vector of (token, text) pairs.
TEST(TokenListTest, BehavesLikeAVectorOfTokensAndStrings) {
  std::mt19937 random(12345);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TArena arena;
  TTokenList list;
  std::vector<std::pair<TToken, std::string>> model;
  for (int step = 0; step < 20000 && !HasFailure(); ++step) {
    const int operation = below(19);
    if (operation < 14) {
      const TToken token{below(100), below(100), below(100), below(300) - 128, 0};
      std::string text(static_cast<size_t>(below(500) == 0 ? 40000 : below(4) == 0 ? below(41) : below(12)), '\0');
      for (char& c : text) c = static_cast<char>(below(256));
      list.Append(token, text);
      model.emplace_back(token, text.substr(0, kMaxTokenText));
    } else if (operation == 14) {
      const int count = below(static_cast<int>(model.size()) + 1);
      list.truncate(count);
      model.resize(static_cast<size_t>(count));
    } else if (operation < 18) {  // a move, or a copy (into an arena piece or the heap) moved in or copied back
      const char* text = list.empty() || (operation < 17 && below(2) == 0) ? nullptr : list.Text(0);
      TTokenList other(operation == 17 ? std::move(list) : TTokenList());
      if (operation < 17) {
        other.Assign(list, operation == 15 ? &arena : nullptr);
        other.Append(TToken{}, "x");
        other.truncate(static_cast<int32_t>(model.size()));
      }
      if (operation < 17 && text != nullptr) list = other;
      if (operation == 17 || text == nullptr) list = std::move(other);
      ASSERT_TRUE(text == nullptr || text == list.Text(0)) << "a move, or a copy into a block that fits, stays put";
    } else if (below(20) == 0) {
      list.clear();
      model.clear();
    }
    ASSERT_EQ(static_cast<int32_t>(model.size()), list.count());
    for (int32_t i = step % 50 == 0 ? 0 : list.count(); i < list.count(); ++i) {
      const auto& [token, text] = model[static_cast<size_t>(i)];
      ASSERT_TRUE(TokensEqual(token, text, list.at(i), list.TextView(i))) << i;
      ASSERT_EQ('\0', list.Text(i)[text.size()]);
    }
  }
}

// Random adds and deletes of words over a small alphabet (so prefixes, duplicates, case and bytes above 127
// are common), some long, against a sorted list; std::string orders bytes as unsigned, a prefix first.
TEST(KeywordTableTest, MatchesASortedList) {
  std::mt19937 random(4242);
  const std::string alphabet("aAbB_:\xE9\xFF\x01", 9);
  for (int round = 0; round < 30; ++round) {
    TKeywordTable table;
    std::vector<std::string> model;
    for (int step = 0; step < 200; ++step) {
      const std::string word = testing::RandomText(random, alphabet, random() % 10 == 0 ? 40 : 3);
      if (random() % 4 == 0) {
        table.Delete(word);
        if (const auto at = std::find(model.begin(), model.end(), word); at != model.end()) model.erase(at);
      } else {
        table.Add(word);
        model.insert(std::upper_bound(model.begin(), model.end(), word), word);
      }
      std::vector<std::string> entries;
      for (int32_t i = 0; i < table.count(); ++i) entries.push_back(table.at(i));
      ASSERT_EQ(model, entries);
      std::string probe = testing::RandomText(random, alphabet, 3);
      if (random() % 2 == 0 && !model.empty()) probe = model[random() % model.size()].substr(0, random() % 41);
      ASSERT_EQ(std::count(model.begin(), model.end(), probe) > 0, table.Contains(probe)) << probe;
    }
  }
}

}  // namespace
}  // namespace weft
