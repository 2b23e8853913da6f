#include "lex/keyword_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace weft {
namespace {

std::vector<std::string> Entries(const TKeywordTable& table) {
  std::vector<std::string> entries;
  for (int32_t i = 0; i < table.count(); ++i) entries.push_back(table.at(i));
  return entries;
}

TEST(KeywordTableTest, OrdersByUnsignedBytesWithCaseMattering) {
  TKeywordTable table;
  for (const char* word : {"self", "Self", "a", "selfish", "\xE9t\xE9", "sel", "^", "", "self"}) table.Add(word);
  EXPECT_EQ((std::vector<std::string>{"", "Self", "^", "a", "sel", "self", "self", "selfish", "\xE9t\xE9"}),
            Entries(table));
  table.Delete("self");
  EXPECT_TRUE(table.Contains("self"));
  EXPECT_FALSE(table.Contains("SELF"));
}

// Random words over a small alphabet (so prefixes and duplicates are common),
// checked against a sorted model and a linear search.
TEST(KeywordTableTest, MatchesASortedModelAndLinearSearch) {
  std::mt19937 random(4242);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const std::string alphabet = std::string("aAbB_:\xE9\xFF") + '\x01';
  const auto word = [&] {
    std::string w(static_cast<size_t>(below(4)), ' ');
    for (char& c : w) c = alphabet[static_cast<size_t>(below(static_cast<int>(alphabet.size())))];
    return w;
  };
  const auto unsignedLess = [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  };
  for (int round = 0; round < 30; ++round) {
    TKeywordTable table;
    std::vector<std::string> model;
    for (int step = 0; step < 200; ++step) {
      const std::string w = word();
      if (below(4) == 0) {
        table.Delete(w);
        const auto at = std::find(model.begin(), model.end(), w);
        if (at != model.end()) model.erase(at);
      } else {
        table.Add(w);
        model.insert(std::upper_bound(model.begin(), model.end(), w, unsignedLess), w);
      }
      ASSERT_EQ(model, Entries(table));
      const std::string probe = word();
      ASSERT_EQ(std::find(model.begin(), model.end(), probe) != model.end(), table.Contains(probe)) << probe;
    }
  }
}

}  // namespace
}  // namespace weft
