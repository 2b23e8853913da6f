// TTextAttributeDelta: one attribute change. From its column of the row whose
// list holds it up to the next change in text order, text is painted in its
// font, character extra and colours. The row is the list's, so a list moves
// to another row without rewriting its changes. The font is borrowed from the
// library's font table.
#ifndef WEFT_SETTINGS_ATTRIBUTE_DELTA_H_
#define WEFT_SETTINGS_ATTRIBUTE_DELTA_H_

#include <cstdint>

#include "platform/platform.h"

namespace weft {

struct TTextAttributeDelta {
  HFONT font = nullptr;
  int32_t characterExtra = 0;
  int32_t column = 0;
  COLORREF foreColor = 0;
  COLORREF backColor = 0;

  // Changes compare by what painting shows: font and colours only.
  friend bool operator==(const TTextAttributeDelta& a, const TTextAttributeDelta& b) {
    return a.font == b.font && a.foreColor == b.foreColor && a.backColor == b.backColor;
  }
};

}  // namespace weft

#endif  // WEFT_SETTINGS_ATTRIBUTE_DELTA_H_
