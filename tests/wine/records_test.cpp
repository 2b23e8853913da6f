// The exports as the host calls them: handles, fonts, text, tokens, search
// and edits, every record built and read as raw bytes at its documented
// offsets; edits invalidate a real window, read back with GetUpdateRect.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

using host::Call;
using host::Record;

class DllGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    Record configuration = host::Configuration(4);
    Call("SetConfiguration", configuration.data());
    Call<void>("SetFont", "Courier New", 10);
    handle = Call("CreateGrid");
  }
  void TearDown() override { Call<void>("DeleteGrid", handle); }
  int32_t handle = -1;
};

TEST_F(DllGrid, TextRowsBuffersAndConversion) {
  char buffer[64] = "#######";
  EXPECT_EQ(Call("Text", handle, buffer, 4, 0), -1);
  Call<void>("SetText", handle, "a\nbc\r\n\td", 8, 0);
  EXPECT_EQ(Call("NumberOfRows", handle), 3);
  EXPECT_EQ(Call("ColumnsInRow", handle, 2), 2);
  Record last(8);
  Call<void>("LastRowAndColumn", handle, last.data());
  EXPECT_EQ(last.Get(0), 3);
  EXPECT_EQ(last.Get(4), 3);
  char row[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(Call("StringAtRow", handle, 2, row, 4), 2);
  EXPECT_EQ(std::string(row, 4), std::string("bc\0\0", 4));
  EXPECT_EQ(Call("Text", handle, buffer, 6, 0), 5);
  EXPECT_EQ(std::string(buffer, 7), std::string("a\r\nbc\0#", 7));
  Record point(8);
  Call<void>("PointForIndex", handle, 4, point.data());
  EXPECT_EQ(point.Get(0), 1);
  EXPECT_EQ(point.Get(4), 2);
  EXPECT_EQ(Call("IndexForPoint", handle, 1, 2), 4);
  Call<void>("SetText", handle, "    x := 1.\n        y := 'a    b'.", 0, 1);
  EXPECT_EQ(Call("Text", handle, buffer, 64, 0), 26);
  EXPECT_STREQ(buffer, "\tx := 1.\r\n\t\ty := 'a    b'.");
  EXPECT_EQ(Call("Text", handle, buffer, 64, 1), 35);
  EXPECT_STREQ(buffer, "    x := 1.\r\n        y := 'a    b'.");
}

// The token record: start column and row, end column and row, the text
// pointer at 16, its length at 20 and the kind at 24.
TEST_F(DllGrid, TokensAndSearchThroughTheirRecords) {
  Call<void>("AddKeyword", "self");
  Call<void>("SetText", handle, "x := self.\n  \"note\" #at:put:", 0, 0);
  Call<void>("RewindTokens", handle);
  Record record(28);
  std::vector<std::string> texts;
  while (Call("NextToken", handle, record.data()) >= 0) {
    const char* text;
    std::memcpy(&text, record.bytes() + 16, sizeof text);
    texts.emplace_back(text);
    EXPECT_EQ(record.Get(20), static_cast<int32_t>(texts.back().size()));
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"x", " ", ":=", " ", "self", ".", "\r\n  ", "\"note\"", " ", "#at:put:"}));
  EXPECT_EQ(Call("TokenAt", handle, 1, 2, record.data()), 4);  // the indentation: the line end stretched
  const int32_t fields[] = {11, 1, 2, 2, 4, 146};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(record.Get(i < 4 ? 4 * i : 4 * i + 4), fields[i]) << "field " << i;
  EXPECT_EQ(Call("PreviousToken", handle, record.data()), 1);
  Call<void>("DeleteKeyword", "self");
  int32_t length = 99;
  EXPECT_EQ(Call("FindPattern", "xaay", 4, "x@a+@y", &length, 1, 1, 1, 1), 2);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(Call("FindPattern", "xxAB", 4, "ab", &length, 0, 0, 0, 0), 3);
  EXPECT_EQ(Call("BeginsWithIgnoreCase", "printOn:", "PRINTString", 5, 1), 1);
  EXPECT_EQ(Call("CalcMatchWeight", "abc", 3, "abdc", 4), 75);
}

HWND MakeWindow() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WeftEditTest";
    return RegisterClassA(&windowClass) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "WeftEditTest", "weft", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The view record holds the window at offset 56.
TEST_F(DllGrid, EditsInvalidateTheChangedBandOfARealWindow) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  Record view(64), cell(8), end(8);
  std::memcpy(static_cast<uint8_t*>(view.data()) + 56, &window, sizeof window);
  Call<void>("CellSize", cell.data());
  const int32_t height = cell.Get(4);
  auto invalidated = [&] {
    RECT rect{};
    if (!GetUpdateRect(window, &rect, FALSE)) return RECT{-1, -1, -1, -1};
    ValidateRect(window, nullptr);
    return rect;
  };
  std::string text;
  for (int row = 0; row < 10; ++row) text += "abc def\n";
  Call<void>("SetText", handle, text.c_str(), 0, 0);
  ValidateRect(window, nullptr);
  Call<void>("InsertCell", handle, int32_t{'x'}, 2, 5, view.data());  // row 5; the re-scan stops on row 6
  RECT band = invalidated();
  EXPECT_EQ(band.left, 0);
  EXPECT_EQ(band.top, 4 * height);
  EXPECT_EQ(band.right, 800);  // 3000, clipped to the client area
  EXPECT_EQ(band.bottom, 6 * height);
  // A new line moves every later row: the band reaches the last row.
  EXPECT_EQ(Call<void*>("InsertString", handle, "\r\n", 1, 2, end.data(), view.data()), end.data());
  EXPECT_EQ(end.Get(0), 1);
  EXPECT_EQ(end.Get(4), 3);
  band = invalidated();
  EXPECT_EQ(band.top, height);
  EXPECT_EQ(band.bottom, 12 * height);
  Call<void>("DeleteSection", handle, 1, 2, 0, 3, host::kNoRecord);  // no view record: no invalidation
  EXPECT_EQ(invalidated().top, -1);
  char buffer[32];
  EXPECT_EQ(Call("TextInRect", handle, 1, 2, 9, 3, buffer, 31), 18);
  EXPECT_STREQ(buffer, "abc def\r\nabc def\r\n");
  DestroyWindow(window);
}

TEST(DllRecords, HandlesVersionAndTheDebuggerMessageForADeadHandle) {
  ASSERT_NE(host::Library(), nullptr);
  std::vector<int32_t> handles;
  for (int32_t i = 0; i < 7; ++i) handles.push_back(Call("CreateGrid"));
  for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(handles[static_cast<size_t>(i)], i);
  Call<void>("DeleteGrid", 1);
  EXPECT_EQ(Call("CreateGrid"), 1);
  struct Context {
    int32_t handle, answer;
  } context{3, -1};
  auto ask = [](void* c) { static_cast<Context*>(c)->answer = Call("IsHandleOk", static_cast<Context*>(c)->handle); };
  EXPECT_TRUE(host::DebugMessagesDuring(ask, &context).empty());
  EXPECT_EQ(context.answer, 1);
  for (int32_t handle : handles) Call<void>("DeleteGrid", handle);
  for (int32_t dead : {3, 100000, -3}) {
    context.handle = dead;
    EXPECT_EQ(host::DebugMessagesDuring(ask, &context), std::vector<std::string>{"grids[index] is null\n"});
    EXPECT_EQ(context.answer, 0);
  }
  Record version(8);
  EXPECT_EQ(Call<void*>("VersionNumber", version.data()), version.data());
  EXPECT_EQ(version.Get(0), 1);
  EXPECT_EQ(version.Get(4), 2);
}

TEST(DllRecords, FontsFromWinesRealFaces) {
  Record configuration = host::Configuration(4);
  EXPECT_EQ(Call("SetConfiguration", configuration.data()), 1);
  Call<void>("SetFont", "Courier New", 10);
  Record logFont(60);
  Call<void>("GetLogFont", logFont.data());
  EXPECT_EQ(logFont.Get(0), -13);  // 10 points at 96 pixels per inch
  EXPECT_EQ(logFont.Get(16), 0);   // weight: any
  EXPECT_EQ(logFont.bytes()[27], 0x31);
  EXPECT_STREQ(reinterpret_cast<const char*>(logFont.bytes() + 28), "Courier New");
  Record cell(8), bigger(8);
  Call<void>("CellSize", cell.data());
  EXPECT_GE(cell.Get(0), 7);
  EXPECT_LE(cell.Get(0), 9);
  EXPECT_GE(cell.Get(4), 13);
  EXPECT_LE(cell.Get(4), 17);
  Call<void>("SetFont", "Courier New", 20);
  Call<void>("CellSize", bigger.data());
  EXPECT_GT(bigger.Get(0), cell.Get(0));
  EXPECT_GT(bigger.Get(4), cell.Get(4));
  Call<void>("SetFont", "Courier New", 10);
}

}  // namespace
