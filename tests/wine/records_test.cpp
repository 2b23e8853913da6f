// The exports as the host calls them: handles, fonts, points, tokens and
// edits, every record built and read as raw bytes at its documented offsets;
// edits invalidate a real window, read back with GetUpdateRect.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

using host::Call;
using host::Record;
using Pair = std::pair<int32_t, int32_t>;

class DllGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    Record configuration = host::Configuration(4);
    ASSERT_EQ(Call("SetConfiguration", configuration.data()), 1);
    Call<void>("SetFont", "Courier New", 10);
    handle = Call("CreateGrid");
  }
  void TearDown() override { Call<void>("DeleteGrid", handle); }
  int32_t handle = -1;
};

// Points are (column, row) records, 1-based; Text writes no more than its
// buffer's size, NUL included.
TEST_F(DllGrid, PointRecordsAndTextBuffers) {
  Call<void>("SetText", handle, "a\nbc\r\n\td", 8, 0);
  Record point(8);
  Call<void>("LastRowAndColumn", handle, point.data());
  EXPECT_EQ(point.Pair(), Pair(3, 3));
  Call<void>("PointForIndex", handle, 4, point.data());
  EXPECT_EQ(point.Pair(), Pair(1, 2));
  EXPECT_EQ(Call("IndexForPoint", handle, 1, 2), 4);
  char buffer[8] = "#######";
  EXPECT_EQ(Call("Text", handle, buffer, 6, 0), 5);
  EXPECT_EQ(std::string(buffer, 7), std::string("a\r\nbc\0#", 7));
}

// The token record: start column and row, end column and row, the text
// pointer at 16, its length at 20 and the kind at 24. (The search exports'
// answers through the DLL are held to the native library's by the replay
// comparison.)
TEST_F(DllGrid, TokensThroughTheirRecords) {
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
  EXPECT_EQ((std::array{record.Get(0), record.Get(4), record.Get(8), record.Get(12), record.Get(20), record.Get(24)}),
            (std::array{11, 1, 2, 2, 4, 146}));
  EXPECT_EQ(Call("PreviousToken", handle, record.data()), 1);
  Call<void>("DeleteKeyword", "self");
}

// The view record holds the window at offset 56; an edit invalidates the
// rows it changed, clipped to the client area.
TEST_F(DllGrid, EditsInvalidateTheChangedBandOfARealWindow) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "WeftEditTest";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, "WeftEditTest", "weft", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Record view(64), cell(8), end(8);
  view.SetPointer(56, window);
  Call<void>("CellSize", cell.data());
  const int32_t height = cell.Get(4);
  auto invalidated = [&] {
    RECT rect{};
    if (!GetUpdateRect(window, &rect, FALSE)) return std::array<LONG, 4>{-1, -1, -1, -1};
    ValidateRect(window, nullptr);
    return std::array{rect.left, rect.top, rect.right, rect.bottom};
  };
  std::string text;
  for (int row = 0; row < 10; ++row) text += "abc def\n";
  Call<void>("SetText", handle, text.c_str(), 0, 0);
  ValidateRect(window, nullptr);
  Call<void>("InsertCell", handle, int32_t{'x'}, 2, 5, view.data());  // row 5; the re-scan stops on row 6
  EXPECT_EQ(invalidated(), (std::array<LONG, 4>{0, 4 * height, 800, 6 * height}));
  // A new line moves every later row: the band reaches the last row.
  EXPECT_EQ(Call<void*>("InsertString", handle, "\r\n", 1, 2, end.data(), view.data()), end.data());
  EXPECT_EQ(end.Pair(), Pair(1, 3));
  EXPECT_EQ(invalidated(), (std::array<LONG, 4>{0, height, 800, 12 * height}));
  Call<void>("DeleteSection", handle, 1, 2, 0, 3, host::kNoRecord);  // no view record: no invalidation
  EXPECT_EQ(invalidated()[1], -1);
  char buffer[32];
  EXPECT_EQ(Call("TextInRect", handle, 1, 2, 9, 3, buffer, 31), 18);
  EXPECT_STREQ(buffer, "abc def\r\nabc def\r\n");
  DestroyWindow(window);
}

TEST(DllRecords, HandlesVersionAndTheDebuggerMessageForADeadHandle) {
  ASSERT_NE(host::Library(), nullptr);
  for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(Call("CreateGrid"), i);
  Call<void>("DeleteGrid", 1);
  EXPECT_EQ(Call("CreateGrid"), 1);
  int32_t answer = -1;
  EXPECT_TRUE(host::DebugMessagesDuring([&] { answer = Call("IsHandleOk", 3); }).empty());
  EXPECT_EQ(answer, 1);
  for (int32_t i = 0; i < 7; ++i) Call<void>("DeleteGrid", i);
  for (int32_t dead : {3, 100000, -3}) {
    EXPECT_EQ(host::DebugMessagesDuring([&] { answer = Call("IsHandleOk", dead); }),
              std::vector<std::string>{"grids[index] is null\n"});
    EXPECT_EQ(answer, 0);
  }
  Record version(8);
  EXPECT_EQ(Call<void*>("VersionNumber", version.data()), version.data());
  EXPECT_EQ(version.Pair(), Pair(1, 2));
}

TEST_F(DllGrid, FontsFromWinesRealFaces) {
  Record logFont(60);
  Call<void>("GetLogFont", logFont.data());
  EXPECT_EQ(logFont.Get(0), -13);  // 10 points at 96 pixels per inch
  EXPECT_EQ(logFont.Get(16), 0);   // weight: any
  EXPECT_EQ(logFont.bytes()[27], 0x31);
  EXPECT_STREQ(reinterpret_cast<const char*>(logFont.bytes() + 28), "Courier New");
  Record cell(8), bigger(8);
  Call<void>("CellSize", cell.data());
  EXPECT_TRUE(cell.Get(0) >= 7 && cell.Get(0) <= 9 && cell.Get(4) >= 13 && cell.Get(4) <= 17) << cell.Get(0) << "x"
                                                                                               << cell.Get(4);
  Call<void>("SetFont", "Courier New", 20);
  Call<void>("CellSize", bigger.data());
  EXPECT_TRUE(bigger.Get(0) > cell.Get(0) && bigger.Get(4) > cell.Get(4));
  Call<void>("SetFont", "Courier New", 10);
}

}  // namespace
