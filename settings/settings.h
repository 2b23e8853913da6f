// TSettings: the display settings that every grid shares. The host hands in a
// Configuration record (tab width and eight styles) and a face name with a
// point size; from the face come four fonts (regular, bold, italic, bold
// italic) and the cell metrics on which the fixed-pitch grid rests: every
// character is one cell wide in every font (each font's character extra makes
// up the difference) and every row one line height tall.
//
// Values the host may get wrong are made safe here: a tab width is used as
// 1 when below 1 and as kMaxTabWidth when above it, a point size beyond
// kMaxPointSize either way is taken as that size, and a style's font index is
// taken modulo 4. With these bounds no product of widths, cells and columns
// that the library forms can overflow.
#ifndef WEFT_SETTINGS_SETTINGS_H_
#define WEFT_SETTINGS_SETTINGS_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/attribute_delta.h"
#include "platform/platform.h"

namespace weft {

constexpr int32_t kMaxTabWidth = 1000;
constexpr int32_t kMaxPointSize = 1000;

// The host's records, laid out as the host builds them (all 32-bit fields).
struct TStyle {
  int32_t fontIndex;
  COLORREF foreColor;
  COLORREF backColor;
  int32_t useDefaultForeColor;
  int32_t useDefaultBackColor;
};

struct TConfiguration {
  int32_t tabWidth;
  TStyle styles[8];
};
static_assert(sizeof(TStyle) == 20 && sizeof(TConfiguration) == 164);

// How far right painting reaches: blank space is filled, and an edit
// invalidates its band, up to this device x; below the text, blank space is
// filled up to the x of this column.
constexpr int32_t kFillEdge = 3000;

enum TStyleNumber : int32_t {
  kStringStyle = 0,
  kCharacterStyle = 1,
  kWhiteSpaceStyle = 2,
  kNumberStyle = 3,
  kKeywordStyle = 4,
  kTextStyle = 5,
  kCommentStyle = 6,
  kSymbolStyle = 7,
};

class TSettings {
 public:
  TSettings() = default;
  TSettings(const TSettings&) = delete;
  TSettings& operator=(const TSettings&) = delete;
  ~TSettings() { DeleteFonts(); }

  // Copies the 164-byte record and refreshes what depends on it.
  void SetConfiguration(const TConfiguration& configuration);
  // Replaces the four fonts and every metric.
  void SetFont(const char* faceName, int32_t pointSize);
  // Deletes the fonts, each distinct handle once.
  void DeleteFonts();

  const TConfiguration& configuration() const { return configuration_; }
  const TStyle& style(int32_t number) const { return configuration_.styles[number & 7]; }
  // The configured tab width, from 1 to kMaxTabWidth.
  int32_t tabWidth() const { return std::clamp(configuration_.tabWidth, 1, kMaxTabWidth); }
  HFONT font(int32_t index) const { return fonts_[static_cast<size_t>(index & 3)]; }
  int32_t characterExtra(int32_t index) const { return characterExtras_[static_cast<size_t>(index & 3)]; }
  int32_t cellWidth() const { return cellWidth_; }
  int32_t lineHeight() const { return lineHeight_; }
  // Saturates rather than overflowing, whatever cell width the font gave.
  int32_t tabStopWidth() const {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{cellWidth_} * tabWidth(), INT32_MIN, INT32_MAX));
  }
  const LOGFONTA& logFont() const { return logFont_; }
  // Painted where no attribute change applies: style 5's font and colours.
  const TTextAttributeDelta& defaultAttributes() const { return defaultAttributes_; }

 private:
  struct TMeasured {
    LONG aveCharWidth;
    LONG height;
  };
  TMeasured Measure(HDC context, const LOGFONTA& logFont) const;
  // Picks the variants whose cell height matches the regular font's, and the
  // height at which they do; leaves that height in logFont.lfHeight.
  int ChooseStyleSet(HDC context, LOGFONTA& logFont) const;
  void RefreshDefaultFont();

  TConfiguration configuration_{};
  std::array<HFONT, 4> fonts_{};
  std::array<int32_t, 4> characterExtras_{};
  int32_t cellWidth_ = 0;
  int32_t lineHeight_ = 0;
  LOGFONTA logFont_{};
  TTextAttributeDelta defaultAttributes_;
};

}  // namespace weft

#endif  // WEFT_SETTINGS_SETTINGS_H_
