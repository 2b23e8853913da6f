// The exported C interface as a host on another platform calls it, and a host's working day of grids made, edited
// and deleted, which must leave the library holding what it held before (LeakSanitizer, on in the native preset,
// also reports single leaked blocks).
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"
#include "weftcore.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's allocator answers for every block; g++ ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WeftConfiguration configuration{};
    configuration.tabWidth = 4;
    ASSERT_EQ(SetConfiguration(&configuration), 1);
    SetFont("Courier New", 10);
    handle = CreateGrid();
    ASSERT_GE(handle, 0);
  }
  void TearDown() override { DeleteGrid(handle); }
  int32_t handle = -1;
};

// Handles that name no grid are answered with "none" and change nothing. The call scripts check this after every
// call, but only the calls a kept script happens to make on a dead handle. A new grid takes the lowest free handle.
TEST_F(ExportTest, DeadHandlesDoNothing) {
  SetText(handle, "ab", 2, 0);
  for (int32_t next = handle + 1; next < handle + 8; ++next) EXPECT_EQ(CreateGrid(), next);
  DeleteGrid(handle + 2);
  DeleteGrid(handle + 2);
  EXPECT_EQ(CreateGrid(), handle + 2);
  for (int32_t next = handle + 1; next < handle + 8; ++next) DeleteGrid(next);
  char buffer[4] = "xyz";
  // Deleted handles, slots of the table never used, the first handle past it and far beyond it.
  std::vector<int32_t> badHandles = {-1, 1000, INT32_MIN};
  for (int32_t next = handle + 1; next <= handle + 12; ++next) badHandles.push_back(next);
  for (int32_t bad : badHandles) {
    WeftPoint point{77, 88};
    WeftTokenRecord token{};
    SetText(bad, "zz", 2, 0);
    DeleteGrid(bad);
    EXPECT_EQ((std::array{Text(bad, buffer, 4, 1), StringAtRow(bad, 1, buffer, 4), NumberOfRows(bad),
                          IsHandleOk(bad), TextInRect(bad, 1, 1, 2, 1, buffer, 3), PreviousToken(bad, &token)}),
              (std::array<int32_t, 6>{-1, 0, 0, 0, 0, -1}));
    EXPECT_EQ(token.text, nullptr);
    LastRowAndColumn(bad, &point);
    EXPECT_EQ(point.x, 77);
  }
  EXPECT_STREQ(buffer, "xyz");
  EXPECT_EQ(NumberOfRows(handle), 1);
}

// Rows outside the text read as empty; the grid tests hold the rest of what Text and StringAtRow write.
TEST_F(ExportTest, TextRoundTripWithOneBasedRowsAndSettingsReadBack) {
  WeftPoint point{};
  EXPECT_EQ(VersionNumber(&point), &point);
  EXPECT_EQ(point.x * 10 + point.y, 12);
  LastRowAndColumn(handle, &point);
  EXPECT_EQ((std::pair{point.x, point.y}), (std::pair{1, 1}));
  char buffer[64];
  EXPECT_EQ(Text(handle, buffer, sizeof buffer, 0), -1);  // no rows yet
  SetText(handle, "x := 3.\n    y printNl", 21, 1);
  LastRowAndColumn(handle, &point);
  EXPECT_EQ((std::array{NumberOfRows(handle), ColumnsInRow(handle, 2), point.x, point.y}), (std::array{2, 10, 11, 2}));
  EXPECT_EQ(Text(handle, buffer, sizeof buffer, 1), 22);
  EXPECT_STREQ(buffer, "x := 3.\r\n    y printNl");
  EXPECT_EQ(Text(handle, buffer, sizeof buffer, 0), 19);
  EXPECT_STREQ(buffer, "x := 3.\r\n\ty printNl");
  EXPECT_EQ((std::array{AtPoint(handle, 1, 1), AtPoint(handle, 8, 1)}), (std::array<int32_t, 2>{'x', '\n'}));
  EXPECT_EQ(StringAtRow(handle, 1, buffer, 9), 7);
  for (int32_t row : {0, -1, 3, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(StringAtRow(handle, row, buffer, 4) + ColumnsInRow(handle, row), 0) << row;
  }
  EXPECT_EQ(std::string(buffer, 10), std::string("x := 3.\0\0\t", 10));
  WeftLogFont logFont{};
  GetLogFont(&logFont);
  EXPECT_STREQ(logFont.lfFaceName, "Courier New");
  EXPECT_EQ(SetConfiguration(nullptr), 0);
}

TEST_F(ExportTest, TokensWalkThroughTheRecord) {
  AddKeyword("self");
  AddKeyword(nullptr);
  DeleteKeyword(nullptr);
  SetText(handle, "x := self.\n\"c\"", 0, 0);
  RewindTokens(handle);
  WeftTokenRecord token{};
  std::string joined;
  for (int32_t length; (length = NextToken(handle, &token)) >= 0; joined += token.text) {
    ASSERT_EQ(length, static_cast<int32_t>(std::strlen(token.text)));
  }
  EXPECT_EQ(joined, "x := self.\r\n\"c\"");
  EXPECT_EQ(TokenAt(handle, 3, 1, &token), 2);
  EXPECT_STREQ(token.text, ":=");
  EXPECT_EQ((std::array{token.kind, token.startColumn, token.startRow, token.endColumn}), (std::array{129, 3, 1, 4}));
  EXPECT_EQ(PreviousToken(handle, &token), 1);
  EXPECT_STREQ(token.text, " ");
  EXPECT_EQ(TokenAt(handle, 1, 9, nullptr), 3);  // past the last row: the last token, record optional
  DeleteKeyword("self");
  RebuildDataStructures(handle);
}

// InsertString converts its point and writes the end back; Display converts its record to 0-based in place.
TEST_F(ExportTest, EditsAndDisplayConvertTheirRecords) {
  SetText(handle, "abc\ndef", 0, 0);
  WeftView view{};
  WeftPoint end{};
  EXPECT_EQ(InsertString(handle, "12\n3", 2, 1, &end, &view), &end);
  EXPECT_EQ((std::pair{end.x, end.y}), (std::pair{2, 2}));
  InsertCell(handle, 'Z', 1, 1, nullptr);
  DeleteSection(handle, 4, 1, 1, 2, nullptr);  // from the 2 through the 3
  char buffer[32];
  EXPECT_EQ(TextInRect(handle, 1, 1, 9, 2, buffer, 31), 12);
  EXPECT_STREQ(buffer, "Za1bc\r\ndef\r\n");
  EXPECT_EQ(Text(handle, buffer, sizeof buffer, 0), 10);
  EXPECT_STREQ(buffer, "Za1bc\r\ndef");
  WeftDisplay display{nullptr, 1, 1, 4, 3, 0, 0, 0, 0, {}};
  Display(handle, &display);
  EXPECT_EQ((std::array{display.fromColumn, display.toRow, display.selectionEndRow}), (std::array{0, 2, -1}));
  Display(handle, nullptr);
}

// Each flag of FindPattern is read as 0 or not 0, and the start and the answer are 1-based (0 for none).
TEST_F(ExportTest, SearchExportsConvertFlagsAndIndices) {
  int32_t length = 0;
  EXPECT_EQ(FindPattern("xxABab", 6, "ab", &length, 4, 0, 1, 1), 5);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(FindPattern("xxABab", 6, "AB", &length, 0, 0, 7, 0), 3);
  EXPECT_EQ(FindPattern("xxABab", 6, "a.", &length, 6, -1, 0, 0), 5);
  EXPECT_EQ(FindPattern("xxab", 4, "a+b", &length, 1, 1, 1, 2), 3);
  EXPECT_EQ(FindPattern("xxab", 4, "x", &length, 1, 0, 1, 1), 1);
  EXPECT_EQ(FindPattern("xxab", 4, "q", &length, 1, 0, 1, 1), 0);
  EXPECT_EQ(BeginsWithIgnoreCase("printOn:", "PRINTString", 5, 3) * 2 + BeginsWithIgnoreCase("pr", "PR", 2, 0), 2);
  EXPECT_EQ(CalcMatchWeight("abc", 3, "abdc", 4), 75);
}

// Edits with coordinates outside the text are clamped into it or refused, as the text read back shows; InsertString
// reads its lines as SetText does and writes the end point back, the given one where it refuses.
TEST_F(ExportTest, EditsClampOrRefuseEveryCoordinate) {
  struct TCase {
    const char* text;
    const char* inserted;  // null: DeleteSection from the start to the end
    int32_t startColumn, startRow, endColumn, endRow;
    const char* expected;
  } cases[] = {
      {"ab\ncd\nef", nullptr, 1, 1, -5, 2, "cd\r\nef"},  // before column 1: the line break before row 2
      {"ab\ncd\nef", nullptr, 2, 1, INT32_MIN, 3, "aef"},
      {"a\nb\nc", nullptr, 1, 0, 1, 2, "a\r\nb\r\nc"},  // no row 0
      {"a\nb\nc", nullptr, 1, 2, 1, 1, "a\r\nb\r\nc"},  // end row before the start row
      {"a\nb\nc", nullptr, INT32_MIN, 2, INT32_MAX, 3, "a\r\n"},
      {"abc", nullptr, 3, 1, 0, 1, "abc"},  // no line break before row 1
      {"ab", "x\r\ny\r", 2, 1, 2, 2, "ax\r\nyb"},
      {"ab", "x\r\r", 1, 1, 3, 1, "x\rab"},
      {"ab", "x", 1, INT32_MIN, 1, INT32_MIN, "ab"},
      {"ab\r", "", 1, 1, 1, 1, "ab"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    SetText(handle, c.text, 0, 0);
    WeftPoint end{};
    if (c.inserted == nullptr) DeleteSection(handle, c.startColumn, c.startRow, c.endColumn, c.endRow, nullptr);
    if (c.inserted != nullptr) InsertString(handle, c.inserted, c.startColumn, c.startRow, &end, nullptr);
    char buffer[32];
    Text(handle, buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, c.expected);
    if (c.inserted != nullptr) {
      EXPECT_EQ((std::pair{end.x, end.y}), (std::pair{c.endColumn, c.endRow}));
    }
  }
}

// Answers that hand a row, column or index back unchanged do so at both extremes of the range too: the 1-based
// conversions keep INT32_MIN and INT32_MAX where they are.
TEST_F(ExportTest, ExtremeArgumentsAnsweredUnchangedComeBackAsGiven) {
  SetText(handle, "ab\n\tc", 0, 1);  // tabs kept: indices are not converted
  for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(extreme);
    EXPECT_EQ(VisualColumnFor(handle, extreme, extreme), extreme);  // a row outside the text
    EXPECT_EQ(VisualColumnFor(handle, extreme, 9), extreme);
    EXPECT_EQ(NonTabbedToTabbedIndex(handle, extreme), extreme);
    WeftPoint point{};
    PointAtDistanceFrom(handle, 0, extreme, 1, &point);
    EXPECT_EQ((std::pair{point.x, point.y}), (std::pair{extreme, 1}));
    PointAtDistanceFrom(handle, 0, 2, extreme, &point);
    EXPECT_EQ((std::pair{point.x, point.y}), (std::pair{2, extreme}));
  }
}

// Tab widths and point sizes at the extremes are capped: every width,
// column and pixel stays in range, and the answers are those of the cap.
TEST_F(ExportTest, ExtremeTabWidthsAndFontSizesAreCapped) {
  SetText(handle, "\ta\tb", 0, 0);
  for (int32_t tabWidth : {INT32_MAX, 1 << 30, 1000, 1001}) {
    WeftConfiguration configuration{};
    configuration.tabWidth = tabWidth;
    SetConfiguration(&configuration);
    const int32_t grid = CreateGrid();
    SetText(grid, "\ta\tb", 0, 0);
    std::string expanded(4096, '#');
    EXPECT_EQ(Text(grid, expanded.data(), 4096, 1), 2001) << tabWidth;
    EXPECT_EQ(VisualColumnFor(grid, 4, 1), 2001) << tabWidth;
    WeftDisplay display{nullptr, 1, 1, 5, 1, 0, 0, 0, 0, {}};
    Display(grid, &display);
    DeleteGrid(grid);
  }
  for (int32_t pointSize : {INT32_MAX, INT32_MIN, 1000, -1000}) {
    SetFont("Courier New", pointSize);
    WeftLogFont logFont{};
    GetLogFont(&logFont);
    EXPECT_EQ(logFont.lfHeight, pointSize > 0 ? -1333 : 1333) << pointSize;
    SetTopCorner(handle, INT32_MIN, INT32_MAX);
    WeftPoint pixel{};
    PointForCell(handle, INT32_MAX, 1, &pixel);
  }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kAllocatorSlack = 0;
size_t BytesHeld() { return __sanitizer_get_current_allocated_bytes(); }
#else
// glibc's own bookkeeping moves by a few dozen bytes with each thread that
// ends; a leak of one block per cycle would be hundreds of kilobytes.
constexpr size_t kAllocatorSlack = 4096;
size_t BytesHeld() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}
#endif

void OneCycle(std::mt19937& random) {
  const std::string text =
      weft::testing::RandomText(random, "self foo: #bar 'a' \"c\" $c 12 3.5e2 [:x | x] ^\t\r\n\n", 900);
  const int32_t handle = CreateGrid();
  ASSERT_GE(handle, 0);
  SetText(handle, text.c_str(), static_cast<int32_t>(text.size()), static_cast<int32_t>(random() % 2));
  WeftView view{};
  WeftPoint end{};
  const int32_t rows = NumberOfRows(handle);
  for (int edit = 0; edit < 4; ++edit) {
    const int32_t row = 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(rows));
    const int32_t column = 1 + static_cast<int32_t>(random() % 20);
    InsertCell(handle, 'x', column, row, &view);
    InsertString(handle, "'open\r\n[ :y |", column, row, &end, &view);
    DeleteSection(handle, column, row, column + 3, row + 1, &view);
  }
  WeftTokenRecord token{};
  for (RewindTokens(handle); NextToken(handle, &token) >= 0;) {
  }
  TokenAt(handle, 2, 2, &token);
  char buffer[128];
  Text(handle, buffer, sizeof buffer, 1);
  DeleteGrid(handle);
}

// Painting and fonts stay out of the cycles: off Windows they go to a stand-in that records every call. glibc keeps
// blocks freed by a thread in a cache of that thread, which its statistics count as in use, and gives the cache back
// when the thread ends: the cycles run on threads of their own, so only what the library holds is counted. The first
// cycle makes the library's first allocations.
TEST_F(ExportTest, TenThousandCyclesGiveBackWhatTheyTook) {
  AddKeyword("self");
  std::mt19937 random(7);
  std::thread([&] { OneCycle(random); }).join();
  const size_t before = BytesHeld();
  std::thread([&] {
    for (int cycle = 0; cycle < 10000; ++cycle) OneCycle(random);
  }).join();
  const size_t after = BytesHeld();
  EXPECT_LE(after, before + kAllocatorSlack);
  EXPECT_LE(before, after + kAllocatorSlack);
}

}  // namespace
