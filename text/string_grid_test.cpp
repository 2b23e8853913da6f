#include "text/string_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::RowsOf;
using testing::TextOf;

class StringGridTest : public testing::GridTest {};

TEST_F(StringGridTest, ReadsLinesAsRows) {
  const std::string longLine(1000, 'x');
  const struct {
    std::string text;
    std::vector<std::string> rows;
    std::string back;
  } cases[] = {
      {"a\r\nb", {"a", "b"}, "a\r\nb"},
      {"a\n\nb\n", {"a", "", "b", ""}, "a\r\n\r\nb\r\n"},
      {"a\r\r\nb\rc", {"a\r", "b\rc"}, "a\r\r\nb\rc"},
      {"", {""}, ""},
      {std::string("ab\0cd\nef", 8), {"ab", "ef"}, "ab\r\nef"},
      {longLine + "\n" + longLine, {longLine, longLine}, longLine + "\r\n" + longLine},
  };
  for (const auto& c : cases) {
    auto grid = Grid(c.text);
    EXPECT_EQ(RowsOf(*grid), c.rows) << c.text;
    EXPECT_EQ(TextOf(*grid), c.back) << c.text;
  }
  TStringGrid grid(shared);
  for (int32_t length : {0, -5, 1}) {  // a length below 1: up to the NUL
    grid.SetText("ab\ncd", length, false);
    EXPECT_EQ(RowsOf(grid), (length == 1 ? std::vector<std::string>{"a"} : std::vector<std::string>{"ab", "cd"}));
  }
}

// Row reads outside the text and the 1-based conversions are the export tests' part.
TEST_F(StringGridTest, TextAndStringAtRowNeverWritePastTheirBuffers) {
  auto grid = Grid("abc\ndef");
  char buffer[12];
  for (int32_t size = 1; size <= 10; ++size) {
    std::memset(buffer, '#', sizeof buffer);
    const int32_t written = grid->Text(buffer, size, false);
    EXPECT_EQ(written, std::min(size - 1, 8));
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(written) + 1),
              std::string("abc\r\ndef").substr(0, static_cast<size_t>(written)) + '\0');
    EXPECT_EQ(std::string(buffer + size, sizeof buffer - static_cast<size_t>(size)), std::string(12 - size, '#'));
  }
  EXPECT_EQ(grid->Text(nullptr, 10, false) + grid->Text(buffer, 0, false), 0);
  for (int32_t size = 1; size <= 6; ++size) {
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(grid->StringAtRow(1, buffer, size), std::min(size, 3));
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(size) + 1),
              std::string("def\0\0\0", 6).substr(0, static_cast<size_t>(size)) + '#');
  }
}

TEST_F(StringGridTest, ConversionUsesTheTextsOwnIndentationUnlessItHasTabs) {
  auto grid = Grid("    x\na   b\nabc  d\n'a    b'", true);
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"\tx", "a\tb", "abc\t d", "'a    b'"}));
  grid->SetText("  a\n  b", 0, true);
  EXPECT_EQ(grid->indentWidth(), 2);
  grid->SetText("\ta\n    b", 0, true);
  EXPECT_TRUE(grid->hasTabs());
  EXPECT_EQ(grid->indentWidth(), 2);  // kept from before
  EXPECT_EQ(RowsOf(*grid), (std::vector<std::string>{"\ta", "    b"}));
}

}  // namespace
}  // namespace weft
