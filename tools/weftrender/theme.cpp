#include "tools/weftrender/theme.h"

namespace weftrender {
namespace {

constexpr WeftColor Rgb(int red, int green, int blue) {
  return static_cast<WeftColor>(red | green << 8 | blue << 16);
}

constexpr int kRegular = 0;
constexpr int kBold = 1;
constexpr int kItalic = 2;

// A style in its own foreground colour on the grid's default background.
constexpr WeftStyle Colored(int fontIndex, WeftColor fore) { return {fontIndex, fore, 0, 0, 1}; }

// A style wholly in the grid's default colours.
constexpr WeftStyle Plain() { return {kRegular, 0, 0, 1, 1}; }

// The order of styles follows TStyleIndex.
constexpr TTheme kThemes[] = {
    {"light", Rgb(0x1F, 0x1F, 0x1F), Rgb(0xFF, 0xFF, 0xFF), Rgb(0x80, 0x80, 0x80), Rgb(0xEE, 0xEE, 0xEE),
     {Colored(kRegular, Rgb(0xA3, 0x15, 0x15)), Colored(kRegular, Rgb(0xB0, 0x5A, 0x00)), Plain(),
      Colored(kRegular, Rgb(0x09, 0x86, 0x58)), Colored(kBold, Rgb(0x00, 0x00, 0xE0)), Plain(),
      Colored(kItalic, Rgb(0x00, 0x80, 0x00)), Colored(kRegular, Rgb(0x8B, 0x00, 0x8B))}},
    {"dark", Rgb(0xD4, 0xD4, 0xD4), Rgb(0x1E, 0x1E, 0x1E), Rgb(0x85, 0x85, 0x85), Rgb(0x2A, 0x2A, 0x2A),
     {Colored(kRegular, Rgb(0xCE, 0x91, 0x78)), Colored(kRegular, Rgb(0xE5, 0xC0, 0x7B)), Plain(),
      Colored(kRegular, Rgb(0xB5, 0xCE, 0xA8)), Colored(kBold, Rgb(0x56, 0x9C, 0xD6)), Plain(),
      Colored(kItalic, Rgb(0x6A, 0x99, 0x55)), Colored(kRegular, Rgb(0xC5, 0x86, 0xC0))}},
};

}  // namespace

const TTheme* FindTheme(std::string_view name) {
  for (const TTheme& theme : kThemes) {
    if (name == theme.name) return &theme;
  }
  return nullptr;
}

std::string ThemeNames() {
  std::string names;
  for (const TTheme& theme : kThemes) {
    if (!names.empty()) names += ", ";
    names += theme.name;
  }
  return names;
}

}  // namespace weftrender
