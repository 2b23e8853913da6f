#include "text/tab_conversion.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/test_support.h"

namespace weft {
namespace {

std::string Convert(std::string_view line, int32_t width, bool& inLiteral) {
  std::string out;
  ConvertSpacesToTabs(line, width, inLiteral, out);
  return out;
}
std::string Expand(std::string_view row, int32_t width, bool& inLiteral) {
  std::string out;
  ExpandTabsToSpaces(row, width, inLiteral, [&](const char* p, size_t n) { out.append(p, n); });
  return out;
}

TEST(TabConversion, ConvertsRunsThatReachATabStopOutsideLiteralsAndFindsTheIndentation) {
  bool inLiteral = false;
  EXPECT_EQ(Convert("        a   b  c    ", 4, inLiteral), "\t\ta\tb  c    ");
  EXPECT_EQ(Convert("abc  d", 4, inLiteral), "abc\t d");
  EXPECT_EQ(Expand("\t'a\tb'\tc", 4, inLiteral), "    'a\tb'   c");
  const std::pair<std::string_view, int32_t> cases[] = {{"a\n  b\n    c", 2}, {"    a\n\tb\n      c", 4},
      {"abc\ndef", 8}, {" a\n    b", 1}, {"a\n b\n   c", 3},
      {"a\n\n  b\n    c", 2},                   // after a blank line
      {std::string_view("a\n     b", 4), 2}};  // a cut run
  for (const auto& [text, indentation] : cases) EXPECT_EQ(IndentationOf(text, 8), indentation) << text;
  // 3000 spaces and more count as no indentation at all.
  EXPECT_EQ(IndentationOf("a\n" + std::string(3000, ' ') + "b", 8), 8);
  EXPECT_EQ(IndentationOf("a\n" + std::string(2999, ' ') + "b", 8), 2999);
}

// Conversion followed by expansion with the same width gives the line back.
TEST(TabConversion, ExpansionUndoesConversionOnGeneratedLines) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 20000; ++trial) {
    const int32_t width = 1 + static_cast<int32_t>(random() % 8);
    bool convertLiteral = false, expandLiteral = false;
    for (int row = 0; row < 3; ++row) {
      const std::string line = testing::RandomText(random, "    ab'\".", 23);
      const std::string converted = Convert(line, width, convertLiteral);
      ASSERT_LE(converted.size(), line.size());
      ASSERT_EQ(Expand(converted, width, expandLiteral), line) << "width " << width;
      ASSERT_EQ(convertLiteral, expandLiteral);
    }
  }
}

}  // namespace
}  // namespace weft
