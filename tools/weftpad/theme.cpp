#include "theme.h"

namespace theme {

namespace {

enum TFont { kRegular = 0, kBold = 1, kItalic = 2 };

struct TStyleColour {
  TFont font;
  WeftColor foreground;
};

constexpr TStyleColour kStyles[8] = {
    {kRegular, Rgb(163, 21, 21)},  // strings
    {kRegular, Rgb(170, 85, 0)},   // character literals
    {kRegular, kText},             // white space
    {kRegular, Rgb(9, 134, 88)},   // numbers
    {kBold, Rgb(0, 0, 255)},       // keywords
    {kRegular, kText},             // other text
    {kItalic, Rgb(0, 128, 0)},     // comments
    {kRegular, Rgb(128, 0, 128)},  // symbols
};

constexpr const char* kKeywords[] = {"self", "super", "true", "false", "nil", "thisContext"};

}  // namespace

void Apply(const TWeftApi& api) {
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  for (int i = 0; i < 8; ++i) {
    configuration.styles[i].fontIndex = kStyles[i].font;
    configuration.styles[i].foreColor = kStyles[i].foreground;
    configuration.styles[i].backColor = kBackground;
  }
  api.SetConfiguration(&configuration);
  api.SetFont("Courier New", 10);
  for (const char* keyword : kKeywords) api.AddKeyword(keyword);
}

}  // namespace theme
