#include "text/string_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace weft {
namespace {

class StringGridTest : public ::testing::Test {
 protected:
  StringGridTest() {
    TConfiguration configuration{};
    configuration.tabWidth = 8;
    shared.settings.SetConfiguration(configuration);
  }

  std::vector<std::string> Rows(const TStringGrid& grid) {
    std::vector<std::string> rows;
    for (const str& row : grid.rows()) rows.emplace_back(row.view());
    return rows;
  }

  std::string TextOf(const TStringGrid& grid, bool expand) {
    std::string buffer(static_cast<size_t>(CapacityFor(grid, expand)), '\x7f');
    const int32_t length = grid.Text(buffer.data(), static_cast<int32_t>(buffer.size()), expand);
    EXPECT_GE(length, 0);
    EXPECT_EQ(buffer[static_cast<size_t>(length)], '\0');
    return buffer.substr(0, static_cast<size_t>(length));
  }

  int32_t CapacityFor(const TStringGrid& grid, bool expand) {
    int32_t size = 1;
    for (const str& row : grid.rows()) size += (expand ? 8 : 1) * row.size() + 2;
    return size;
  }

  TSharedState shared;
};

TEST_F(StringGridTest, ReadsLinesAsRows) {
  struct Case {
    std::string text;
    std::vector<std::string> rows;
    std::string back;
  } cases[] = {
      {"a\r\nb", {"a", "b"}, "a\r\nb"},
      {"a\r\n", {"a", ""}, "a\r\n"},
      {"a\n\nb", {"a", "", "b"}, "a\r\n\r\nb"},
      {"a\rb", {"a\rb"}, "a\rb"},
      {"", {""}, ""},
      {"a\r\r\nb", {"a\r", "b"}, "a\r\r\nb"},
      {std::string("ab\0cd\nef", 8), {"ab", "ef"}, "ab\r\nef"},
  };
  for (const Case& c : cases) {
    TStringGrid grid(shared);
    grid.SetText(c.text.data(), static_cast<int32_t>(c.text.size()), false);
    EXPECT_EQ(Rows(grid), c.rows) << c.text;
    EXPECT_EQ(TextOf(grid, false), c.back) << c.text;
  }
}

TEST_F(StringGridTest, NewGridHasNoRows) {
  TStringGrid grid(shared);
  char buffer[4] = "xyz";
  EXPECT_EQ(grid.NumberOfRows(), 0);
  EXPECT_EQ(grid.LastRowAndColumn(), (TPoint{0, 0}));
  EXPECT_EQ(grid.Text(buffer, 4, false), -1);
  EXPECT_STREQ(buffer, "xyz");
}

TEST_F(StringGridTest, ZeroOrNegativeLengthReadsToTheNul) {
  for (int32_t length : {0, -5}) {
    TStringGrid grid(shared);
    grid.SetText("ab\ncd", length, false);
    EXPECT_EQ(Rows(grid), (std::vector<std::string>{"ab", "cd"}));
    grid.SetText("", length, false);
    EXPECT_EQ(Rows(grid), (std::vector<std::string>{""}));
    EXPECT_EQ(grid.LastRowAndColumn(), (TPoint{0, 0}));
  }
}

TEST_F(StringGridTest, LongLinesStayWhole) {
  const std::string line(1000, 'x');
  TStringGrid grid(shared);
  grid.SetText(line.data(), 1000, true);
  ASSERT_EQ(grid.NumberOfRows(), 1);
  EXPECT_EQ(grid.RowLength(0), 1000);
  EXPECT_EQ(TextOf(grid, true), line);
}

TEST_F(StringGridTest, TextNeverWritesPastItsBuffer) {
  TStringGrid grid(shared);
  grid.SetText("abc\ndef", 0, false);
  for (int32_t size = 1; size <= 10; ++size) {
    std::string buffer(12, '#');
    const int32_t written = grid.Text(buffer.data(), size, false);
    EXPECT_EQ(written, std::min(size - 1, 8));
    EXPECT_EQ(buffer[static_cast<size_t>(written)], '\0');
    EXPECT_EQ(buffer.substr(0, static_cast<size_t>(written)), std::string("abc\r\ndef").substr(0, static_cast<size_t>(written)));
    EXPECT_EQ(buffer.find_first_not_of('#', static_cast<size_t>(size)), std::string::npos) << size;
  }
  EXPECT_EQ(grid.Text(nullptr, 10, false), 0);
  char one = 'x';
  EXPECT_EQ(grid.Text(&one, 0, false), 0);
  EXPECT_EQ(one, 'x');
}

TEST_F(StringGridTest, ConversionUsesTheTextsOwnIndentation) {
  TStringGrid grid(shared);
  const char text[] = "    x\na  b\na   b\nabc  d\nx   \nx    \n'a    b'";
  grid.SetText(text, 0, true);
  EXPECT_EQ(grid.indentWidth(), 4);
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"\tx", "a  b", "a\tb", "abc\t d", "x   ", "x\t ", "'a    b'"}));
  EXPECT_EQ(TextOf(grid, true), "    x\r\na  b\r\na   b\r\nabc  d\r\nx   \r\nx    \r\n'a    b'");
}

TEST_F(StringGridTest, TabsInTheTextTurnConversionOff) {
  TStringGrid grid(shared);
  grid.SetText("  a\n  b", 0, true);
  EXPECT_EQ(grid.indentWidth(), 2);
  grid.SetText("\ta\n    b", 0, true);
  EXPECT_TRUE(grid.hasTabs());
  EXPECT_EQ(grid.indentWidth(), 2);  // kept from before
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"\ta", "    b"}));
}

TEST_F(StringGridTest, StringAtRowFillsWithNulsOrCuts) {
  TStringGrid grid(shared);
  grid.SetText("abc\nde", 0, false);
  char buffer[10];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(grid.StringAtRow(0, buffer, 10), 3);
  EXPECT_EQ(std::string(buffer, 10), std::string("abc\0\0\0\0\0\0\0", 10));
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(grid.StringAtRow(0, buffer, 2), 2);
  EXPECT_EQ(std::string(buffer, 3), "ab#");
  EXPECT_EQ(grid.StringAtRow(2, buffer, 10), 0);
  EXPECT_EQ(grid.StringAtRow(-1, buffer, 10), 0);
  EXPECT_EQ(grid.RowLength(5), 0);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Every corpus file comes back as it was given, with CR LF line breaks, with
// and without the space-to-tab conversion.
TEST_F(StringGridTest, CorpusRoundTrips) {
  const std::filesystem::path corpus = WEFT_CORPUS_DIR;
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".st") continue;
    const std::string text = ReadFile(entry.path());
    for (bool convert : {false, true}) {
      TStringGrid grid(shared);
      grid.SetText(text.data(), static_cast<int32_t>(text.size()), convert);
      const std::string back = TextOf(grid, convert && !grid.hasTabs());
      const std::string expected = WithCrLf(text);
      const auto mismatch = std::mismatch(back.begin(), back.end(), expected.begin(), expected.end());
      ASSERT_TRUE(back == expected) << entry.path() << " convert " << convert << " differs at byte "
                                    << (mismatch.first - back.begin());
    }
    ++files;
  }
  EXPECT_GT(files, 100);
}

TEST_F(StringGridTest, GeneratedTextsRoundTripThroughConversion) {
  std::mt19937 random(11);
  const char alphabet[] = {' ', ' ', ' ', ' ', ' ', 'a', '\'', '\n', '\n', '"', 'x'};
  for (int trial = 0; trial < 3000; ++trial) {
    std::string text;
    const size_t length = random() % 80;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
    TStringGrid grid(shared);
    grid.SetText(text.data(), static_cast<int32_t>(text.size()), true);
    ASSERT_EQ(TextOf(grid, true), WithCrLf(text)) << "indent " << grid.indentWidth();
  }
}

}  // namespace
}  // namespace weft
