// FindPattern and its engines against obviously correct models on random short inputs (a naive plain search, and a
// regular expression model parsing on its own and matching by recursive backtracking), their work, name matching.
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "search/find_pattern.h"
#include "search/name_match.h"
#include "search/pattern.h"
#include "search/plain_finder.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

constexpr int32_t kUntouched = -777;
struct TModelItem {
  enum TKind { kChar, kLineEnd, kMark } kind = kChar;
  char closure = 0;  // 0, '*', '+' or '?'
  bool isClass = false, negated = false;
  std::bitset<256> codes;  // a class's 7-bit codes, or the bytes a literal accepts
  bool Accepts(unsigned char c) const { return isClass ? codes.test(c & 0x7F) != negated : codes.test(c); }
};

struct TModelRegex {
  bool valid = false, anchored = false;
  std::vector<TModelItem> items;
};

int Escape(const std::string& p, size_t& i) {  // p[i] is the backslash
  if (++i >= p.size()) return '\\';
  const unsigned char d = static_cast<unsigned char>(p[i++]);
  const std::string names = "befnrst", codes = "\b\x1b\f\n\r \t";
  if (const size_t at = names.find(static_cast<char>(std::tolower(d))); at != std::string::npos) return codes[at];
  std::string digits;
  if (std::tolower(d) == 'x') {
    while (digits.size() < 3 && i < p.size() && std::isxdigit(static_cast<unsigned char>(p[i]))) digits += p[i++];
    return digits.empty() ? d : std::stoi(digits, nullptr, 16) % 256;
  }
  if (d == '^') return i < p.size() ? (std::toupper(static_cast<unsigned char>(p[i++])) - 64 + 256) % 256 : d;
  if (d < '0' || d > '7') return d;
  digits += static_cast<char>(d);
  while (digits.size() < 3 && i < p.size() && p[i] >= '0' && p[i] <= '7') digits += p[i++];
  return std::stoi(digits, nullptr, 8) % 256;
}

TModelItem ParseModelClass(const std::string& p, size_t& i) {  // p[i - 1] is '['
  TModelItem item;
  item.isClass = true;
  if (i < p.size() && p[i] == '^') item.negated = true, ++i;
  if (i < p.size() && p[i] == ']') return ++i, item;
  if (i < p.size() && p[i] == '-') item.codes.set('-'), ++i;
  auto member = [&]() { return (p[i] == '\\' ? Escape(p, i) : static_cast<unsigned char>(p[i++])) & 0x7F; };
  while (i < p.size() && p[i] != ']') {
    const int low = member();
    const int high = i + 1 < p.size() && p[i] == '-' && p[i + 1] != ']' ? (++i, member()) : low;
    for (int c = std::min(low, high); c <= std::max(low, high); ++c) item.codes.set(c);
  }
  if (i < p.size()) ++i;
  return item;
}

TModelRegex ParseModel(const std::string& p, bool matchCase) {
  TModelRegex regex;
  auto isClosure = [](char c) { return c == '*' || c == '+' || c == '?'; };
  if (p.empty() || isClosure(p[0])) return regex;
  regex.anchored = p[0] == '^';
  for (size_t i = regex.anchored ? 1 : 0; i < p.size();) {
    const char c = p[i];
    if (isClosure(c)) {
      TModelItem* last = regex.items.empty() ? nullptr : &regex.items.back();
      if (last == nullptr || last->kind != TModelItem::kChar || last->closure != 0) return TModelRegex{};
      last->closure = p[i++];
      continue;
    }
    TModelItem item;
    size_t next = i + 1;
    if (c == '$' && (next == p.size() || p[next] == '\n' || (p[next] == '\\' && Escape(p, next) == '\n'))) {
      item.kind = TModelItem::kLineEnd, ++i;
    } else if (c == '@') {
      item.kind = TModelItem::kMark, ++i;
    } else if (c == '.') {
      item.codes.set().reset('\n'), ++i;
    } else if (c == '[') {
      item = ParseModelClass(p, ++i);
    } else {
      const int literal = c == '\\' ? Escape(p, i) : static_cast<unsigned char>(p[i++]);
      item.codes.set(literal);
      if (!matchCase && literal < 128 && std::isalpha(literal)) {
        item.codes.set(std::tolower(literal)).set(std::toupper(literal));
      }
    }
    regex.items.push_back(item);
  }
  regex.valid = true;
  return regex;
}

// The end of the first match of items k on at pos, or -1, with its marks.
int MatchEnd(const TModelRegex& r, const std::string& t, int limit, size_t k, int pos, std::vector<int>& marks) {
  if (k == r.items.size()) return pos;
  const TModelItem& item = r.items[k];
  if (item.kind == TModelItem::kMark) {
    marks.push_back(pos);
    const int end = MatchEnd(r, t, limit, k + 1, pos, marks);
    if (end < 0) marks.pop_back();
    return end;
  }
  if (item.kind == item.kLineEnd) return pos == limit || t[pos] == '\n' ? MatchEnd(r, t, limit, k + 1, pos, marks) : -1;
  auto accepts = [&](int at) { return at < limit && item.Accepts(static_cast<unsigned char>(t[at])); };
  if (item.closure == 0) return accepts(pos) ? MatchEnd(r, t, limit, k + 1, pos + 1, marks) : -1;
  if (item.closure == '?') return MatchEnd(r, t, limit, k + 1, accepts(pos) ? pos + 1 : pos, marks);
  int run = 0;
  while (accepts(pos + run)) ++run;
  for (int taken = run; taken >= (item.closure == '+' ? 1 : 0); --taken) {
    if (const int end = MatchEnd(r, t, limit, k + 1, pos + taken, marks); end >= 0) return end;
  }
  return -1;
}

using TOutcome = std::pair<int32_t, int32_t>;  // a match's index and length
// The reported span of a match at pos within t[0 .. limit), if one begins there.
bool ModelMatchAt(const TModelRegex& r, const std::string& t, int limit, int pos, TOutcome& reported) {
  std::vector<int> marks;
  const int end = MatchEnd(r, t, limit, 0, pos, marks);
  if (end >= 0) reported = marks.size() >= 2 ? TOutcome{marks[0], marks[1] - marks[0]} : TOutcome{pos, end - pos};
  return end >= 0;
}

TOutcome ModelFindRegex(const TModelRegex& r, const std::string& t, int s, bool forward) {
  if (!r.valid) return {-1, kUntouched};
  const int n = static_cast<int>(t.size());
  const bool zeroWidth = std::none_of(r.items.begin(), r.items.end(), [](const auto& i) { return i.kind == i.kChar; });
  TOutcome found{-1, 0};
  if (s > n) return found;
  if (forward) {
    s = std::max(s, 0);  // at the end only a pattern of anchors and marks is tried
    for (int pos = s; (pos < n || (pos == s && zeroWidth)) && (pos == s || !r.anchored); ++pos) {
      if (ModelMatchAt(r, t, n, pos, found)) return found;
    }
    return {-1, 0};
  }
  const int limit = s < 0 ? n : std::min(s + 1, n);
  auto startsAt = [&](int pos) { return (pos < limit || zeroWidth) && ModelMatchAt(r, t, limit, pos, found); };
  for (int pos = limit; pos >= 0; --pos) {
    if (!startsAt(pos)) continue;
    while (pos > 0 && startsAt(pos - 1)) --pos;
    return found;
  }
  return {-1, 0};
}

TOutcome ModelFindPlain(const std::string& p, const std::string& t, int s, bool matchCase, bool forward) {
  const int n = static_cast<int>(t.size()), m = static_cast<int>(p.size());
  auto fold = [&](char c) { return matchCase ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  auto equalAt = [&](int pos) {
    return std::equal(p.begin(), p.end(), t.begin() + pos, [&](char x, char y) { return fold(x) == fold(y); });
  };
  if (!forward && s > n) return {-1, m};
  for (int pos = forward ? std::max(s, 0) : s < 0 ? n - m : std::min(s, n - m); forward ? pos <= n - m : pos >= 0;
       pos += forward ? 1 : -1) {
    if (equalAt(pos)) return {pos, m};
  }
  return {-1, m};
}

struct TAlphabet {  // pattern pieces and text characters to draw from, and how many patterns
  std::vector<std::string> pieces;
  std::string text;
  size_t maxPieces, maxText;
  int patterns;
};

const TAlphabet kAlphabets[] = {
    // Every syntax element, invalid uses included, over LF, CR and high bytes.
    {{"a", "b", "A", "B", "a", "b", "a", "b", "a", ".", ".", "[", "]", "^", "-", "*", "+", "?", "*", "+", "?", "$",
      "@", "\\", "\n", "\r", "\\n", "\\r", "\\x61", "\\101", "\\^b", "\\b", "\\$", "\\@", "\\*", "\\x", "[ab]",
      "[^a]", "[a-b]", "[B-A]", "[]a]", "[-a]", "[a-]", "[^]", "[\\]]", "[\\n]", "\xE1", "[\xE1]", "$\\n", "$\n",
      "a*", "b+", "a?", ".*", "[ab]*", "@a*@"},
     "aaaabbbAB\n\r$@-[^]\xE1\xC2", 5, 10, 3000},
    // Closures packed close together, where many paths overlap.
    {{"a", "b", ".", "a?", "b?", "a*", "b*", ".*", "a+", "[ab]+", "[ab]?", "@", "$", "^a"}, "aab", 6, 14, 1000},
    // Every escape, in and out of classes, over texts holding the bytes they name.
    {{"a", "\\b", "\\e", "\\E", "\\f", "\\n", "\\r", "\\R", "\\s", "\\t", "\\x1b", "\\101", "\\^a", "\\x", "\\\\",
      "[\\t ]", "[\\b-\\f]", "[^\\s]", ".", "*", "+", "\\011", "\\1011", "\\1", "\\70", "\\58"},
     "a \t\b\x1b\f\r\nA\x01\\x180", 4, 8, 600},
    // Plain patterns on texts long enough for backward searches to matter.
    {{"a", "b", "A", "B", "\n", "\r", "ab"}, "abAB\n\r", 5, 40, 400},
};

using ::testing::PrintToString;
// An empty string goes in as a null pointer at odd starts.
const char* Argument(const std::string& s, int32_t start) { return s.empty() && start % 2 != 0 ? nullptr : s.c_str(); }

// The Pike VM's runs also keep the backward scan to two states, so it drops its tables all the time.
TSearchTuning Tuning(TRegexEngine engine, bool fewStates) {
  TSearchTuning tuning{engine};
  if (fewStates) tuning.mostStartStates = 2;
  return tuning;
}

// Every start from far before the text to far beyond it, direction and case mode; plain, then by each engine.
TEST(PatternSearchDifferential, AgreesWithModels) {
  using enum TRegexEngine;
  const TRegexEngine engines[] = {kAuto, kAuto, kBacktracker, kPikeVm};
  std::mt19937 random(20240611);
  int mismatches = 0;
  for (const TAlphabet& alphabet : kAlphabets) {
    for (int round = 0; round < alphabet.patterns && mismatches < 10; ++round) {
      std::string pattern;
      for (auto k = random() % (alphabet.maxPieces + 1); k > 0; --k) {
        pattern += alphabet.pieces[random() % alphabet.pieces.size()];
      }
      const TModelRegex models[2] = {ParseModel(pattern, false), ParseModel(pattern, true)};
      const int32_t items[2] = {CompilePattern(pattern, false).size(), CompilePattern(pattern, true).size()};
      for (int sample = 0; sample < 6; ++sample) {
        const std::string text = testing::RandomText(random, alphabet.text, alphabet.maxText);
        std::vector<int32_t> starts = {INT32_MIN, INT32_MAX};
        for (int32_t s = -2; s <= static_cast<int32_t>(text.size()) + 1; ++s) starts.push_back(s);
        for (int32_t s : starts) {
          for (int mode = 0; mode < 4; ++mode) {
            const bool matchCase = (mode & 1) != 0, forward = (mode & 2) != 0;
            const TOutcome expected[] = {ModelFindPlain(pattern, text, s, matchCase, forward),
                                        ModelFindRegex(models[matchCase], text, s, forward)};
            for (int kind = 0; kind < 4; ++kind) {
              int32_t length = kUntouched;
              TMatchWork work;
              const TOutcome actual{FindPattern(Argument(text, s), Argument(pattern, s), &length, s, kind > 0,
                                               matchCase, forward, Tuning(engines[kind], kind == 3), &work),
                                   length};
              const uint64_t bound = 4u * (text.size() + 1) * static_cast<uint64_t>(items[matchCase] + 1);
              if (actual == expected[kind > 0] && (kind == 0 || work.steps < bound)) continue;
              ++mismatches;
              ADD_FAILURE() << PrintToString(pattern) << " in " << PrintToString(text) << " from " << s << " mode "
                            << mode << " kind " << kind << ": expected " << PrintToString(expected[kind > 0])
                            << ", got " << PrintToString(actual) << " in " << work.steps << " steps";
            }
          }
        }
      }
    }
  }
}

// Both plain finder strategies, on texts long enough for the vector loop and first a needle longer than any shift.
TEST(PatternSearchDifferential, PlainFinderAgreesWithNaiveSearch) {
  std::mt19937 random(77);
  for (int round = 0; round < 2000; ++round) {
    const std::string needle =
        round == 0 ? "xy" + std::string(297, 'a') + "b" : testing::RandomText(random, "aabAB\n\xE1\xC1[{", 7);
    const std::string text =
        round == 0 ? std::string(298, 'c') + needle : testing::RandomText(random, "aaabbAB\n\xE1\xC1[{@`", 300);
    const TSubject subject{reinterpret_cast<const unsigned char*>(text.data()), static_cast<int32_t>(text.size())};
    for (auto strategy : {TPlainFinder::TStrategy::kBest, TPlainFinder::TStrategy::kHorspool}) {
      const TPlainFinder finder(needle, round % 2 == 0, strategy);
      for (int32_t from = 0; !needle.empty() && from <= subject.size; from += 1 + round % 5) {
        ASSERT_EQ(finder.FindForward(subject, from), ModelFindPlain(needle, text, from, round % 2 == 0, true).first)
            << needle << " in " << text << " from " << from;
      }
    }
  }
}

// The steps of a search in `unit` repeated to `length`, then `tail`.
uint64_t Steps(const std::string& pattern, const std::string& unit, size_t length, const std::string& tail,
               const TSearchTuning& tuning, bool forward, int32_t hit) {
  std::string text;
  while (text.size() < length) text += unit;
  text += tail;
  TMatchWork work;
  const int32_t start = forward ? 0 : -1;
  EXPECT_EQ(FindPattern(text.c_str(), pattern.c_str(), nullptr, start, true, true, forward, tuning, &work), hit);
  return work.steps;
}
void ExpectDoubled(uint64_t shorter, uint64_t longer) {
  EXPECT_GT(5 * longer, 8 * shorter);  // 1.6 to 2.4 times
  EXPECT_LT(5 * longer, 12 * shorter);
}

// Where plain backtracking is exponential, the work of the backtracker and the Pike VM doubles with text and pattern
// (backward, at most doubles with the pattern).
TEST(SearchWorkBound, WorkGrowsLinearlyWithTheTextAndThePattern) {
  const std::tuple<const char*, const char*, const char*, int32_t> adversaries[] = {  // pattern, unit, tail, hit
      {"a*a*a*a*a*b", "a", "", -1},  {"a*a*a*a*a*b", "a", "b", 0},       {"a+a+a+a+a+b", "a", "", -1},
      {".*.*.*x", "ab\r\n", "", -1}, {"[ab]*[ab]*[ab]*c", "ab", "", -1}, {"a*b*a*b*a*c", "ab", "", -1},
      {"@a*@a*a*b", "a", "", -1},    {"a?a*a?a*a?a*b", "a", "", -1},     {"a*a*a*a*a*$", "a", "\nx", 0}};
  std::string fiftyLoops;
  for (int k = 0; k < 50; ++k) fiftyLoops += "a*";
  for (const TSearchTuning& tuning : {TSearchTuning{}, TSearchTuning{TRegexEngine::kAuto, 0}}) {
    for (bool forward : {true, false}) {
      SCOPED_TRACE(std::string(tuning.memoBudgetBytes == 0 ? "pike vm" : "backtracker") + (forward ? " forward" : ""));
      for (const auto& [pattern, unit, tail, hit] : adversaries) {
        SCOPED_TRACE(pattern);
        ExpectDoubled(Steps(pattern, unit, 4000, tail, tuning, forward, hit),
                      Steps(pattern, unit, 8000, tail, tuning, forward, hit));
      }
      // Backward, the columns of suffix matches repeat, and a repeated one costs a step whatever the pattern's
      // length: twice the pattern costs at most twice the work.
      const uint64_t fifty = Steps(fiftyLoops + "b", "a", 2000, "", tuning, forward, -1);
      const uint64_t hundred = Steps(fiftyLoops + fiftyLoops + "b", "a", 2000, "", tuning, forward, -1);
      if (forward) {
        ExpectDoubled(fifty, hundred);
      } else {
        EXPECT_LT(5 * hundred, 12 * fifty);
      }
      EXPECT_EQ(Steps(".*.*x", "a", 2000, "", TSearchTuning{TRegexEngine::kAuto, 0}, forward, -1),
                Steps(".*.*x", "a", 2000, "", TSearchTuning{TRegexEngine::kPikeVm}, forward, -1));
    }
  }
}

TEST(NameMatchTest, BeginsWithIgnoreCaseAndCalcMatchWeight) {
  EXPECT_TRUE(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, true) && BeginsWithIgnoreCase(nullptr, "x", -3, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("print", "PRINT", 5, false) || BeginsWithIgnoreCase(nullptr, "abc", 1, true));
  EXPECT_FALSE(BeginsWithIgnoreCase("[@\xC1", "{`\xE1", 1, true));  // only A to Z fold
  EXPECT_FALSE(BeginsWithIgnoreCase("a\0b", "a\0c", 3, true));      // NULs included
  const std::tuple<const char*, int32_t, const char*, int32_t, int32_t> cases[] = {
      {"printOn:", 8, "PRINTON:", 8, 100}, {"abc", 3, "abdc", 4, 75},  // an extra character in either name
      {"abdc", 4, "abc", 3, 75},           {"xbc", 3, "ybc", 3, 66},   // a differing pair is stepped over
      {"ab", 2, "bab", 3, 66},             {"bab", 3, "ab", 2, 33},    // the second name's extra is tried first
      {"aXbXc", 5, "abc", 3, 60},          {"abc", 3, "", 0, 0},       // one extra at a time
      {"abc", -1, "xyz", 0, 100},          {"abc", 2, "abd", 2, 100},  // only the given lengths count
      {"xa", 2, "ax", 1, 50},              {nullptr, 3, "abc", 3, 0},
      {"abc", -1, "xyz", -1, 0},  // nothing compared and nothing to match
  };
  for (const auto& [a, lengthA, b, lengthB, weight] : cases) {
    EXPECT_EQ(CalcMatchWeight(a, lengthA, b, lengthB), weight) << PrintToString(a) << " / " << b;
  }
}

}  // namespace
}  // namespace weft
