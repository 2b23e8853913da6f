// Grids, version, settings, fonts and the text store, as the host calls them.
#include <gtest/gtest.h>

#include "dll_host.h"

namespace {

TEST(DllFrame, LoadsAndHandsOutHandles) {
  ASSERT_NE(host::Library(), nullptr);
  auto createGrid = host::Export<CreateGridFn>("CreateGrid");
  auto deleteGrid = host::Export<DeleteGridFn>("DeleteGrid");
  auto isHandleOk = host::Export<HandleFn>("IsHandleOk");
  std::vector<int32_t> handles;
  for (int i = 0; i < 7; ++i) handles.push_back(createGrid());
  for (int i = 0; i < 7; ++i) EXPECT_EQ(handles[static_cast<size_t>(i)], i);
  deleteGrid(1);
  EXPECT_EQ(isHandleOk(1), 0);
  EXPECT_EQ(createGrid(), 1);
  for (int32_t handle : handles) deleteGrid(handle);
  EXPECT_EQ(isHandleOk(0), 0);
  host::Record version(8);
  EXPECT_EQ(host::Export<RecordFn>("VersionNumber")(version.data()), version.data());
  EXPECT_EQ(version.Get(0), 1);
  EXPECT_EQ(version.Get(4), 2);
}

TEST(DllFrame, IsHandleOkTellsTheDebugger) {
  auto createGrid = host::Export<CreateGridFn>("CreateGrid");
  auto deleteGrid = host::Export<DeleteGridFn>("DeleteGrid");
  struct Context {
    int32_t handle;
    int32_t answer;
  } context{createGrid(), -1};
  auto ask = [](void* c) {
    auto* ctx = static_cast<Context*>(c);
    ctx->answer = host::Export<HandleFn>("IsHandleOk")(ctx->handle);
  };
  EXPECT_TRUE(host::DebugMessagesDuring(ask, &context).empty());
  EXPECT_EQ(context.answer, 1);
  deleteGrid(context.handle);
  EXPECT_EQ(host::DebugMessagesDuring(ask, &context), std::vector<std::string>{"grids[index] is null\n"});
  EXPECT_EQ(context.answer, 0);
  context.handle = 100000;
  EXPECT_EQ(host::DebugMessagesDuring(ask, &context).size(), 1u);
  context.handle = -3;
  EXPECT_EQ(host::DebugMessagesDuring(ask, &context).size(), 1u);
}

TEST(DllFrame, FontsFromWinesRealFaces) {
  host::Record configuration = host::Configuration(4);
  EXPECT_EQ(host::Export<SetConfigurationFn>("SetConfiguration")(configuration.data()), 1);
  host::Export<SetFontFn>("SetFont")("Courier New", 10);
  host::Record logFont(60);
  host::Export<OutRecordFn>("GetLogFont")(logFont.data());
  EXPECT_EQ(logFont.Get(0), -13);  // 10 points at 96 pixels per inch
  EXPECT_EQ(logFont.Get(16), 0);   // weight: any
  EXPECT_EQ(logFont.bytes()[20], 0);
  EXPECT_EQ(logFont.bytes()[27], 0x31);
  EXPECT_STREQ(reinterpret_cast<const char*>(logFont.bytes() + 28), "Courier New");
  host::Record cell(8);
  host::Export<OutRecordFn>("CellSize")(cell.data());
  EXPECT_GE(cell.Get(0), 7);
  EXPECT_LE(cell.Get(0), 9);
  EXPECT_GE(cell.Get(4), 13);
  EXPECT_LE(cell.Get(4), 17);
  // A second SetFont replaces the fonts; the metrics stay consistent.
  host::Export<SetFontFn>("SetFont")("Courier New", 20);
  host::Record bigger(8);
  host::Export<OutRecordFn>("CellSize")(bigger.data());
  EXPECT_GT(bigger.Get(0), cell.Get(0));
  EXPECT_GT(bigger.Get(4), cell.Get(4));
  host::Export<SetFontFn>("SetFont")("Courier New", 10);
}

TEST(DllText, RowsQueriesBuffersAndConversion) {
  host::Record configuration = host::Configuration(4);
  host::Export<SetConfigurationFn>("SetConfiguration")(configuration.data());
  const int32_t handle = host::Export<CreateGridFn>("CreateGrid")();
  auto setText = host::Export<SetTextFn>("SetText");
  auto text = host::Export<TextFn>("Text");
  char buffer[64] = "#######";
  EXPECT_EQ(text(handle, buffer, 4, 0), -1);
  setText(handle, "a\nbc\r\n\td", 8, 0);
  EXPECT_EQ(host::Export<HandleFn>("NumberOfRows")(handle), 3);
  EXPECT_EQ(host::Export<HandleRowFn>("ColumnsInRow")(handle, 2), 2);
  host::Record last(8);
  host::Export<HandleRecordFn>("LastRowAndColumn")(handle, last.data());
  EXPECT_EQ(last.Get(0), 3);
  EXPECT_EQ(last.Get(4), 3);
  char row[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(host::Export<StringAtRowFn>("StringAtRow")(handle, 2, row, 4), 2);
  EXPECT_EQ(std::string(row, 4), std::string("bc\0\0", 4));
  EXPECT_EQ(text(handle, buffer, 6, 0), 5);
  EXPECT_EQ(std::string(buffer, 7), std::string("a\r\nbc\0#", 7));
  setText(handle, "    x := 1.\n        y := 'a    b'.", 0, 1);
  EXPECT_EQ(text(handle, buffer, sizeof buffer, 0), 26);
  EXPECT_STREQ(buffer, "\tx := 1.\r\n\t\ty := 'a    b'.");
  EXPECT_EQ(text(handle, buffer, sizeof buffer, 1), 35);
  EXPECT_STREQ(buffer, "    x := 1.\r\n        y := 'a    b'.");
  host::Export<DeleteGridFn>("DeleteGrid")(handle);
}

}  // namespace
