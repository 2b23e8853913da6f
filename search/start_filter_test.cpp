// The start filter may skip only positions where no match begins, and the
// plain finder's strategies agree with a naive search, on texts long enough
// for the vector loop and the literal windows to matter.
#include "search/start_filter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "search/backtracker.h"
#include "search/pattern.h"
#include "search/plain_finder.h"

namespace weft {
namespace {

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

int32_t NaiveFind(const std::string& text, const std::string& needle, int32_t from, bool matchCase) {
  const auto fold = [&](char c) {
    return matchCase ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  };
  for (int32_t p = from; p + static_cast<int32_t>(needle.size()) <= static_cast<int32_t>(text.size()); ++p) {
    bool equal = true;
    for (size_t k = 0; k < needle.size() && equal; ++k) equal = fold(text[p + k]) == fold(needle[k]);
    if (equal) return p;
  }
  return -1;
}

TEST(PlainSearchFinderTest, StrategiesAgreeWithNaiveSearchOnLongTexts) {
  std::mt19937 random(5150);
  for (int round = 0; round < 2000; ++round) {
    const std::string needle = RandomString(random, "aabAB\n\xE1\xC1[{", 1, 7);
    const std::string text = RandomString(random, "aaabbAB\n\xE1\xC1[{@`", 0, 300);
    const bool matchCase = round % 2 == 0;
    const PlainFinder best(needle, matchCase);
    const PlainFinder horspool(needle, matchCase, PlainFinder::Strategy::kHorspool);
    for (int32_t from = 0; from <= static_cast<int32_t>(text.size()); from += 1 + round % 5) {
      const int32_t expected = NaiveFind(text, needle, from, matchCase);
      ASSERT_EQ(best.FindForward(SubjectOf(text), from), expected) << needle << " in " << text << " from " << from;
      ASSERT_EQ(horspool.FindForward(SubjectOf(text), from), expected) << needle << " in " << text << " from " << from;
    }
  }
}

}  // namespace
}  // namespace weft
