#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "platform/fake_win32_control.h"

namespace weft {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  void TearDown() override {
    settings.reset();
    fake::Reset();
  }
  std::unique_ptr<TSettings> settings = std::make_unique<TSettings>();
};

TEST_F(SettingsTest, LogFontKeepsTheRequestedCharacterHeight) {
  const struct {
    int pixelsPerInch, pointSize;
    LONG height;
  } cases[] = {{96, 10, -13}, {120, 10, -16}, {72, 1, -1}};
  for (const auto& c : cases) {
    fake::SetPixelsPerInch(c.pixelsPerInch);
    settings->SetFont("Courier New", c.pointSize);
    EXPECT_EQ(settings->logFont().lfHeight, c.height);
  }
  EXPECT_EQ(settings->logFont().lfPitchAndFamily, 0x31);
  settings->SetFont("A face name that is far longer than thirty-two characters", 10);
  EXPECT_EQ(std::strlen(settings->logFont().lfFaceName), 31u);
  EXPECT_EQ(fake::OpenDisplayContexts(), 0);
}

// Bold, italic and bold italic get fonts of their own, made at the regular
// cell height, when they keep it at some height the search tries; the others
// share the regular font. Every old font is deleted once.
TEST_F(SettingsTest, VariantsThatKeepTheCellHeightGetFontsOfTheirOwn) {
  const auto face = [](LONG italicKeepsAt, LONG italicWidth) {
    return [=](const LOGFONTA& f) {
      const LONG height = f.lfHeight < 0 ? -f.lfHeight + 3 : f.lfHeight;
      const bool grows = f.lfWeight >= 700 || (f.lfItalic && height != italicKeepsAt);
      return fake::FontMetrics{height + (grows ? 1 : 0), f.lfItalic ? italicWidth : 8};
    };
  };
  const struct {
    fake::FontMetricsScript script;
    std::array<bool, 4> ownFont;
    int32_t lineHeight, cellWidth;
    std::array<int32_t, 4> extras;
  } cases[] = {
      {nullptr, {true, true, true, true}, 16, 9, {1, 0, 1, 0}},       // bold is 9 wide
      {face(17, 7), {true, false, true, false}, 17, 8, {0, 0, 1, 0}},  // the second height tried
      {face(0, 10), {true, false, false, false}, 16, 8, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    fake::SetFontMetricsScript(c.script);
    settings->SetFont("Face", 10);
    settings->SetFont("Face", 10);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(settings->font(int32_t(i)) != settings->font(0), c.ownFont[i]) << i;
    EXPECT_EQ(settings->lineHeight(), c.lineHeight);
    EXPECT_EQ(settings->cellWidth(), c.cellWidth);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(settings->characterExtra(int32_t(i)), c.extras[i]) << i;
    const LOGFONTA& boldItalic = fake::Fonts()[static_cast<size_t>(fake::FontIndex(settings->font(3)))].logFont;
    EXPECT_EQ(boldItalic.lfWeight, c.ownFont[3] ? 700 : 400);
    EXPECT_GT(boldItalic.lfHeight, 0);  // made at a cell height
  }
  settings.reset();
  for (const fake::FontRecord& font : fake::Fonts()) EXPECT_LE(font.deleteCount, 1);
  EXPECT_EQ(fake::LiveFontCount(), 0);
}

TEST_F(SettingsTest, DefaultAttributesFollowStyleFive) {
  settings->SetFont("Mono", 10);
  TConfiguration configuration{};
  configuration.tabWidth = 4;
  configuration.styles[kTextStyle] = {1, RGB(1, 2, 3), RGB(4, 5, 6), 1, 1};
  settings->SetConfiguration(configuration);
  EXPECT_EQ(settings->tabStopWidth(), 36);
  settings->SetFont("Mono", 12);
  EXPECT_EQ(settings->defaultAttributes().font, settings->font(1));
  EXPECT_EQ(settings->defaultAttributes().foreColor, RGB(1, 2, 3));
  EXPECT_EQ(settings->defaultAttributes().backColor, RGB(4, 5, 6));
}

}  // namespace
}  // namespace weft
