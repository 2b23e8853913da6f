#include "text/tab_conversion.h"

#include <gtest/gtest.h>

#include <random>

namespace weft {
namespace {

std::string Convert(std::string_view line, int32_t width) {
  bool inLiteral = false;
  std::string out;
  ConvertSpacesToTabs(line, width, inLiteral, out);
  return out;
}

std::string Expand(std::string_view row, int32_t width, bool& inLiteral) {
  std::string out;
  ExpandTabsToSpaces(row, width, inLiteral, [&](const char* p, size_t n) { out.append(p, n); });
  return out;
}

TEST(TabConversion, ConvertsRunsThatReachATabStop) {
  struct Case {
    const char* line;
    const char* expected;
  } cases[] = {
      {"    x", "\tx"},
      {"a  b", "a  b"},
      {"a   b", "a\tb"},
      {"abc  d", "abc\t d"},
      {"x   ", "x   "},
      {"x    ", "x\t "},
      {"'a    b'", "'a    b'"},
      {"'it''s'    x", "'it''s'\t   x"},
      {"a b", "a b"},
      {"        x", "\t\tx"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Convert(c.line, 4), c.expected) << c.line;
}

TEST(TabConversion, LiteralStateCarriesAcrossLines) {
  bool inLiteral = false;
  std::string first, second;
  ConvertSpacesToTabs("x := 'abc", 4, inLiteral, first);
  EXPECT_TRUE(inLiteral);
  ConvertSpacesToTabs("    def'    y", 4, inLiteral, second);
  EXPECT_EQ(second, "    def'\ty");
  EXPECT_FALSE(inLiteral);
}

TEST(TabConversion, IndentationOfText) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"a\n  b\n    c\n      d", 2},
      {"    a\n\tb\n      c", 4},
      {"abc\ndef", 8},
      {" a\n    b", 1},
      {"", 8},
      {"a\n b\n   c", 3},
      {"a\n  ", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(IndentationOf(c.text, 8), c.expected) << c.text;
}

// Conversion followed by expansion with the same width gives the line back.
TEST(TabConversion, ExpansionUndoesConversionOnGeneratedLines) {
  std::mt19937 random(7);
  const char alphabet[] = {' ', ' ', ' ', ' ', 'a', 'b', '\'', '"', '.'};
  for (int trial = 0; trial < 20000; ++trial) {
    const int32_t width = 1 + static_cast<int32_t>(random() % 8);
    std::string lines[3];
    for (std::string& line : lines) {
      const size_t length = random() % 24;
      for (size_t i = 0; i < length; ++i) line += alphabet[random() % sizeof alphabet];
    }
    bool convertLiteral = false, expandLiteral = false;
    for (const std::string& line : lines) {
      std::string converted;
      ConvertSpacesToTabs(line, width, convertLiteral, converted);
      ASSERT_LE(converted.size(), line.size());
      ASSERT_EQ(Expand(converted, width, expandLiteral), line) << "width " << width;
      ASSERT_EQ(convertLiteral, expandLiteral);
    }
  }
}

TEST(TabConversion, TabsInsideLiteralsStayTabs) {
  bool inLiteral = false;
  EXPECT_EQ(Expand("\t'a\tb'\tc", 4, inLiteral), "    'a\tb'   c");
}

}  // namespace
}  // namespace weft
