// The exports as the host calls them: handles, fonts, points, tokens and edits, every record built and read as raw
// bytes at its documented offsets; edits invalidate a real window, read back with GetUpdateRect, and painting with a
// real font lands in the cells of a 32-bit DIB section. (The answers themselves are the native tests' part, and the
// replay comparison holds the DLL's to the native library's.)
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

using host::Call;
using host::TRecord;
using host::kCommentBack;
using host::kSpaceBack;
using host::kTextBack;
using TPair = std::pair<int32_t, int32_t>;

using DllGrid = host::GridTest;

// Point records are (column, row), 1-based. The token record: start column and row, end column and row, the text
// pointer at 16, its length at 20 and the kind at 24.
TEST_F(DllGrid, PointAndTokenRecords) {
  Call<void>("AddKeyword", "self");
  Call<void>("SetText", handle, "x := self.\n  \"note\" #at:put:", 0, 0);
  TRecord point(8), token(28);
  Call<void>("PointForIndex", handle, 13, point.data());
  EXPECT_EQ(point.Pair(), TPair(1, 2));
  std::string joined;
  for (Call<void>("RewindTokens", handle); Call("NextToken", handle, token.data()) >= 0;) {
    const char* text;
    std::memcpy(&text, token.bytes() + 16, sizeof text);
    EXPECT_EQ(token.Get(20), static_cast<int32_t>(std::strlen(text)));
    joined += text;
  }
  EXPECT_EQ(joined, "x := self.\r\n  \"note\" #at:put:");
  EXPECT_EQ(Call("TokenAt", handle, 1, 2, token.data()), 4);  // the indentation: the line end stretched
  EXPECT_EQ((std::array{token.Get(0), token.Get(4), token.Get(8), token.Get(12), token.Get(20), token.Get(24)}),
            (std::array{11, 1, 2, 2, 4, 146}));
  Call<void>("DeleteKeyword", "self");
}

// The view record holds the window at offset 56; an edit invalidates the rows it changed, clipped to the client
// area, and with no view record nothing.
TEST_F(DllGrid, EditsInvalidateTheChangedBandOfARealWindow) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "WeftEditTest";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, "WeftEditTest", "weft", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  TRecord view(64), cell(8), end(8);
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
  Call<void>("InsertCell", handle, int32_t{'x'}, 2, 5, view.data());  // row 5, which the re-scan stays in
  EXPECT_EQ(invalidated(), (std::array<LONG, 4>{0, 4 * height, 800, 5 * height}));
  // A new line moves every later row: the band reaches the last row.
  EXPECT_EQ(Call<void*>("InsertString", handle, "\r\n", 1, 2, end.data(), view.data()), end.data());
  EXPECT_EQ(end.Pair(), TPair(1, 3));
  EXPECT_EQ(invalidated(), (std::array<LONG, 4>{0, height, 800, 12 * height}));
  Call<void>("DeleteSection", handle, 1, 2, 0, 3, host::kNoRecord);
  EXPECT_EQ(invalidated()[1], -1);
  char buffer[32];
  EXPECT_EQ(Call("TextInRect", handle, 1, 2, 9, 3, buffer, 31), 18);
  EXPECT_STREQ(buffer, "abc def\r\nabc def\r\n");
  DestroyWindow(window);
}

TEST(DllRecords, VersionAndTheDebuggerMessageForADeadHandle) {
  ASSERT_NE(host::Library(), nullptr);
  const int32_t handle = Call("CreateGrid");
  int32_t answer = -1;
  EXPECT_TRUE(host::DebugMessagesDuring([&] { answer = Call("IsHandleOk", handle); }).empty());
  EXPECT_EQ(answer, 1);
  Call<void>("DeleteGrid", handle);
  EXPECT_EQ(host::DebugMessagesDuring([&] { answer = Call("IsHandleOk", handle); }),
            std::vector<std::string>{"grids[index] is null\n"});
  EXPECT_EQ(answer, 0);
  TRecord version(8);
  EXPECT_EQ(Call<void*>("VersionNumber", version.data()), version.data());
  EXPECT_EQ(version.Pair(), TPair(1, 2));
}

// A 60-byte LOGFONTA: height, weight at 16, pitch and family at 27, the face at 28; cells of Wine's Courier New grow
// with the point size.
TEST_F(DllGrid, FontsFromWinesRealFaces) {
  TRecord logFont(60), cell(8), bigger(8);
  Call<void>("GetLogFont", logFont.data());
  EXPECT_EQ((std::array{logFont.Get(0), logFont.Get(16), int32_t{logFont.bytes()[27]}}), (std::array{-13, 0, 0x31}));
  EXPECT_STREQ(reinterpret_cast<const char*>(logFont.bytes() + 28), "Courier New");
  Call<void>("CellSize", cell.data());
  EXPECT_TRUE(cell.Get(0) >= 7 && cell.Get(0) <= 9 && cell.Get(4) >= 13 && cell.Get(4) <= 17) << cell.Get(0) << "x"
                                                                                               << cell.Get(4);
  Call<void>("SetFont", "Courier New", 20);
  Call<void>("CellSize", bigger.data());
  EXPECT_TRUE(bigger.Get(0) > cell.Get(0) && bigger.Get(4) > cell.Get(4));
  Call<void>("SetFont", "Courier New", 10);
}

constexpr COLORREF kHighlight = RGB(0x30, 0x96, 0xFA);  // Wine's COLOR_HIGHLIGHT
constexpr uint32_t kUnpaintedPixel = 0x00123456u;

class DllDisplay : public host::GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    host::Call<void>("CellSize", cell.data());
    std::fill(target.pixels, target.pixels + kWidth * kHeight, kUnpaintedPixel);
  }

  // The colour at pixel (x, y), and at the bottom-left pixel of a cell (0-based): below the glyphs of the characters
  // used here, so the cell's background.
  COLORREF At(int x, int y) const {
    const uint32_t pixel = target.pixels[y * kWidth + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  COLORREF CellBackground(int column, int row) const { return At(column * width(), (row + 1) * height() - 1); }
  int width() const { return cell.Get(0); }
  int height() const { return cell.Get(4); }

  static constexpr int kWidth = 320;
  static constexpr int kHeight = 160;
  host::TRecord cell{8};
  host::TPaintTarget target{kWidth, kHeight};
};

// Backgrounds of runs, the selection's highlight, the fills right of row ends and below the text; the device context
// comes with a font and a character extra of the host's, which painting must neither use nor keep.
TEST_F(DllDisplay, RunsFillsAndSelectionLandInTheirCells) {
  host::Call<void>("SetText", handle, "ab \"c\"\nx", 0, 0);
  LOGFONTA request{};
  request.lfHeight = -20;
  HFONT hostFont = CreateFontIndirectA(&request);
  SelectObject(target.dc, hostFont);
  SetTextCharacterExtra(target.dc, 3);
  host::Display(handle, target.dc, {1, 1, 2, 4, 2, 1, 2, 1});  // to row 4, past the text; the b selected
  GdiFlush();
  EXPECT_EQ(GetTextCharacterExtra(target.dc), 3);
  EXPECT_EQ(GetCurrentObject(target.dc, OBJ_FONT), hostFont);
  DeleteObject(hostFont);
  EXPECT_EQ(CellBackground(0, 0), kTextBack);
  EXPECT_EQ(CellBackground(1, 0), kHighlight);
  EXPECT_EQ(CellBackground(2, 0), kSpaceBack);
  EXPECT_EQ(CellBackground(3, 0), kCommentBack);
  EXPECT_EQ(CellBackground(5, 0), kCommentBack);
  // Right of the first row's end, and the line break: the blank background.
  EXPECT_EQ(At(7 * width() + 3, 2), kSpaceBack);
  EXPECT_EQ(At(kWidth - 1, height() - 1), kSpaceBack);
  // The last row, its end, and every row down to row 4; nothing below.
  EXPECT_EQ(CellBackground(0, 1), kTextBack);
  EXPECT_EQ(At(2 * width() + 2, height() + 2), kSpaceBack);
  EXPECT_EQ(At(3, 3 * height() + 3), kSpaceBack);
  EXPECT_EQ(At(kWidth - 1, 4 * height() - 1), kSpaceBack);
  EXPECT_EQ(At(3, 4 * height() + 2), RGB(0x12, 0x34, 0x56));
}

}  // namespace
