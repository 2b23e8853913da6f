// FindPattern through the host's 1-based view: one documented case per rule,
// the start's special values, null pointers; the work of a regular-expression
// search; and the name matching helpers. The differential tests cover the
// rest of the syntax.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "search/find_pattern.h"
#include "search/name_match.h"

namespace weft {
namespace {

constexpr int32_t kUntouched = -777;

TEST(FindPatternTest, DocumentedCases) {
  const struct {
    const char* text;
    const char* pattern;
    int32_t start;  // 1-based, 0 for "from the end" or "from the start"
    bool regex, matchCase, forward;
    int32_t index, length;  // 1-based, 0 for none; length kUntouched when not written
  } cases[] = {
      {"xxabab", "ab", 5, false, true, false, 5, 2},     // backward runs past the start
      {"xxabab", "ab", 0, false, true, false, 5, 2},     // from the end
      {"xxABab", "ab", 1, false, false, true, 3, 2},
      {"xxab", "", 5, false, true, true, 5, 0},
      {"xxab", "ab", 6, false, true, true, 0, 2},        // beyond the end; length out even when not found
      {"\xC1\xE1", "\xE1", 1, false, false, true, 2, 1},  // high bytes never fold
      {"xxab", "*a", 1, true, true, true, 0, kUntouched},
      {"xxab", "^ab", 3, true, true, true, 3, 2},
      {"xaay", "x@a+@y", 1, true, true, true, 2, 2},
      {"xaaa", "a+", 3, true, true, false, 2, 2},        // the match stays within the first 3
      {"a", "a?a", 1, true, true, true, 0, 0},           // ? never gives back
      {"xyz", "$", 1, true, true, true, 0, 0},           // only positions holding a character are tried
      {"xyz", "z*", 0, true, true, false, 1, 0},         // the run of empty matches reaches the start
      {"xAy", "[a]", 1, true, false, true, 0, 0},        // classes always match case
      {"x\xE1y", "[a]", 1, true, true, true, 2, 1},      // classes see the low 7 bits
      {"xabcx", "@a@b@c@", 1, true, true, true, 2, 1},   // the first two marks count
      {"a\x1b\f\r \tb", "\\E\\f\\R\\s\\t", 1, true, true, true, 2, 5},
      {"a]b", "[]]", 1, true, true, true, 0, 0},         // an empty class, then ]
      {"xA-", "[a-", 1, true, true, true, 3, 1},         // a '-' that ends the pattern is no range
      {"x\ny", "x$\\ny", 1, true, true, true, 1, 3},     // $ before an escaped LF anchors
  };
  for (const auto& c : cases) {
    int32_t length = kUntouched;
    EXPECT_EQ(FindPattern(c.text, 0, c.pattern, &length, c.start - 1, c.regex, c.matchCase, c.forward) + 1, c.index)
        << c.pattern << " in " << c.text << " from " << c.start;
    EXPECT_EQ(length, c.length) << c.pattern << " in " << c.text << " from " << c.start;
  }
}

TEST(FindPatternTest, NullPointersSizeHintsAndExtremeStarts) {
  int32_t length = kUntouched;
  EXPECT_EQ(FindPattern(nullptr, 0, "a", &length, 0, false, true, true), -1);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(FindPattern("abc", 0, nullptr, &length, 1, false, true, true), 1);
  EXPECT_EQ(length, 0);
  length = kUntouched;
  EXPECT_EQ(FindPattern("abc", 0, nullptr, &length, 0, true, true, true), -1);
  EXPECT_EQ(length, kUntouched);
  EXPECT_EQ(FindPattern(nullptr, 0, "^", &length, 0, true, true, true), 0);
  EXPECT_EQ(FindPattern("abc", 0, "b", nullptr, -1, false, false, false), 1);
  const std::string text = "Hello, World! hello again\r\n";
  EXPECT_EQ(FindPattern(text.c_str(), 1 << 30, "HELLO", &length, 1, false, false, true), 14);
  EXPECT_EQ(FindPattern(text.c_str(), -5, "h[a-z]+o", &length, -1, true, true, false), 14);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MAX, true, true, true), -1);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MAX, false, true, false), -1);
  EXPECT_EQ(FindPattern("abc", 0, "a", &length, INT32_MIN, true, true, true), 0);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MIN, false, true, false), 2);
}

std::string Repeat(const std::string& unit, size_t times) {
  std::string text;
  for (size_t k = 0; k < times; ++k) text += unit;
  return text;
}

struct Adversary {
  std::string pattern[2];  // for the shorter run, then the longer
  std::string text[2];
  int32_t itemCount;  // of the longer pattern, as compiled, `+` counting twice
  int32_t hit;        // 0-based, -1 for none, in either direction
};

// The text is `unit` repeated to about 4000 characters, then to twice that,
// each followed by `tail`.
Adversary LongerText(const char* pattern, const std::string& unit, const std::string& tail, int32_t items, int32_t hit) {
  return {{pattern, pattern}, {Repeat(unit, 4000 / unit.size()) + tail, Repeat(unit, 8000 / unit.size()) + tail}, items, hit};
}

// The work of a regular-expression search, as the engines' own step count,
// grows linearly with the text and with the pattern on patterns that drive a
// plain backtracker exponential or polynomial; a tight memo budget sends the
// search to the Pike VM with the same answer.
TEST(SearchWorkBound, WorkGrowsLinearlyWithTheTextAndThePattern) {
  const Adversary adversaries[] = {
      LongerText("a*a*a*a*a*b", "a", "", 6, -1),        LongerText("a*a*a*a*a*b", "a", "b", 6, 0),
      LongerText("a+a+a+a+a+b", "a", "", 11, -1),       LongerText(".*.*.*x", "ab", "", 4, -1),
      LongerText(".*.*.*x", "ab\r\n", "", 4, -1),       LongerText("[ab]*[ab]*[ab]*c", "ab", "", 4, -1),
      LongerText("a*b*a*b*a*c", "ab", "", 6, -1),       LongerText("@a*@a*a*b", "a", "", 6, -1),
      LongerText("a?a*a?a*a?a*b", "a", "", 7, -1),      LongerText("a*a*a*a*a*$", "a", "\nx", 6, 0),
      {{Repeat("a*", 50) + "b", Repeat("a*", 100) + "b"}, {std::string(2000, 'a'), std::string(2000, 'a')}, 101, -1},
  };
  for (const Adversary& adversary : adversaries) {
    for (RegexEngine engine : {RegexEngine::kAuto, RegexEngine::kPikeVm}) {
      for (bool forward : {true, false}) {
        SCOPED_TRACE(adversary.pattern[1] + (forward ? " forward" : " backward") +
                     (engine == RegexEngine::kAuto ? " backtracker" : " pike vm"));
        SearchTuning tuning;
        tuning.engine = engine;
        MatchWork work[2];
        for (int run = 0; run < 2; ++run) {
          int32_t length = -1;
          EXPECT_EQ(FindPattern(adversary.text[run].c_str(), 0, adversary.pattern[run].c_str(), &length,
                                forward ? 0 : -1, true, true, forward, tuning, &work[run]),
                    adversary.hit);
        }
        EXPECT_LT(work[1].steps, 4u * (adversary.text[1].size() + 1) * static_cast<uint64_t>(adversary.itemCount + 1));
        const double ratio = static_cast<double>(work[1].steps) / static_cast<double>(work[0].steps);
        EXPECT_GT(ratio, 1.6);
        EXPECT_LT(ratio, 2.4);
      }
    }
  }
  const std::string text = Repeat("abc", 2000) + "abbbcx";
  for (const char* pattern : {"a@b*@cx", "[a-c]*x", "b*c", "c.*a"}) {
    for (bool forward : {true, false}) {
      int32_t expectedLength = -1;
      const int32_t expected =
          FindPattern(text.c_str(), 0, pattern, &expectedLength, forward ? 0 : -1, true, true, forward);
      SearchTuning tuning;
      tuning.memoBudgetBytes = 0;
      int32_t length = -1;
      EXPECT_EQ(FindPattern(text.c_str(), 0, pattern, &length, forward ? 0 : -1, true, true, forward, tuning),
                expected)
          << pattern;
      EXPECT_EQ(length, expectedLength) << pattern;
    }
  }
}

TEST(NameMatchTest, BeginsWithIgnoreCase) {
  EXPECT_TRUE(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, false));
  EXPECT_TRUE(BeginsWithIgnoreCase("abc", "xyz", -3, true));
  EXPECT_FALSE(BeginsWithIgnoreCase(nullptr, "abc", 1, true));
  EXPECT_TRUE(BeginsWithIgnoreCase(nullptr, nullptr, 0, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("[@\xC1", "{`\xE1", 1, true));  // only A to Z fold
  EXPECT_FALSE(BeginsWithIgnoreCase("a\0b", "a\0c", 3, true));      // NULs included
}

TEST(NameMatchTest, CalcMatchWeightOfNamePairs) {
  const struct {
    const char* a;
    const char* b;
    int32_t expected;
  } cases[] = {
      {"printOn:", "PRINTON:", 100},
      {"abc", "abdc", 75},   // an extra character in the second name
      {"abdc", "abc", 75},   // and in the first
      {"xbc", "ybc", 66},    // a differing pair is stepped over
      {"", "", 100},
      {"abc", "", 0},
      {"ab", "bab", 66},     // the second name's extra character is tried first
      {"bab", "ab", 33},     // skipping b's first character loses the pairing
      {"aXbXc", "abc", 60},  // one extra at a time
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CalcMatchWeight(c.a, static_cast<int32_t>(std::strlen(c.a)), c.b, static_cast<int32_t>(std::strlen(c.b))),
              c.expected)
        << c.a << " / " << c.b;
  }
  EXPECT_EQ(CalcMatchWeight("abc", -1, "xyz", 0), 100);
  EXPECT_EQ(CalcMatchWeight("abc", 2, "abd", 2), 100);  // only the given lengths count
  EXPECT_EQ(CalcMatchWeight(nullptr, 3, "abc", 3), 0);
}

}  // namespace
}  // namespace weft
