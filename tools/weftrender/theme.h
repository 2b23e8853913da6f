// The colour themes weftrender paints with. A theme gives the eight styles
// of the Configuration record (indexed as in weftcore.h), a grid's default
// colours, which the "other text" and white-space styles take, and the
// colours of the line-number gutter. Themes are built in and found by name.
#ifndef WEFT_TOOLS_WEFTRENDER_THEME_H_
#define WEFT_TOOLS_WEFTRENDER_THEME_H_

#include <string>
#include <string_view>

#include "weftcore.h"

namespace weftrender {

enum TStyleIndex {
  kStrings = 0,
  kCharacters = 1,
  kWhiteSpace = 2,
  kNumbers = 3,
  kKeywords = 4,
  kOtherText = 5,
  kComments = 6,
  kSymbols = 7,
};

struct TTheme {
  const char* name;
  WeftColor defaultFore;
  WeftColor defaultBack;
  WeftColor gutterFore;
  WeftColor gutterBack;
  WeftStyle styles[8];
};

// The theme called `name`, or nullptr if there is none.
const TTheme* FindTheme(std::string_view name);

// The names of all themes, separated by ", ", for messages.
std::string ThemeNames();

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_THEME_H_
