// Painting with a real font into a 32-bit DIB section: the backgrounds of runs, the selection's highlight, the fills
// right of row ends and below the text land in the right cells, and the device context gets its character extra and
// font back.
#include <gtest/gtest.h>

#include <windows.h>

#include "dll_host.h"

namespace {

constexpr COLORREF kTextBack = RGB(255, 255, 255);
constexpr COLORREF kSpaceBack = RGB(200, 220, 240);
constexpr COLORREF kCommentBack = RGB(250, 250, 0);
constexpr COLORREF kHighlight = RGB(0x30, 0x96, 0xFA);  // Wine's COLOR_HIGHLIGHT
constexpr COLORREF kUnpainted = RGB(0x12, 0x34, 0x56);

class DllDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Record configuration = host::Configuration(4);
    for (int style = 0; style < 8; ++style) configuration.Set(4 + 20 * style + 8, static_cast<int32_t>(kTextBack));
    configuration.Set(4 + 20 * 2 + 8, static_cast<int32_t>(kSpaceBack));
    configuration.Set(4 + 20 * 6 + 8, static_cast<int32_t>(kCommentBack));
    host::Call("SetConfiguration", configuration.data());
    host::Call<void>("SetFont", "Courier New", 10);
    host::Call<void>("CellSize", cell.data());
    handle = host::Call("CreateGrid");
    std::fill(target.pixels, target.pixels + kWidth * kHeight, 0x00123456u);
  }
  void TearDown() override { host::Call<void>("DeleteGrid", handle); }

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
  host::Record cell{8};
  host::PaintTarget target{kWidth, kHeight};
  int32_t handle = -1;
};

// The device context comes with a font and a character extra of the host's,
// which painting must neither use nor keep.
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
  EXPECT_EQ(At(3, 4 * height() + 2), kUnpainted);
}

}  // namespace
