// FindPattern through the host's 1-based view: the documented cases, the
// start's special values, length-out rules and null pointers.
#include "search/find_pattern.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace weft {
namespace {

constexpr int32_t kUntouched = -777;

struct Found {
  int32_t index;   // 1-based, 0 for none
  int32_t length;  // kUntouched when not written
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& found) {
  return out << "{index " << found.index << ", length " << found.length << "}";
}

// The export's conversions, around the 0-based operation.
Found Find(const char* text, const char* pattern, int32_t start, bool regex, bool matchCase, bool forward) {
  int32_t length = kUntouched;
  const int32_t at = FindPattern(text, 0, pattern, &length, start - 1, regex, matchCase, forward);
  return {at + 1, length};
}

struct Case {
  const char* text;
  const char* pattern;
  int32_t start;
  bool regex;
  bool matchCase;
  bool forward;
  Found expected;
};

void CheckAll(const Case* cases, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    const Case& c = cases[k];
    EXPECT_EQ(Find(c.text, c.pattern, c.start, c.regex, c.matchCase, c.forward), c.expected)
        << "case " << k << ": '" << c.pattern << "' in '" << c.text << "' from " << c.start
        << (c.regex ? " regex" : " plain") << (c.matchCase ? " case" : " nocase") << (c.forward ? " fwd" : " back");
  }
}

TEST(FindPatternTest, PlainSearchCases) {
  const Case cases[] = {
      {"xxabab", "ab", 1, false, true, true, {3, 2}},
      {"xxabab", "ab", 4, false, true, true, {5, 2}},
      {"aaab", "aab", 1, false, true, true, {2, 3}},
      {"xxabab", "ab", 4, false, true, false, {3, 2}},
      {"xxabab", "ab", 5, false, true, false, {5, 2}},  // runs past the start
      {"xxabab", "ab", 0, false, true, false, {5, 2}},  // from the end
      {"xxABab", "ab", 1, false, false, true, {3, 2}},
      {"xxABab", "ab", 1, false, true, true, {5, 2}},
      {"xxABab", "AB", 6, false, false, false, {5, 2}},
      {"xxab", "", 3, false, true, true, {3, 0}},
      {"xxab", "", 5, false, true, true, {5, 0}},
      {"xxab", "", 6, false, true, true, {0, 0}},       // beyond the end
      {"xxab", "ab", 6, false, true, true, {0, 2}},     // length out even when not found
      {"xxab", "ab", 0, false, true, true, {3, 2}},     // a start before the text counts as its first character
      {"ab", "abc", 0, false, true, false, {0, 3}},     // longer than the text
      {"ab", "ab", 4, false, true, false, {0, 2}},      // beyond the end
      {"ab", "ab", 3, false, true, false, {1, 2}},
      {"ab\r\ncd", "b\r\nc", 1, false, true, true, {2, 4}},
      {"\xC1\xE1", "\xE1", 1, false, false, true, {2, 1}},  // high bytes never fold
  };
  CheckAll(cases, std::size(cases));
}

TEST(FindPatternTest, RegexSearchCases) {
  const Case cases[] = {
      {"xxab", "*a", 1, true, true, true, {0, kUntouched}},
      {"xxab", "", 1, true, true, true, {0, kUntouched}},
      {"xxab", "^ab", 3, true, true, true, {3, 2}},
      {"xxab", "^ab", 1, true, true, true, {0, 0}},
      {"ab\nab", "b$", 1, true, true, true, {2, 1}},
      {"ab\nab", "b$", 3, true, true, true, {5, 1}},
      {"xaay", "x@a+@y", 1, true, true, true, {2, 2}},
      {"a\nab", "a.", 1, true, true, true, {3, 2}},
      {"a\nb", "[^a]", 1, true, true, true, {2, 1}},
      {"aab", "a", 0, true, true, false, {1, 1}},
      {"xaaa", "a+", 0, true, true, false, {2, 3}},
      {"xaaa", "a+", 3, true, true, false, {2, 2}},  // the match stays within the first 3
      {"aaa", "a?a", 1, true, true, true, {1, 2}},
      {"a", "a?a", 1, true, true, true, {0, 0}},  // ? never gives back
      {"xyz", "^", 2, true, true, true, {2, 0}},
      {"xyz", "^", 4, true, true, true, {4, 0}},   // at the end: anchors alone
      {"xyz", "$", 4, true, true, true, {4, 0}},
      {"xyz", "$", 1, true, true, true, {0, 0}},   // only positions holding a character are tried
      {"xyz", "z*", 4, true, true, true, {0, 0}},
      {"xyz", "y*", 1, true, true, true, {1, 0}},
      {"xyz", "$", 0, true, true, false, {4, 0}},
      {"xyz", "z*", 0, true, true, false, {1, 0}},  // the run of empty matches reaches the start
      {"xAy", "a", 1, true, false, true, {2, 1}},
      {"xAy", "[a]", 1, true, false, true, {0, 0}},  // classes always match case
      {"x\xE1y", "[a]", 1, true, true, true, {2, 1}},  // classes see the low 7 bits
      {"xay", "[\xE1]", 1, true, true, true, {2, 1}},
      {"x\xE1y", "\xE1", 1, true, true, true, {2, 1}},
      {"x\xC1y", "\xE1", 1, true, false, true, {0, 0}},
      {"xyz", "y", 5, true, true, true, {0, 0}},
      {"xyz", "y", 5, true, true, false, {0, 0}},
      {"xyz", "y", 4, true, true, false, {2, 1}},
      {"ab@cd", "b\\@c", 1, true, true, true, {2, 3}},
      {"a\tb", "\\t", 1, true, true, true, {2, 1}},
      {"aab", "a@@b", 1, true, true, true, {3, 0}},
      {"xabcx", "@a@b@c@", 1, true, true, true, {2, 1}},  // the first two marks count
  };
  CheckAll(cases, std::size(cases));
}

TEST(FindPatternTest, EscapesAndClasses) {
  const Case cases[] = {
      {"a\bb", "\\b", 1, true, true, true, {2, 1}},
      {"a\x1b" "b", "\\E", 1, true, true, true, {2, 1}},
      {"a\fb", "\\f", 1, true, true, true, {2, 1}},
      {"a\rb", "\\R", 1, true, true, true, {2, 1}},
      {"a b", "\\s", 1, true, true, true, {2, 1}},
      {"aAb", "\\x41", 1, true, true, true, {2, 1}},
      {"aAb", "\\101", 1, true, true, true, {2, 1}},
      {"a\x01" "b", "\\^a", 1, true, true, true, {2, 1}},
      {"axb", "\\x", 1, true, true, true, {2, 1}},       // no digits: the letter itself
      {"ab\\", "\\", 1, true, true, true, {3, 1}},       // a trailing backslash
      {"a\\b", "\\\\b", 1, true, true, true, {2, 2}},
      {"a*b", "a\\*", 1, true, true, true, {1, 2}},
      {"a]b", "[\\]]", 1, true, true, true, {2, 1}},
      {"a]b", "[]]", 1, true, true, true, {0, 0}},       // an empty class, then ]
      {"a]b", "[^]b", 1, true, true, true, {2, 2}},      // everything, then b
      {"a-b", "[-x]", 1, true, true, true, {2, 1}},
      {"a-b", "[x-]", 1, true, true, true, {2, 1}},
      {"dcb", "[c-a]+", 1, true, true, true, {2, 2}},    // a reversed range
      {"xyz", "[a-c", 1, true, true, true, {0, 0}},      // a class ended by the pattern's end
      {"x^z", "x^", 1, true, true, true, {1, 2}},        // ^ not first is a character
      {"x$z", "x$z", 1, true, true, true, {1, 3}},       // $ not last is a character
      {"x\ny", "x$\\ny", 1, true, true, true, {1, 3}},   // $ before an escaped LF anchors
      {"x\ny", "x$\ny", 1, true, true, true, {1, 3}},
      {"aaa", "a**", 1, true, true, true, {0, kUntouched}},
      {"aaa", "^*", 1, true, true, true, {0, kUntouched}},
      {"aaa", "@*", 1, true, true, true, {0, kUntouched}},
      {"aaa", "+a", 1, true, true, true, {0, kUntouched}},
      {"a$$", "a$*", 1, true, true, true, {1, 3}},
  };
  CheckAll(cases, std::size(cases));
}

TEST(FindPatternTest, NullPointersAreEmptyStrings) {
  int32_t length = kUntouched;
  EXPECT_EQ(FindPattern(nullptr, 0, "a", &length, 0, false, true, true), -1);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(FindPattern("abc", 0, nullptr, &length, 1, false, true, true), 1);
  EXPECT_EQ(length, 0);
  length = kUntouched;
  EXPECT_EQ(FindPattern("abc", 0, nullptr, &length, 0, true, true, true), -1);
  EXPECT_EQ(length, kUntouched);
  EXPECT_EQ(FindPattern(nullptr, 0, "^", &length, 0, true, true, true), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(FindPattern(nullptr, 0, "$", &length, -1, true, true, false), 0);
  EXPECT_EQ(FindPattern("abc", 0, "b", nullptr, 0, true, true, true), 1);
  EXPECT_EQ(FindPattern("abc", 0, "b", nullptr, -1, false, false, false), 1);
}

TEST(FindPatternTest, TextIsReadInPlaceAndNeverChanged) {
  const std::string original = "Hello, World! hello again\r\n";
  std::string text = original;
  int32_t length = 0;
  EXPECT_EQ(FindPattern(text.c_str(), 1 << 30, "HELLO", &length, 1, false, false, true), 14);
  EXPECT_EQ(FindPattern(text.c_str(), -5, "h[a-z]+o", &length, -1, true, true, false), 14);
  EXPECT_EQ(text, original);
}

TEST(FindPatternTest, ExtremeStartsFindNothingOrClamp) {
  int32_t length = 0;
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MAX, true, true, true), -1);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MAX, false, true, false), -1);
  EXPECT_EQ(FindPattern("abc", 0, "a", &length, INT32_MIN, true, true, true), 0);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MIN, true, true, false), 2);
  EXPECT_EQ(FindPattern("abc", 0, "c", &length, INT32_MIN, false, true, false), 2);
}

}  // namespace
}  // namespace weft
