// Differential tests: FindPattern against small, obviously correct models on
// random short inputs. The regular-expression model parses on its own and
// matches by plain recursive backtracking, straight from the rules; it is
// exponential, so inputs stay short. Every engine must agree with it. The
// start filter may skip only positions where no match begins, and the plain
// finder's strategies agree with a naive search, on texts long enough for the
// vector loop and the literal windows to matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "search/backtracker.h"
#include "search/find_pattern.h"
#include "search/matcher.h"
#include "search/pattern.h"
#include "search/plain_finder.h"
#include "search/regex_search.h"
#include "search/start_filter.h"

namespace weft {
namespace {

constexpr int32_t kUntouched = -777;

// ---- The model regular expression -------------------------------------------

struct ModelItem {
  enum Kind { kChar, kLineEnd, kMark } kind = kChar;
  char closure = 0;  // 0, '*', '+' or '?'
  bool isClass = false;
  bool negated = false;
  std::bitset<256> codes;  // class: 7-bit codes; literal: the accepted bytes
  bool Accepts(unsigned char c) const {
    if (isClass) return codes.test(c & 0x7F) != negated;
    return codes.test(c);
  }
};

struct ModelRegex {
  bool valid = false;
  bool anchored = false;
  std::vector<ModelItem> items;
};

int Escape(const std::string& p, size_t& i) {  // p[i] is the backslash
  if (i + 1 >= p.size()) {
    ++i;
    return '\\';
  }
  const unsigned char d = static_cast<unsigned char>(p[i + 1]);
  i += 2;
  switch (std::tolower(d)) {
    case 'b': return 8;
    case 'e': return 27;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 's': return ' ';
    case 't': return 9;
    default: break;
  }
  std::string digits;
  if (std::tolower(d) == 'x') {
    while (digits.size() < 3 && i < p.size() && std::isxdigit(static_cast<unsigned char>(p[i]))) digits += p[i++];
    return digits.empty() ? d : std::stoi(digits, nullptr, 16) % 256;
  }
  if (d == '^') {
    if (i >= p.size()) return d;
    return (std::toupper(static_cast<unsigned char>(p[i++])) - 64 + 256) % 256;
  }
  if (d >= '0' && d <= '7') {
    digits += static_cast<char>(d);
    while (digits.size() < 3 && i < p.size() && p[i] >= '0' && p[i] <= '7') digits += p[i++];
    return std::stoi(digits, nullptr, 8) % 256;
  }
  return d;
}

ModelItem ParseModelClass(const std::string& p, size_t& i) {  // p[i - 1] is '['
  ModelItem item;
  item.isClass = true;
  if (i < p.size() && p[i] == '^') {
    item.negated = true;
    ++i;
  }
  if (i < p.size() && p[i] == ']') {
    ++i;
    return item;
  }
  if (i < p.size() && p[i] == '-') {
    item.codes.set('-');
    ++i;
  }
  auto member = [&]() { return (p[i] == '\\' ? Escape(p, i) : static_cast<unsigned char>(p[i++])) & 0x7F; };
  while (i < p.size() && p[i] != ']') {
    const int low = member();
    if (i + 1 < p.size() && p[i] == '-' && p[i + 1] != ']') {
      ++i;
      const int high = member();
      for (int c = std::min(low, high); c <= std::max(low, high); ++c) item.codes.set(c);
    } else {
      item.codes.set(low);
    }
  }
  if (i < p.size()) ++i;
  return item;
}

ModelRegex ParseModel(const std::string& p, bool matchCase) {
  ModelRegex regex;
  auto isClosure = [](char c) { return c == '*' || c == '+' || c == '?'; };
  if (p.empty() || isClosure(p[0])) return regex;
  size_t i = 0;
  if (p[0] == '^') {
    regex.anchored = true;
    i = 1;
  }
  while (i < p.size()) {
    const char c = p[i];
    if (isClosure(c)) {
      if (regex.items.empty() || regex.items.back().kind != ModelItem::kChar || regex.items.back().closure != 0) {
        return ModelRegex{};
      }
      regex.items.back().closure = c;
      ++i;
      continue;
    }
    ModelItem item;
    if (c == '$') {
      size_t next = i + 1;
      const bool anchor = next == p.size() || p[next] == '\n' || (p[next] == '\\' && Escape(p, next) == '\n');
      if (anchor) {
        item.kind = ModelItem::kLineEnd;
        regex.items.push_back(item);
        ++i;
        continue;
      }
    }
    if (c == '@') {
      item.kind = ModelItem::kMark;
      ++i;
    } else if (c == '.') {
      item.codes.set();
      item.codes.reset('\n');
      ++i;
    } else if (c == '[') {
      ++i;
      item = ParseModelClass(p, i);
    } else {
      const int literal = c == '\\' ? Escape(p, i) : static_cast<unsigned char>(p[i++]);
      item.codes.set(literal);
      if (!matchCase && literal < 128 && std::isalpha(literal)) {
        item.codes.set(std::tolower(literal));
        item.codes.set(std::toupper(literal));
      }
    }
    regex.items.push_back(item);
  }
  regex.valid = true;
  return regex;
}

struct ModelMatch {
  int start = 0;
  int end = 0;
  std::vector<int> marks;
};

bool MatchHere(const ModelRegex& r, const std::string& t, int limit, size_t k, int pos, const std::vector<int>& marks,
               ModelMatch* out) {
  if (k == r.items.size()) {
    out->end = pos;
    out->marks = marks;
    return true;
  }
  const ModelItem& item = r.items[k];
  auto accepts = [&](int at) { return at < limit && item.Accepts(static_cast<unsigned char>(t[at])); };
  switch (item.kind) {
    case ModelItem::kMark: {
      std::vector<int> more = marks;
      more.push_back(pos);
      return MatchHere(r, t, limit, k + 1, pos, more, out);
    }
    case ModelItem::kLineEnd:
      return (pos == limit || t[pos] == '\n') && MatchHere(r, t, limit, k + 1, pos, marks, out);
    case ModelItem::kChar:
      break;
  }
  if (item.closure == 0) return accepts(pos) && MatchHere(r, t, limit, k + 1, pos + 1, marks, out);
  if (item.closure == '?') return MatchHere(r, t, limit, k + 1, accepts(pos) ? pos + 1 : pos, marks, out);
  int run = 0;
  while (accepts(pos + run)) ++run;
  for (int taken = run; taken >= (item.closure == '+' ? 1 : 0); --taken) {
    if (MatchHere(r, t, limit, k + 1, pos + taken, marks, out)) return true;
  }
  return false;
}

bool ModelMatchAt(const ModelRegex& r, const std::string& t, int limit, int pos, ModelMatch* out) {
  out->start = pos;
  return MatchHere(r, t, limit, 0, pos, {}, out);
}

bool ZeroWidthOnly(const ModelRegex& r) {
  return std::all_of(r.items.begin(), r.items.end(),
                     [](const ModelItem& item) { return item.kind != ModelItem::kChar; });
}

struct Outcome {
  int32_t index;
  int32_t length;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) { *out << outcome.index << "/" << outcome.length; }

Outcome Reported(const ModelMatch& m) {
  if (m.marks.size() >= 2) return {m.marks[0], m.marks[1] - m.marks[0]};
  return {m.start, m.end - m.start};
}

Outcome ModelFindRegex(const ModelRegex& r, const std::string& t, int s, bool forward) {
  if (!r.valid) return {-1, kUntouched};
  const int n = static_cast<int>(t.size());
  ModelMatch m;
  if (forward) {
    s = std::max(s, 0);
    if (s > n) return {-1, 0};
    if (s == n) return ZeroWidthOnly(r) && ModelMatchAt(r, t, n, n, &m) ? Reported(m) : Outcome{-1, 0};
    for (int pos = s; pos < n && (!r.anchored || pos == s); ++pos) {
      if (ModelMatchAt(r, t, n, pos, &m)) return Reported(m);
    }
    return {-1, 0};
  }
  if (s > n) return {-1, 0};
  if (s < 0) s = n - 1;
  const int limit = std::min(s + 1, n);
  auto startsAt = [&](int pos) { return (pos < limit || ZeroWidthOnly(r)) && ModelMatchAt(r, t, limit, pos, &m); };
  for (int pos = limit; pos >= 0; --pos) {
    if (!startsAt(pos)) continue;
    while (pos > 0 && startsAt(pos - 1)) --pos;
    ModelMatchAt(r, t, limit, pos, &m);
    return Reported(m);
  }
  return {-1, 0};
}

// ---- Random inputs ---------------------------------------------------------

// Pattern pieces and text characters to draw from: every syntax element,
// invalid uses included, over texts with LF, CR and bytes of 128 and above.
struct Alphabet {
  std::vector<std::string> pieces;
  std::string text;
  size_t maxPieces;
  size_t maxText;
};

const Alphabet kFullSyntax{
    {"a", "b", "A", "B", "a", "b", "a", "b", "a", ".", ".", "[", "]", "^", "-", "*", "+", "?", "*", "+", "?",
     "$", "@", "\\", "\n", "\r", "\\n", "\\r", "\\x61", "\\101", "\\^b", "\\b", "\\$", "\\@", "\\*", "\\x",
     "[ab]", "[^a]", "[a-b]", "[B-A]", "[]a]", "[-a]", "[a-]", "[^]", "[\\]]", "[\\n]", "\xE1", "[\xE1]",
     "$\\n", "$\n", "a*", "b+", "a?", ".*", "[ab]*", "@a*@"},
    "aaaabbbAB\n\r$@-\xE1\xC2",
    5,
    10,
};

// Closures packed close together over a two-letter text, where many threads
// and backtracking paths overlap.
const Alphabet kDenseClosures{
    {"a", "b", ".", "a?", "b?", "a*", "b*", ".*", "a+", "[ab]+", "[ab]?", "@", "$", "^a"},
    "aab",
    6,
    14,
};

// Every escape, in and out of classes, over texts holding the bytes they name.
const Alphabet kEscapes{
    {"a", "\\b", "\\e", "\\E", "\\f", "\\n", "\\r", "\\R", "\\s", "\\t", "\\x1b", "\\101", "\\^a", "\\x",
     "\\\\", "[\\t ]", "[\\b-\\f]", "[^\\s]", ".", "*", "+"},
    "a \t\b\x1b\f\r\nA\x01\\x",
    4,
    8,
};

std::string RandomPattern(std::mt19937& random, const Alphabet& alphabet) {
  std::uniform_int_distribution<size_t> pieceCount(1, alphabet.maxPieces);
  std::uniform_int_distribution<size_t> piece(0, alphabet.pieces.size() - 1);
  std::string pattern;
  for (size_t k = pieceCount(random); k > 0; --k) pattern += alphabet.pieces[piece(random)];
  return pattern;
}

std::string RandomText(std::mt19937& random, const Alphabet& alphabet) {
  std::uniform_int_distribution<size_t> length(0, alphabet.maxText);
  std::uniform_int_distribution<size_t> letter(0, alphabet.text.size() - 1);
  std::string text;
  for (size_t k = length(random); k > 0; --k) text += alphabet.text[letter(random)];
  return text;
}

std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "<%02X>", c);
      out += code;
    }
  }
  return out;
}

Outcome Actual(const std::string& p, const std::string& t, int s, bool regex, bool matchCase, bool forward,
               RegexEngine engine) {
  int32_t length = kUntouched;
  SearchTuning tuning;
  tuning.engine = engine;
  const int32_t index = FindPattern(t.c_str(), 0, p.c_str(), &length, s, regex, matchCase, forward, tuning);
  return {index, length};
}

// One engine below FindPattern, with the pattern compiled once.
Outcome ActualByEngine(const Pattern& compiled, const std::string& t, int s, bool forward, RegexEngine engine) {
  if (!compiled.valid) return {-1, kUntouched};
  SearchTuning tuning;
  tuning.engine = engine;
  MatchWork work;
  const Subject subject{reinterpret_cast<const unsigned char*>(t.data()), static_cast<int32_t>(t.size())};
  const MatchSpan span = forward ? FindRegexForward(compiled, subject, s, tuning, &work)
                                 : FindRegexBackward(compiled, subject, s, tuning, &work);
  return span.begin < 0 ? Outcome{-1, 0} : Outcome{span.begin, span.length};
}

// Every start from before the text to beyond its end, both directions, both
// case modes: FindPattern as a whole, then each engine.
void CompareWithModel(const Alphabet& alphabet, uint32_t seed, int patterns, int textsPerPattern) {
  std::mt19937 random(seed);
  const RegexEngine engines[] = {RegexEngine::kAuto, RegexEngine::kBacktracker, RegexEngine::kPikeVm};
  int mismatches = 0;
  for (int round = 0; round < patterns && mismatches < 10; ++round) {
    const std::string pattern = RandomPattern(random, alphabet);
    const ModelRegex models[2] = {ParseModel(pattern, false), ParseModel(pattern, true)};
    const Pattern compiled[2] = {CompilePattern(pattern, false), CompilePattern(pattern, true)};
    for (int sample = 0; sample < textsPerPattern; ++sample) {
      const std::string text = RandomText(random, alphabet);
      const int n = static_cast<int>(text.size());
      for (int s = -2; s <= n + 1; ++s) {
        for (int mode = 0; mode < 4; ++mode) {
          const bool matchCase = (mode & 1) != 0;
          const bool forward = (mode & 2) != 0;
          const Outcome expected = ModelFindRegex(models[matchCase], text, s, forward);
          for (RegexEngine engine : engines) {
            const Outcome actual = engine == RegexEngine::kAuto
                                       ? Actual(pattern, text, s, true, matchCase, forward, engine)
                                       : ActualByEngine(compiled[matchCase], text, s, forward, engine);
            if (actual == expected) continue;
            ++mismatches;
            ADD_FAILURE() << "pattern '" << Printable(pattern) << "' text '" << Printable(text) << "' start " << s
                          << (matchCase ? " case" : " nocase") << (forward ? " forward" : " backward") << " engine "
                          << static_cast<int>(engine) << ": expected " << expected.index << "/" << expected.length
                          << ", got " << actual.index << "/" << actual.length;
          }
        }
      }
    }
  }
}

TEST(PatternSearchDifferential, RegexAgreesWithModelOverFullSyntax) {
  CompareWithModel(kFullSyntax, 20240611, 3000, 6);
}

TEST(PatternSearchDifferential, RegexAgreesWithModelOnDenseClosures) { CompareWithModel(kDenseClosures, 99, 1000, 6); }

TEST(PatternSearchDifferential, RegexAgreesWithModelOnEscapes) { CompareWithModel(kEscapes, 5, 600, 6); }

Outcome ModelFindPlain(const std::string& p, const std::string& t, int s, bool matchCase, bool forward) {
  const int n = static_cast<int>(t.size());
  const int m = static_cast<int>(p.size());
  auto fold = [&](char c) { return matchCase ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  auto equalAt = [&](int pos) {
    for (int k = 0; k < m; ++k) {
      if (fold(t[pos + k]) != fold(p[k])) return false;
    }
    return true;
  };
  if (forward) {
    for (int pos = std::max(s, 0); pos <= n - m; ++pos) {
      if (equalAt(pos)) return {pos, m};
    }
    return {-1, m};
  }
  if (m > n || s > n) return {-1, m};
  for (int pos = s < 0 ? n - m : std::min(s, n - m); pos >= 0; --pos) {
    if (equalAt(pos)) return {pos, m};
  }
  return {-1, m};
}

std::string RandomString(std::mt19937& random, const std::string& alphabet, size_t minLength, size_t maxLength) {
  std::uniform_int_distribution<size_t> length(minLength, maxLength);
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  std::string s;
  for (size_t k = length(random); k > 0; --k) s += alphabet[letter(random)];
  return s;
}

Subject SubjectOf(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), static_cast<int32_t>(text.size())};
}

// FindPattern from every start in every mode on short texts; then the plain
// finder's strategies forward on long ones.
TEST(PatternSearchDifferential, PlainAgreesWithNaiveSearch) {
  std::mt19937 random(77);
  for (int round = 0; round < 3000; ++round) {
    const std::string pattern = RandomString(random, "abAB\n\r", 0, 5);
    const std::string text = RandomString(random, "abAB\n\r", 0, 40);
    const int n = static_cast<int>(text.size());
    for (int s = -2; s <= n + 1; ++s) {
      for (int mode = 0; mode < 4; ++mode) {
        const bool matchCase = (mode & 1) != 0;
        const bool forward = (mode & 2) != 0;
        ASSERT_EQ(Actual(pattern, text, s, false, matchCase, forward, RegexEngine::kAuto),
                  ModelFindPlain(pattern, text, s, matchCase, forward))
            << "pattern '" << Printable(pattern) << "' text '" << Printable(text) << "' start " << s << " mode "
            << mode;
      }
    }
  }
  for (int round = 0; round < 2000; ++round) {
    const std::string needle = RandomString(random, "aabAB\n\xE1\xC1[{", 1, 7);
    const std::string text = RandomString(random, "aaabbAB\n\xE1\xC1[{@`", 0, 300);
    const bool matchCase = round % 2 == 0;
    const PlainFinder best(needle, matchCase);
    const PlainFinder horspool(needle, matchCase, PlainFinder::Strategy::kHorspool);
    for (int32_t from = 0; from <= static_cast<int32_t>(text.size()); from += 1 + round % 5) {
      const int32_t expected = ModelFindPlain(needle, text, from, matchCase, true).index;
      ASSERT_EQ(best.FindForward(SubjectOf(text), from), expected) << needle << " in " << text << " from " << from;
      ASSERT_EQ(horspool.FindForward(SubjectOf(text), from), expected) << needle << " in " << text << " from " << from;
    }
  }
}

bool MatchBeginsAt(const Pattern& pattern, Subject subject, int32_t pos) {
  MatchWork work;
  Backtracker matcher(pattern, subject, pos, &work);
  RawMatch match;
  return matcher.MatchAt(pos, &match);
}

TEST(PatternStartFilterTest, NeverSkipsAMatchStart) {
  std::mt19937 random(4242);
  const std::vector<std::string> pieces = {"ab", "ba", "aB", "a", "b", "[ab]", "[^b]", ".", "a*", "b+", "[ab]*",
                                           "a?", "@", "$", "\n", "bb", "\xE1"};
  std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1);
  std::uniform_int_distribution<int> pieceCount(1, 5);
  int candidates = 0;
  int starts = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string source;
    for (int k = pieceCount(random); k > 0; --k) source += pieces[piece(random)];
    const bool matchCase = round % 2 == 0;
    const Pattern pattern = CompilePattern(source, matchCase);
    if (!pattern.valid) continue;
    const std::string text = RandomString(random, "aaabbAB\n\xE1", 0, 120);
    const Subject subject = SubjectOf(text);
    StartFilter filter(pattern, subject);
    int32_t candidate = filter.Next(0);
    for (int32_t pos = 0; pos < subject.size; ++pos) {
      if (candidate < pos) candidate = filter.Next(pos);
      if (candidate == pos) ++candidates;
      if (!MatchBeginsAt(pattern, subject, pos)) continue;
      ++starts;
      ASSERT_EQ(candidate, pos) << "pattern '" << source << "' text '" << text << "' start " << pos;
    }
  }
  EXPECT_GT(starts, 10000);
  EXPECT_LT(candidates, 3 * starts);  // the filter does skip
}

}  // namespace
}  // namespace weft
