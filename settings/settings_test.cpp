#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

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
  EXPECT_EQ(settings->cellWidth(), 0);
  EXPECT_EQ(settings->tabWidth(), 1);  // an unset tab width never divides by zero
  const struct {
    int pixelsPerInch, pointSize;
    LONG height;
  } cases[] = {{96, 10, -13}, {120, 10, -16}, {72, 1, -1}};
  for (const auto& c : cases) {
    fake::SetPixelsPerInch(c.pixelsPerInch);
    settings->SetFont("Courier New", c.pointSize);
    EXPECT_EQ(settings->logFont().lfHeight, c.height);
    EXPECT_EQ(settings->logFont().lfWeight, 0);
    EXPECT_EQ(settings->logFont().lfPitchAndFamily, 0x31);
    EXPECT_STREQ(settings->logFont().lfFaceName, "Courier New");
  }
  EXPECT_EQ(fake::OpenDisplayContexts(), 0);
  settings->SetFont("A face name that is far longer than thirty-two characters", 10);
  EXPECT_EQ(std::strlen(settings->logFont().lfFaceName), 31u);
}

TEST_F(SettingsTest, VariantsThatKeepTheHeightGetFontsOfTheirOwn) {
  settings->SetFont("Mono", 10);  // default metrics: regular 8 wide, bold 9 wide
  std::set<HFONT> distinct;
  for (int i = 0; i < 4; ++i) distinct.insert(settings->font(i));
  EXPECT_EQ(distinct.size(), 4u);
  EXPECT_EQ(settings->cellWidth(), 9);
  EXPECT_EQ(settings->lineHeight(), 16);
  EXPECT_EQ(settings->characterExtra(0), 1);
  EXPECT_EQ(settings->characterExtra(1), 0);
  const LOGFONTA& bold = fake::Fonts()[static_cast<size_t>(fake::FontIndex(settings->font(1)))].logFont;
  EXPECT_EQ(bold.lfWeight, 700);
  EXPECT_EQ(bold.lfItalic, 0);
  EXPECT_GT(bold.lfHeight, 0);  // made at a cell height
}

TEST_F(SettingsTest, StyleSetSearchTriesSetsAndHeightsInOrder) {
  // Bold changes the height everywhere; italic keeps it only at cell height 17.
  fake::SetFontMetricsScript([](const LOGFONTA& f) {
    const LONG height = f.lfHeight < 0 ? -f.lfHeight + 3 : f.lfHeight;
    const bool boldChanges = f.lfWeight >= 700;
    const bool italicChanges = f.lfItalic && height != 17;
    return fake::FontMetrics{height + (boldChanges || italicChanges ? 1 : 0), f.lfItalic ? 7 : 8};
  });
  settings->SetFont("Odd", 10);  // regular cell height 16: 17 is the second height tried
  EXPECT_EQ(settings->font(1), settings->font(0));
  EXPECT_EQ(settings->font(3), settings->font(0));
  EXPECT_NE(settings->font(2), settings->font(0));
  EXPECT_EQ(settings->lineHeight(), 17);
  EXPECT_EQ(settings->cellWidth(), 8);
  EXPECT_EQ(settings->characterExtra(2), 1);
}

TEST_F(SettingsTest, FaceWithoutUsableVariantsUsesTheRegularFontEverywhere) {
  fake::SetFontMetricsScript([](const LOGFONTA& f) {
    const LONG height = f.lfHeight < 0 ? -f.lfHeight + 3 : f.lfHeight;
    const bool variant = f.lfWeight >= 700 || f.lfItalic;
    return fake::FontMetrics{height + (variant ? 2 : 0), variant ? 10 : 8};
  });
  settings->SetFont("Odd", 10);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(settings->font(i), settings->font(0));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(settings->characterExtra(i), 0);
  EXPECT_EQ(settings->cellWidth(), 8);
  EXPECT_EQ(settings->lineHeight(), 16);  // the requested size, not a smaller one
}

TEST_F(SettingsTest, SetFontDeletesEachOldFontOnce) {
  fake::SetFontMetricsScript([](const LOGFONTA& f) {
    const LONG height = f.lfHeight < 0 ? -f.lfHeight + 3 : f.lfHeight;
    return fake::FontMetrics{height + (f.lfWeight >= 700 || f.lfItalic ? 2 : 0), 8};
  });
  settings->SetFont("Shared", 10);
  settings->SetFont("Shared", 12);
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
  EXPECT_EQ(settings->defaultAttributes().font, settings->font(1));
  EXPECT_EQ(settings->defaultAttributes().foreColor, RGB(1, 2, 3));
  EXPECT_EQ(settings->defaultAttributes().backColor, RGB(4, 5, 6));
  settings->SetFont("Mono", 12);
  EXPECT_EQ(settings->defaultAttributes().font, settings->font(1));
  EXPECT_EQ(settings->defaultAttributes().backColor, RGB(4, 5, 6));
  EXPECT_EQ(settings->tabStopWidth(), settings->cellWidth() * 4);
}

}  // namespace
}  // namespace weft
