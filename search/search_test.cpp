// The work of a regular-expression search, and the name matching helpers.
// The differential tests cover the search's answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "search/find_pattern.h"
#include "search/name_match.h"
#include "search/pattern.h"

namespace weft {
namespace {

// The steps of a search in `unit` repeated to `length`, then `tail`, within a linear bound.
uint64_t Steps(const std::string& pattern, const std::string& unit, size_t length, const std::string& tail,
               const TSearchTuning& tuning, bool forward, int32_t hit) {
  std::string text;
  while (text.size() < length) text += unit;
  text += tail;
  TMatchWork work;
  int32_t found = -1;
  EXPECT_EQ(FindPattern(text.c_str(), 0, pattern.c_str(), &found, forward ? 0 : -1, true, true, forward, tuning, &work),
            hit);
  EXPECT_LT(work.steps, 4u * (text.size() + 1) * static_cast<uint64_t>(CompilePattern(pattern, true).size() + 1));
  return work.steps;
}

void ExpectDoubled(uint64_t shorter, uint64_t longer) {
  EXPECT_GT(5 * longer, 8 * shorter);  // 1.6 to 2.4 times
  EXPECT_LT(5 * longer, 12 * shorter);
}

// On patterns that make plain backtracking exponential, the work doubles with
// the text and the pattern, on the backtracker and (over budget) the Pike VM.
TEST(SearchWorkBound, WorkGrowsLinearlyWithTheTextAndThePattern) {
  const struct {
    const char *pattern, *unit, *tail;
    int32_t hit;
  } adversaries[] = {{"a*a*a*a*a*b", "a", "", -1},   {"a*a*a*a*a*b", "a", "b", 0},     {"a+a+a+a+a+b", "a", "", -1},
                     {".*.*.*x", "ab\r\n", "", -1},  {"[ab]*[ab]*[ab]*c", "ab", "", -1}, {"a*b*a*b*a*c", "ab", "", -1},
                     {"@a*@a*a*b", "a", "", -1},     {"a?a*a?a*a?a*b", "a", "", -1},   {"a*a*a*a*a*$", "a", "\nx", 0}};
  std::string manyLoops[2];
  for (int k = 0; k < 100; ++k) manyLoops[k / 50] += "a*";
  for (const TSearchTuning& tuning : {TSearchTuning{}, TSearchTuning{TRegexEngine::kAuto, 0}}) {
    for (bool forward : {true, false}) {
      SCOPED_TRACE(std::string(tuning.memoBudgetBytes == 0 ? "pike vm" : "backtracker") + (forward ? " forward" : ""));
      for (const auto& a : adversaries) {
        SCOPED_TRACE(a.pattern);
        ExpectDoubled(Steps(a.pattern, a.unit, 4000, a.tail, tuning, forward, a.hit),
                      Steps(a.pattern, a.unit, 8000, a.tail, tuning, forward, a.hit));
      }
      ExpectDoubled(Steps(manyLoops[0] + "b", "a", 2000, "", tuning, forward, -1),
                    Steps(manyLoops[0] + manyLoops[1] + "b", "a", 2000, "", tuning, forward, -1));
      EXPECT_EQ(Steps(".*.*x", "a", 2000, "", TSearchTuning{TRegexEngine::kAuto, 0}, forward, -1),
                Steps(".*.*x", "a", 2000, "", TSearchTuning{TRegexEngine::kPikeVm}, forward, -1));
    }
  }
}

TEST(NameMatchTest, BeginsWithIgnoreCaseAndCalcMatchWeight) {
  EXPECT_TRUE(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, false));
  EXPECT_TRUE(BeginsWithIgnoreCase(nullptr, "xyz", -3, true));
  EXPECT_FALSE(BeginsWithIgnoreCase(nullptr, "abc", 1, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("[@\xC1", "{`\xE1", 1, true));  // only A to Z fold
  EXPECT_FALSE(BeginsWithIgnoreCase("a\0b", "a\0c", 3, true));      // NULs included
  const struct {
    const char* a;
    int32_t lengthA;
    const char* b;
    int32_t lengthB, weight;
  } cases[] = {
      {"printOn:", 8, "PRINTON:", 8, 100}, {"abc", 3, "abdc", 4, 75},  // an extra character in either name
      {"abdc", 4, "abc", 3, 75},           {"xbc", 3, "ybc", 3, 66},   // a differing pair is stepped over
      {"ab", 2, "bab", 3, 66},             {"bab", 3, "ab", 2, 33},    // the second name's extra is tried first
      {"aXbXc", 5, "abc", 3, 60},          {"abc", 3, "", 0, 0},       // one extra at a time
      {"abc", -1, "xyz", 0, 100},          {"abc", 2, "abd", 2, 100},  // only the given lengths count
      {"xa", 2, "ax", 1, 50},              {nullptr, 3, "abc", 3, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CalcMatchWeight(c.a, c.lengthA, c.b, c.lengthB), c.weight) << ::testing::PrintToString(c.a) << " / " << c.b;
  }
}

}  // namespace
}  // namespace weft
