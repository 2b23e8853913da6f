#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <tuple>

#include "platform/fake_win32_control.h"

namespace weft {
namespace {

// The requested character height at the display's pixels per inch. Bold, italic and bold italic get fonts of
// their own, made at the regular cell height, when they keep it at some height the search tries; the others
// share the regular font. The default attributes follow style 5's font, and every old font is deleted once.
TEST(SettingsTest, FontsKeepTheRequestedHeightAndOneCellHeight) {
  fake::Reset();
  auto settings = std::make_unique<TSettings>();
  TConfiguration configuration{};
  configuration.tabWidth = 4;
  configuration.styles[kTextStyle] = {3, RGB(1, 2, 3), RGB(4, 5, 6), 1, 1};
  settings->SetConfiguration(configuration);
  EXPECT_EQ(settings->defaultAttributes().backColor, RGB(4, 5, 6));
  const auto face = [](LONG italicKeepsAt, LONG italicWidth) {
    return [=](const LOGFONTA& f) {
      const LONG height = f.lfHeight < 0 ? -f.lfHeight + 3 : f.lfHeight;
      const bool grows = f.lfWeight >= 700 || (f.lfItalic && height != italicKeepsAt);
      return fake::FontMetrics{height + (grows ? 1 : 0), f.lfItalic ? italicWidth : 8};
    };
  };
  const std::tuple<int, int, LONG, fake::FontMetricsScript, std::array<bool, 4>, int, int, std::array<int, 4>> cases[] = {
      {120, 10, -16, nullptr, {true, true, true, true}, 19, 9, {1, 0, 1, 0}},  // bold is 9 wide
      {96, 10, -13, face(17, 7), {true, false, true, false}, 17, 8, {0, 0, 1, 0}},  // the second height tried
      {72, 1, -1, face(0, 10), {true, false, false, false}, 4, 8, {0, 0, 0, 0}},
  };
  for (const auto& [pixelsPerInch, pointSize, height, script, ownFont, lineHeight, cellWidth, extras] : cases) {
    fake::SetFontMetricsScript(script);
    fake::SetPixelsPerInch(pixelsPerInch);
    settings->SetFont("Face", pointSize);
    settings->SetFont("Face", pointSize);
    EXPECT_EQ(settings->logFont().lfHeight, height);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(settings->font(int32_t(i)) != settings->font(0), ownFont[i]) << i;
    EXPECT_EQ(settings->lineHeight(), lineHeight);
    EXPECT_EQ(settings->cellWidth(), cellWidth);
    EXPECT_EQ(settings->tabStopWidth(), 4 * cellWidth);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(settings->characterExtra(int32_t(i)), extras[i]) << i;
    const LOGFONTA& boldItalic = fake::Fonts()[static_cast<size_t>(fake::FontIndex(settings->font(3)))].logFont;
    EXPECT_EQ(boldItalic.lfWeight, ownFont[3] ? 700 : 400);
    EXPECT_GT(boldItalic.lfHeight, 0);  // made at a cell height
    EXPECT_EQ(settings->defaultAttributes().font, settings->font(3));
  }
  EXPECT_EQ(settings->logFont().lfPitchAndFamily, 0x31);
  settings->SetFont("A face name that is far longer than thirty-two characters", 10);
  EXPECT_EQ(std::strlen(settings->logFont().lfFaceName), 31u);
  EXPECT_EQ(fake::OpenDisplayContexts(), 0);
  settings.reset();
  for (const fake::FontRecord& font : fake::Fonts()) EXPECT_LE(font.deleteCount, 1);
  EXPECT_EQ(fake::LiveFontCount(), 0);
  fake::Reset();
}

}  // namespace
}  // namespace weft
