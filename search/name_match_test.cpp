#include "search/name_match.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace weft {
namespace {

struct PrefixCase {
  const char* a;
  const char* b;
  int32_t count;
  bool ignoreCase;
  bool expected;
};

TEST(NameMatchTest, BeginsWithIgnoreCase) {
  const PrefixCase cases[] = {
      {"printOn:", "PRINTString", 5, true, true},
      {"printOn:", "PRINTString", 5, false, false},  // compares exactly when not ignoring case
      {"printOn:", "printString", 5, false, true},
      {"printOn:", "printString", 6, false, false},
      {"abc", "xyz", 0, false, true},
      {"abc", "xyz", -3, true, true},
      {nullptr, nullptr, 0, true, true},
      {nullptr, "abc", 1, true, false},
      {"abc", nullptr, 1, false, false},
      {"\xC1", "\xE1", 1, true, false},  // only A to Z fold
      {"[", "{", 1, true, false},
      {"@", "`", 1, true, false},
  };
  for (const PrefixCase& c : cases) {
    EXPECT_EQ(BeginsWithIgnoreCase(c.a, c.b, c.count, c.ignoreCase), c.expected)
        << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null") << " n=" << c.count;
  }
}

TEST(NameMatchTest, BeginsWithComparesExactlyCountBytesNulIncluded) {
  const char a[] = {'a', '\0', 'b'};
  const char b[] = {'a', '\0', 'c'};
  EXPECT_TRUE(BeginsWithIgnoreCase(a, b, 2, false));
  EXPECT_FALSE(BeginsWithIgnoreCase(a, b, 3, true));
}

struct WeightCase {
  const char* a;
  const char* b;
  int32_t expected;
};

TEST(NameMatchTest, CalcMatchWeightOfNamePairs) {
  const WeightCase cases[] = {
      {"printOn:", "printOn:", 100},
      {"printOn:", "PRINTON:", 100},
      {"abc", "abdc", 75},   // an extra character in the second name
      {"abdc", "abc", 75},   // and in the first
      {"xbc", "ybc", 66},    // a differing pair is stepped over
      {"abc", "abcde", 60},
      {"", "", 100},
      {"", "abc", 0},
      {"abc", "", 0},
      {"abc", "xyz", 0},
      {"ab", "bab", 66},     // the second name's extra character is tried first
      {"bab", "ab", 33},     // skipping b's first character loses the pairing
      {"aXbXc", "abc", 60},  // one extra at a time
      {"ab", "ba", 50},
  };
  for (const WeightCase& c : cases) {
    EXPECT_EQ(CalcMatchWeight(c.a, static_cast<int32_t>(std::strlen(c.a)), c.b, static_cast<int32_t>(std::strlen(c.b))),
              c.expected)
        << c.a << " / " << c.b;
  }
}

TEST(NameMatchTest, CalcMatchWeightWithOddLengthsAndNulls) {
  EXPECT_EQ(CalcMatchWeight("abc", -1, "xyz", -5), 0);
  EXPECT_EQ(CalcMatchWeight("abc", -1, "xyz", 0), 100);
  EXPECT_EQ(CalcMatchWeight("abc", 2, "abd", 2), 100);  // only the given lengths count
  EXPECT_EQ(CalcMatchWeight(nullptr, 3, "abc", 3), 0);
  EXPECT_EQ(CalcMatchWeight(nullptr, 0, nullptr, 0), 100);
}

// A score never exceeds what the shorter name could pair up.
TEST(NameMatchTest, CalcMatchWeightStaysWithinTheShorterName) {
  const char* names[] = {"printOn:", "printString", "at:put:", "atPut:", "x", "", "displayNl", "printNl", "aaa", "aab"};
  for (const char* a : names) {
    for (const char* b : names) {
      const int32_t la = static_cast<int32_t>(std::strlen(a));
      const int32_t lb = static_cast<int32_t>(std::strlen(b));
      const int32_t weight = CalcMatchWeight(a, la, b, lb);
      EXPECT_GE(weight, 0);
      EXPECT_LE(weight, 100);
      if (la != lb) {
        EXPECT_LE(weight, std::min(la, lb) * 100 / std::max(la, lb)) << a << " / " << b;
      }
    }
  }
}

}  // namespace
}  // namespace weft
