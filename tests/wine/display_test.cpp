// Painting with a real font into a 32-bit DIB section: the backgrounds of
// runs, the selection's highlight, the fills right of row ends and below the
// text land in the right cells, and the device context gets its character
// extra and font back.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

constexpr COLORREF kTextBack = RGB(255, 255, 255);
constexpr COLORREF kSpaceBack = RGB(200, 220, 240);
constexpr COLORREF kCommentBack = RGB(250, 250, 0);
constexpr COLORREF kHighlight = RGB(0x30, 0x96, 0xFA);  // Wine's COLOR_HIGHLIGHT

class DllDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Record configuration = host::Configuration(4);
    for (int style = 0; style < 8; ++style) configuration.Set(4 + 20 * style + 8, static_cast<int32_t>(kTextBack));
    configuration.Set(4 + 20 * 2 + 8, static_cast<int32_t>(kSpaceBack));
    configuration.Set(4 + 20 * 6 + 8, static_cast<int32_t>(kCommentBack));
    host::Export<SetConfigurationFn>("SetConfiguration")(configuration.data());
    host::Export<SetFontFn>("SetFont")("Courier New", 10);
    host::Export<OutRecordFn>("CellSize")(cell.data());
    handle = host::Export<CreateGridFn>("CreateGrid")();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(dc, bitmap);
    std::fill(pixels, pixels + kWidth * kHeight, 0x00123456u);
  }

  void TearDown() override {
    DeleteDC(dc);
    DeleteObject(bitmap);
    host::Export<DeleteGridFn>("DeleteGrid")(handle);
  }

  // Paints from (fromColumn, fromRow) to (toColumn, toRow), 1-based, with
  // the selection given the same way (0, 0 for none).
  void Paint(int32_t fromColumn, int32_t fromRow, int32_t toColumn, int32_t toRow, int32_t selectionStart = 0,
             int32_t selectionEnd = 0) {
    host::Record record(48);
    std::memcpy(record.data(), &dc, sizeof dc);
    record.Set(4, fromColumn);
    record.Set(8, fromRow);
    record.Set(12, toColumn);
    record.Set(16, toRow);
    record.Set(20, selectionStart);
    record.Set(24, selectionStart ? 1 : 0);
    record.Set(28, selectionEnd);
    record.Set(32, selectionEnd ? 1 : 0);
    host::Export<DisplayFn>("Display")(handle, record.data());
    GdiFlush();
  }

  // The colour at pixel (x, y) as a COLORREF.
  COLORREF At(int x, int y) const {
    const uint32_t pixel = pixels[y * kWidth + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }

  // The bottom-left pixel of a cell (0-based column and row): below the
  // glyphs of the characters used here, so it shows the cell's background.
  COLORREF CellBackground(int column, int row) const { return At(column * width(), (row + 1) * height() - 1); }

  int width() const { return cell.Get(0); }
  int height() const { return cell.Get(4); }

  static constexpr int kWidth = 320;
  static constexpr int kHeight = 160;
  host::Record cell{8};
  int32_t handle = -1;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
};

TEST_F(DllDisplay, RunsFillsAndSelectionLandInTheirCells) {
  host::Export<SetTextFn>("SetText")(handle, "ab \"c\"\nx", 0, 0);
  Paint(1, 1, 2, 4, 2, 2);  // to row 4, past the text; the b selected
  EXPECT_EQ(CellBackground(0, 0), kTextBack);
  EXPECT_EQ(CellBackground(1, 0), kHighlight);
  EXPECT_EQ(CellBackground(2, 0), kSpaceBack);
  EXPECT_EQ(CellBackground(3, 0), kCommentBack);
  EXPECT_EQ(CellBackground(5, 0), kCommentBack);
  // Right of the first row's end, and the line break: the blank background.
  EXPECT_EQ(At(7 * width() + 3, 2), kSpaceBack);
  EXPECT_EQ(At(kWidth - 1, height() - 1), kSpaceBack);
  // The last row, its end, and every row down to row 4.
  EXPECT_EQ(CellBackground(0, 1), kTextBack);
  EXPECT_EQ(At(2 * width() + 2, height() + 2), kSpaceBack);
  EXPECT_EQ(At(3, 3 * height() + 3), kSpaceBack);
  EXPECT_EQ(At(kWidth - 1, 4 * height() - 1), kSpaceBack);
  // Below row 4 nothing was painted.
  EXPECT_EQ(At(3, 4 * height() + 2), RGB(0x12, 0x34, 0x56));
}

TEST_F(DllDisplay, RestoresTheCharacterExtraAndFont) {
  host::Export<SetTextFn>("SetText")(handle, "abc", 0, 0);
  LOGFONTA request{};
  request.lfHeight = -20;
  HFONT hostFont = CreateFontIndirectA(&request);
  SelectObject(dc, hostFont);
  SetTextCharacterExtra(dc, 3);
  Paint(1, 1, 4, 1);
  EXPECT_EQ(GetTextCharacterExtra(dc), 3);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), hostFont);
  EXPECT_EQ(CellBackground(2, 0), kTextBack);
  DeleteObject(hostFont);
}

}  // namespace
