// Edits through the exports, invalidating a real window: the band the
// library invalidates is read back with GetUpdateRect.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

HWND MakeWindow() {
  static const char* const kClass = "WeftEditTest";
  static bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, kClass, "weft", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

class DllEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Record configuration = host::Configuration(4);
    host::Export<SetConfigurationFn>("SetConfiguration")(configuration.data());
    host::Export<SetFontFn>("SetFont")("Courier New", 10);
    host::Export<OutRecordFn>("CellSize")(cell.data());
    handle = host::Export<CreateGridFn>("CreateGrid")();
    window = MakeWindow();
    ASSERT_NE(window, nullptr);
    std::memcpy(static_cast<uint8_t*>(view.data()) + 56, &window, sizeof window);
  }
  void TearDown() override {
    DestroyWindow(window);
    host::Export<DeleteGridFn>("DeleteGrid")(handle);
  }

  RECT Invalidated() {
    RECT rect{};
    if (!GetUpdateRect(window, &rect, FALSE)) return RECT{-1, -1, -1, -1};
    ValidateRect(window, nullptr);
    return rect;
  }

  host::Record cell{8};
  host::Record view{64};
  HWND window = nullptr;
  int32_t handle = -1;
};

TEST_F(DllEdit, EditsInvalidateTheChangedBand) {
  std::string text;
  for (int row = 0; row < 10; ++row) text += "abc def\n";
  host::Export<SetTextFn>("SetText")(handle, text.c_str(), 0, 0);
  ValidateRect(window, nullptr);
  const int32_t height = cell.Get(4);
  // Row 5 (1-based); the re-scan stops on row 6.
  host::Export<InsertCellFn>("InsertCell")(handle, 'x', 2, 5, view.data());
  RECT band = Invalidated();
  EXPECT_EQ(band.left, 0);
  EXPECT_EQ(band.top, 4 * height);
  EXPECT_EQ(band.right, 800);  // 3000, clipped to the client area
  EXPECT_EQ(band.bottom, 6 * height);
  // A new line re-scans to the end of the text: the band reaches the last row.
  host::Record end(8);
  EXPECT_EQ(host::Export<InsertStringFn>("InsertString")(handle, "\r\n", 1, 2, end.data(), view.data()), end.data());
  EXPECT_EQ(end.Get(0), 1);
  EXPECT_EQ(end.Get(4), 3);
  band = Invalidated();
  EXPECT_EQ(band.top, height);
  EXPECT_EQ(band.bottom, 12 * height);
  // A null view record edits without invalidating.
  host::Export<DeleteSectionFn>("DeleteSection")(handle, 1, 2, 0, 3, nullptr);
  EXPECT_EQ(Invalidated().top, -1);
  char buffer[32];
  EXPECT_EQ(host::Export<TextInRectFn>("TextInRect")(handle, 1, 2, 9, 3, buffer, 31), 18);
  EXPECT_STREQ(buffer, "abc def\r\nabc def\r\n");
  EXPECT_EQ(host::Export<TextInRectFn>("TextInRect")(handle, 1, 2, 9, 3, buffer, 5), 5);
  EXPECT_STREQ(buffer, "abc d");
}

TEST_F(DllEdit, PositionsAndIndicesRoundTrip) {
  host::Export<SetTextFn>("SetText")(handle, "ab\ncd", 0, 0);
  host::Record point(8);
  host::Export<PointForIndexFn>("PointForIndex")(handle, 5, point.data());
  EXPECT_EQ(point.Get(0), 1);
  EXPECT_EQ(point.Get(4), 2);
  EXPECT_EQ(host::Export<IndexForPointFn>("IndexForPoint")(handle, 1, 2), 5);
}

}  // namespace
