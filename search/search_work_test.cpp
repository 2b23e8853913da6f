// The work of a regular-expression search grows linearly with the text on
// patterns that drive a plain backtracker exponential or polynomial. Work is
// the engines' own step count, not time.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "search/find_pattern.h"

namespace weft {
namespace {

struct SearchRun {
  int32_t index;
  int32_t length;
  uint64_t steps;
};

SearchRun Search(const std::string& text, const char* pattern, bool forward, RegexEngine engine) {
  SearchTuning tuning;
  tuning.engine = engine;
  MatchWork work;
  int32_t length = -1;
  const int32_t index = FindPattern(text.c_str(), 0, pattern, &length, forward ? 0 : -1, true, true, forward, tuning,
                                    &work);
  return {index, length, work.steps};
}

std::string Repeat(const std::string& unit, size_t times) {
  std::string text;
  for (size_t k = 0; k < times; ++k) text += unit;
  return text;
}

struct Adversary {
  const char* pattern;
  std::string unit;     // the text is this, repeated
  std::string tail;     // then this
  int32_t itemCount;    // as compiled, `+` counting twice
  int32_t forwardHit;   // 0-based, -1 for none; the tail's hit where it has one
  int32_t backwardHit;
};

// The hits are given for the shorter text; they move with the text's length
// only when they lie in the tail.
const Adversary kAdversaries[] = {
    {"a*a*a*a*a*b", "a", "", 6, -1, -1},
    {"a*a*a*a*a*b", "a", "b", 6, 0, 0},
    {"a+a+a+a+a+b", "a", "", 11, -1, -1},
    {".*.*.*x", "ab", "", 4, -1, -1},
    {".*.*.*x", "ab\r\n", "", 4, -1, -1},
    {"[ab]*[ab]*[ab]*c", "ab", "", 4, -1, -1},
    {"a*b*a*b*a*c", "ab", "", 6, -1, -1},
    {"@a*@a*a*b", "a", "", 6, -1, -1},
    {"a?a*a?a*a?a*b", "a", "", 7, -1, -1},
    {"a*a*a*a*a*$", "a", "\nx", 6, 0, 0},
};

constexpr size_t kLength = 4000;

TEST(SearchWorkBound, WorkGrowsLinearlyWithTheText) {
  for (const Adversary& adversary : kAdversaries) {
    const size_t units = kLength / adversary.unit.size();
    const std::string shorter = Repeat(adversary.unit, units) + adversary.tail;
    const std::string longer = Repeat(adversary.unit, 2 * units) + adversary.tail;
    for (RegexEngine engine : {RegexEngine::kAuto, RegexEngine::kPikeVm}) {
      for (bool forward : {true, false}) {
        SCOPED_TRACE(std::string(adversary.pattern) + (forward ? " forward" : " backward") +
                     (engine == RegexEngine::kAuto ? " backtracker" : " pike vm"));
        const SearchRun small = Search(shorter, adversary.pattern, forward, engine);
        const SearchRun large = Search(longer, adversary.pattern, forward, engine);
        const int32_t hit = forward ? adversary.forwardHit : adversary.backwardHit;
        EXPECT_EQ(small.index, hit);
        EXPECT_EQ(large.index, hit);
        const double bound = 4.0 * static_cast<double>(longer.size() + 1) * (adversary.itemCount + 1);
        EXPECT_LT(static_cast<double>(large.steps), bound);
        const double ratio = static_cast<double>(large.steps) / static_cast<double>(small.steps);
        EXPECT_GT(ratio, 1.6);
        EXPECT_LT(ratio, 2.4);
      }
    }
  }
}

// Work grows linearly with the pattern too: many loops over one text.
TEST(SearchWorkBound, WorkGrowsLinearlyWithThePattern) {
  const std::string text(2000, 'a');
  for (RegexEngine engine : {RegexEngine::kAuto, RegexEngine::kPikeVm}) {
    for (bool forward : {true, false}) {
      SCOPED_TRACE(std::string(forward ? "forward" : "backward") +
                   (engine == RegexEngine::kAuto ? " backtracker" : " pike vm"));
      const std::string shorter = Repeat("a*", 50) + "b";
      const std::string longer = Repeat("a*", 100) + "b";
      const SearchRun small = Search(text, shorter.c_str(), forward, engine);
      const SearchRun large = Search(text, longer.c_str(), forward, engine);
      EXPECT_EQ(small.index, -1);
      EXPECT_EQ(large.index, -1);
      EXPECT_LT(large.steps, 4u * (text.size() + 1) * (100 + 2));
      const double ratio = static_cast<double>(large.steps) / static_cast<double>(small.steps);
      EXPECT_GT(ratio, 1.6);
      EXPECT_LT(ratio, 2.4);
    }
  }
}

// The memo budget sends large searches to the Pike VM; the answer is the same.
TEST(SearchWorkBound, TightMemoBudgetFallsBackWithTheSameAnswer) {
  const std::string text = Repeat("abc", 2000) + "abbbcx";
  for (const char* pattern : {"a@b*@cx", "[a-c]*x", "b*c", "c.*a"}) {
    for (bool forward : {true, false}) {
      int32_t expectedLength = -1;
      const int32_t expected = FindPattern(text.c_str(), 0, pattern, &expectedLength, forward ? 0 : -1, true, true,
                                           forward);
      SearchTuning tuning;
      tuning.memoBudgetBytes = 0;
      MatchWork work;
      int32_t length = -1;
      EXPECT_EQ(FindPattern(text.c_str(), 0, pattern, &length, forward ? 0 : -1, true, true, forward, tuning, &work),
                expected)
          << pattern;
      EXPECT_EQ(length, expectedLength) << pattern;
    }
  }
}

}  // namespace
}  // namespace weft
