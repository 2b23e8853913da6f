#include "lex/token_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/arena.h"
#include "lex/token.h"

namespace weft {
namespace {

TEST(TokenTest, EqualityTakesEveryFieldAndTheTextButNotTheOffset) {
  const TToken base{1, 2, 3, kIdentifier, 4};
  int32_t TToken::*const fields[] = {&TToken::startColumn, &TToken::endColumn, &TToken::rowSpan, &TToken::kind,
                                     &TToken::textOffset};
  for (int32_t TToken::*field : fields) {
    TToken other = base;
    ++(other.*field);
    EXPECT_EQ(field == &TToken::textOffset, TokensEqual(base, "abc", other, "abc"));
  }
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ABC"));
  EXPECT_FALSE(TokensEqual(base, "abc", base, "ab"));
}

// Random appends (texts of every short length, so every way of copying them,
// and some longer than a token keeps), truncations, copies, moves and
// copies into arena pieces, against a vector of (token, text) pairs.
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
    } else if (operation < 17) {  // a copy in an arena piece or on the heap, moved in or copied back
      TTokenList copy;
      copy.Assign(list, operation == 15 ? &arena : nullptr);
      copy.Append(TToken{}, "x");
      copy.truncate(static_cast<int32_t>(model.size()));
      if (below(2) == 0) {
        list = std::move(copy);
      } else {
        const char* text = list.empty() ? nullptr : list.Text(0);
        list = copy;
        ASSERT_TRUE(text == nullptr || text == list.Text(0)) << "a copy goes into the block it has, which fits";
      }
    } else if (operation == 17) {
      const char* text = list.empty() ? nullptr : list.Text(0);
      TTokenList moved(std::move(list));
      list = std::move(moved);
      ASSERT_TRUE(text == nullptr || text == list.Text(0)) << "moving keeps the texts where they are";
    } else if (operation == 18 && below(20) == 0) {
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

}  // namespace
}  // namespace weft
