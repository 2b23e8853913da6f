// The exported C interface as a host on another platform calls it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "weftcore.h"

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

TEST_F(ExportTest, VersionAndHandles) {
  WeftPoint version{};
  EXPECT_EQ(VersionNumber(&version), &version);
  EXPECT_EQ(version.x, 1);
  EXPECT_EQ(version.y, 2);
  EXPECT_EQ(IsHandleOk(handle), 1);
  const int32_t second = CreateGrid();
  EXPECT_EQ(second, handle + 1);
  DeleteGrid(second);
  EXPECT_EQ(IsHandleOk(second), 0);
  DeleteGrid(second);
  EXPECT_EQ(CreateGrid(), second);
  DeleteGrid(second);
}

TEST_F(ExportTest, TextRoundTripWithOneBasedRows) {
  const char text[] = "x := 3.\n\ty printNl";
  SetText(handle, text, static_cast<int32_t>(std::strlen(text)), 1);
  EXPECT_EQ(NumberOfRows(handle), 2);
  EXPECT_EQ(ColumnsInRow(handle, 2), 10);
  WeftPoint last{};
  LastRowAndColumn(handle, &last);
  EXPECT_EQ(last.x, 11);
  EXPECT_EQ(last.y, 2);
  char buffer[64];
  EXPECT_EQ(Text(handle, buffer, sizeof buffer, 0), 19);
  EXPECT_STREQ(buffer, "x := 3.\r\n\ty printNl");
  char row[8];
  EXPECT_EQ(StringAtRow(handle, 1, row, 8), 7);
  EXPECT_EQ(std::string(row, 7), "x := 3.");
}

TEST_F(ExportTest, NewGridAnswersItsEmptyState) {
  WeftPoint last{};
  LastRowAndColumn(handle, &last);
  EXPECT_EQ(last.x, 1);
  EXPECT_EQ(last.y, 1);
  char buffer[4] = "abc";
  EXPECT_EQ(Text(handle, buffer, 4, 0), -1);
  EXPECT_STREQ(buffer, "abc");
}

// Dead handles and rows outside the text are answered with "none" and leave
// every record as it was.
TEST_F(ExportTest, DeadHandlesAndBadRowsDoNothing) {
  SetText(handle, "ab", 2, 0);
  const int32_t dead[] = {-1, handle + 1, 1000, INT32_MIN};
  for (int32_t bad : dead) {
    WeftPoint point{77, 88};
    char buffer[4] = "xyz";
    SetText(bad, "zz", 2, 0);
    EXPECT_EQ(Text(bad, buffer, 4, 1), -1);
    EXPECT_EQ(StringAtRow(bad, 1, buffer, 4), 0);
    EXPECT_EQ(NumberOfRows(bad), 0);
    EXPECT_EQ(ColumnsInRow(bad, 1), 0);
    LastRowAndColumn(bad, &point);
    SetDefaultBackColor(bad, 1);
    EXPECT_EQ(point.x, 77);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(IsHandleOk(bad), 0);
  }
  char buffer[4] = "xyz";
  for (int32_t row : {0, -1, 2, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(StringAtRow(handle, row, buffer, 4), 0);
    EXPECT_EQ(ColumnsInRow(handle, row), 0);
  }
  EXPECT_STREQ(buffer, "xyz");
  EXPECT_EQ(NumberOfRows(handle), 1);
}

TEST_F(ExportTest, SettingsReadBack) {
  WeftPoint cell{};
  CellSize(&cell);
  EXPECT_GT(cell.x, 0);
  EXPECT_GT(cell.y, 0);
  WeftLogFont logFont{};
  GetLogFont(&logFont);
  EXPECT_STREQ(logFont.lfFaceName, "Courier New");
  EXPECT_EQ(logFont.lfPitchAndFamily, 0x31);
  EXPECT_EQ(SetConfiguration(nullptr), 0);
}

}  // namespace
