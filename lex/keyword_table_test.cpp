#include "lex/keyword_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace weft {
namespace {

// Random adds and deletes of words over a small alphabet (so prefixes,
// duplicates, case and bytes above 127 are common), some long, against a
// sorted list; std::string orders bytes as unsigned, a prefix first.
TEST(KeywordTableTest, MatchesASortedList) {
  std::mt19937 random(4242);
  const std::string alphabet("aAbB_:\xE9\xFF\x01", 9);
  for (int round = 0; round < 30; ++round) {
    TKeywordTable table;
    std::vector<std::string> model;
    for (int step = 0; step < 200; ++step) {
      const std::string word = testing::RandomText(random, alphabet, random() % 10 == 0 ? 40 : 3);
      if (random() % 4 == 0) {
        table.Delete(word);
        if (const auto at = std::find(model.begin(), model.end(), word); at != model.end()) model.erase(at);
      } else {
        table.Add(word);
        model.insert(std::upper_bound(model.begin(), model.end(), word), word);
      }
      std::vector<std::string> entries;
      for (int32_t i = 0; i < table.count(); ++i) entries.push_back(table.at(i));
      ASSERT_EQ(model, entries);
      std::string probe = testing::RandomText(random, alphabet, 3);
      if (random() % 2 == 0 && !model.empty()) probe = model[random() % model.size()].substr(0, random() % 41);
      ASSERT_EQ(std::count(model.begin(), model.end(), probe) > 0, table.Contains(probe)) << probe;
    }
  }
}

}  // namespace
}  // namespace weft
