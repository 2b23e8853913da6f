#include "settings/settings.h"

#include <algorithm>
#include <cstring>

namespace weft {

namespace {

constexpr BYTE kFixedPitchModernFamily = 0x31;

// The variants a style set may hold, as font table indices 1 to 3.
constexpr int kBold = 1 << 1;
constexpr int kItalic = 1 << 2;
constexpr int kBoldItalic = 1 << 3;
constexpr int kStyleSetsInOrder[] = {kBold | kItalic | kBoldItalic, kBold | kItalic, kItalic};
constexpr int kHeightOffsetsInOrder[] = {0, 1, -1, 2, -2};

LOGFONTA Variant(const LOGFONTA& base, int tableIndex) {
  LOGFONTA variant = base;
  variant.lfWeight = (tableIndex & 1) ? FW_BOLD : FW_NORMAL;
  variant.lfItalic = (tableIndex & 2) ? 1 : 0;
  return variant;
}

}  // namespace

void TSettings::SetConfiguration(const TConfiguration& configuration) {
  configuration_ = configuration;
  const TStyle& text = style(kTextStyle);
  defaultAttributes_.foreColor = text.foreColor;
  defaultAttributes_.backColor = text.backColor;
  RefreshDefaultFont();
}

void TSettings::RefreshDefaultFont() {
  const int32_t index = style(kTextStyle).fontIndex;
  defaultAttributes_.font = font(index);
  defaultAttributes_.characterExtra = characterExtra(index);
}

void TSettings::DeleteFonts() {
  for (auto font = fonts_.begin(); font != fonts_.end(); ++font) {
    if (*font != nullptr && std::find(fonts_.begin(), font, *font) == font) DeleteObject(*font);
  }
  fonts_.fill(nullptr);
}

TSettings::TMeasured TSettings::Measure(HDC context, const LOGFONTA& logFont) const {
  HFONT font = CreateFontIndirectA(&logFont);
  if (font == nullptr) return {0, 0};
  HGDIOBJ previous = SelectObject(context, font);
  TEXTMETRICA metrics{};
  const bool measured = GetTextMetricsA(context, &metrics) != FALSE;
  SelectObject(context, previous);
  DeleteObject(font);
  return measured ? TMeasured{metrics.tmAveCharWidth, metrics.tmHeight} : TMeasured{0, 0};
}

int TSettings::ChooseStyleSet(HDC context, LOGFONTA& logFont) const {
  const LONG regularHeight = Measure(context, logFont).height;
  for (int styleSet : kStyleSetsInOrder) {
    for (int offset : kHeightOffsetsInOrder) {
      logFont.lfHeight = regularHeight + offset;
      const LONG cellHeight = Measure(context, Variant(logFont, 0)).height;
      bool passes = true;
      for (int index = 1; index <= 3 && passes; ++index) {
        if (styleSet & (1 << index)) passes = Measure(context, Variant(logFont, index)).height == cellHeight;
      }
      if (passes) return styleSet;
    }
  }
  // No variant keeps the regular cell height: only the regular font is made,
  // at the height the face gave for the requested size.
  logFont.lfHeight = regularHeight;
  return 0;
}

void TSettings::SetFont(const char* faceName, int32_t pointSize) {
  HDC context = CreateDCA("Display", nullptr, nullptr, nullptr);
  if (context == nullptr) return;
  DeleteFonts();

  LOGFONTA logFont{};
  const int64_t pixelsPerInch = GetDeviceCaps(context, LOGPIXELSY);
  const int64_t points = std::clamp(pointSize, -kMaxPointSize, kMaxPointSize);
  logFont.lfHeight = static_cast<LONG>(-(pixelsPerInch * points / 72));
  logFont.lfPitchAndFamily = kFixedPitchModernFamily;
  if (faceName != nullptr) {
    // Always leave room for the NUL: a longer name is cut.
    std::strncpy(logFont.lfFaceName, faceName, sizeof logFont.lfFaceName - 1);
  }
  logFont_ = logFont;

  logFont.lfWeight = FW_NORMAL;
  const int styleSet = ChooseStyleSet(context, logFont);

  std::array<LONG, 4> widths{};
  for (int index = 0; index < 4; ++index) {
    if (index > 0 && !(styleSet & (1 << index))) {
      fonts_[static_cast<size_t>(index)] = fonts_[0];
      widths[static_cast<size_t>(index)] = widths[0];
      continue;
    }
    const LOGFONTA variant = Variant(logFont, index);
    const TMeasured measured = Measure(context, variant);
    fonts_[static_cast<size_t>(index)] = CreateFontIndirectA(&variant);
    widths[static_cast<size_t>(index)] = measured.aveCharWidth;
    if (index == 0) lineHeight_ = measured.height;
  }
  cellWidth_ = *std::max_element(widths.begin(), widths.end());
  for (size_t i = 0; i < 4; ++i) characterExtras_[i] = cellWidth_ - widths[i];
  DeleteDC(context);
  RefreshDefaultFont();
}

}  // namespace weft
