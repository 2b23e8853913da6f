// weftpad's fixed light colour theme, and the library-wide settings that go
// with it: tab width, font and the pseudo-variables shown as keywords.
#ifndef WEFT_TOOLS_WEFTPAD_THEME_H_
#define WEFT_TOOLS_WEFTPAD_THEME_H_

#include "weft_api.h"

namespace theme {

constexpr WeftColor Rgb(int red, int green, int blue) {
  return static_cast<WeftColor>(red | (green << 8) | (blue << 16));
}

constexpr WeftColor kBackground = Rgb(255, 255, 255);
constexpr WeftColor kText = Rgb(0, 0, 0);

// Sets the configuration, the font and the keywords. Call once, before the
// first grid is created.
void Apply(const TWeftApi& api);

}  // namespace theme

#endif  // WEFT_TOOLS_WEFTPAD_THEME_H_
