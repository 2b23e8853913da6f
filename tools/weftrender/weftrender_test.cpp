// weftrender run in this process against weftcore.dll under Wine: its answers to faulty inputs and options, and the
// colours of a rendered example read back from the PNG file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
#include "tools/weftrender/theme.h"
#include "tools/weftrender/weftrender.h"
#include "weftcore.h"

namespace weftrender {
namespace {

std::string TempPath(const std::string& name) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + "weftrender_tests";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

// Runs weftrender's code with `args`: its exit status and all it printed.
std::pair<int, std::string> RunCommand(std::vector<std::string> args) {
  args.insert(args.begin(), "weftrender");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::FILE* printed = std::fopen(TempPath("printed.txt").c_str(), "w+");
  const int status = RunWeftrender(static_cast<int>(argv.size()), argv.data(), printed, printed);
  std::string text;
  std::rewind(printed);
  for (int c; (c = std::fgetc(printed)) != EOF;) text += static_cast<char>(c);
  std::fclose(printed);
  return {status, text};
}

// A PNG file's pixels; none where it cannot be read.
struct TImage {
  explicit TImage(const std::string& path)
      : rgb(stbi_load(path.c_str(), &width, &height, &channels, 3), stbi_image_free) {}
  COLORREF At(int x, int y) const {
    const unsigned char* p = rgb.get() + 3 * (static_cast<size_t>(y) * width + x);
    return RGB(p[0], p[1], p[2]);
  }
  int width = 0, height = 0, channels = 0;
  std::unique_ptr<unsigned char, decltype(&stbi_image_free)> rgb;
};

// The Euclidean distance of two colours in RGB space, rounded down.
int Distance(COLORREF a, COLORREF b) {
  const int red = GetRValue(a) - GetRValue(b), green = GetGValue(a) - GetGValue(b), blue = GetBValue(a) - GetBValue(b);
  return static_cast<int>(std::sqrt(red * red + green * green + blue * blue));
}

TEST(Weftrender, AnswersFaultyInputs) {
  const std::string missing = TempPath("missing.st"), small = TempPath("small.st"), picture = TempPath("fault.png");
  DeleteFileA(missing.c_str());
  std::ofstream(TempPath("empty.st"), std::ios::binary);
  std::ofstream(TempPath("binary.st"), std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0", 16);
  std::ofstream(TempPath("long.st"), std::ios::binary) << "x := '" << std::string(1 << 20, 'a') << "'";
  std::ofstream(small, std::ios::binary) << "^self";
  CreateDirectoryA(TempPath("folder.st").c_str(), nullptr);
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;  // in the standard output or error
  } cases[] = {
      {{missing, picture}, 1, "missing.st: no such file"},
      {{TempPath("empty.st"), picture}, 1, "empty.st: the file is empty"},
      {{TempPath("binary.st"), picture}, 1, "binary.st: a binary file"},
      {{TempPath("folder.st"), picture}, 1, "folder.st: cannot "},
      {{TempPath("long.st"), picture}, 0, "rows cut after column"},
      {{"--convert-spaces", "--tab-width", "8", "--rows", "20", "--line-numbers", small, picture}, 0, "fault.png ("},
      {{"--theme", "sepia", small, picture}, 2, "unknown theme \"sepia\" (themes: light, dark)"},
      {{"--font", "No Such Face", small, picture}, 2, "unknown font \"No Such Face\""},
      {{"--first-row", "3", small, picture}, 1, "--first-row 3 lies past the text's 1 rows"},
      {{"--size", "0", small, picture}, 2, "bad value for --size: 0"},
      {{small}, 2, "give one INPUT and one OUTPUT.png"},
  };
  for (const auto& c : cases) {
    DeleteFileA(picture.c_str());
    const auto [status, printed] = RunCommand(c.args);
    SCOPED_TRACE(std::string(c.message) + " answered: " + printed);
    EXPECT_EQ(status, c.status);
    EXPECT_NE(printed.find(c.message), std::string::npos);
    const TImage image(picture);
    EXPECT_EQ(image.rgb != nullptr, c.status == 0);
    EXPECT_LE(image.width, 3000);
  }
}

// Literals.st rendered in each theme with row 12's "values add" selected: each token's cells show the theme's
// background at their top-left pixels and, at the pixel farthest from it, the colour of the token's style (white
// space shows only background); the selected cells show the highlight colours.
TEST(Weftrender, PaintsEachStyleInItsCells) {
  const struct {
    int row;
    const char* text;
    TStyleIndex style;
  } tokens[] = {
      {1, "\"Literals of every kind\"", kComments}, {3, "    ", kWhiteSpace}, {4, "OrderedCollection", kOtherText},
      {5, "'a string with ''quotes'' inside'", kStrings}, {6, "$a", kCharacters}, {7, "3.14159", kNumbers},
      {8, "16r1F", kNumbers}, {9, "#with:with:", kSymbols}, {13, "false", kKeywords}, {14, "thisContext", kKeywords},
  };
  const std::string source = std::string(WEFT_EXAMPLES_DIR) + "/Literals.st";
  std::vector<std::string> lines;
  std::ifstream in(source);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 14u);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  for (const char* themeName : {"light", "dark"}) {
    SCOPED_TRACE(themeName);
    const TTheme& theme = *FindTheme(themeName);
    const std::string picture = TempPath(std::string("literals-") + themeName + ".png");
    const auto [status, printed] = RunCommand({"--theme", themeName, "--select", "12:5", "12:14", source, picture});
    ASSERT_EQ(status, 0) << printed;
    const TImage image(picture);
    ASSERT_NE(image.rgb, nullptr);
    WeftPoint cell{};
    CellSize(&cell);  // as the run left the library
    const int width = cell.x, height = cell.y;
    // The file's last line break leaves one empty row after its lines.
    ASSERT_EQ(image.height, height * static_cast<int>(lines.size() + 1));
    // The pixel farthest from `back` in the cells from column `first`, `count` wide.
    auto farthest = [&](int row, int first, int count, COLORREF back) {
      COLORREF best = back;
      for (int y = (row - 1) * height; y < row * height; ++y) {
        for (int x = (first - 1) * width; x < (first - 1 + count) * width; ++x) {
          if (Distance(image.At(x, y), back) > Distance(best, back)) best = image.At(x, y);
        }
      }
      return best;
    };
    auto foreOf = [&](int style) {
      return theme.styles[style].useDefaultForeColor ? theme.defaultFore : theme.styles[style].foreColor;
    };
    for (const auto& token : tokens) {
      SCOPED_TRACE(token.text);
      const size_t at = lines[static_cast<size_t>(token.row - 1)].find(token.text);
      ASSERT_NE(at, std::string::npos);
      const int column = static_cast<int>(at) + 1, count = static_cast<int>(std::strlen(token.text));
      for (int c = column; c < column + count; ++c) {
        EXPECT_EQ(image.At((c - 1) * width, (token.row - 1) * height), theme.defaultBack) << "column " << c;
      }
      const COLORREF seen = farthest(token.row, column, count, theme.defaultBack);
      if (token.style == kWhiteSpace) {
        EXPECT_EQ(seen, theme.defaultBack);
        continue;
      }
      int nearest = kOtherText;
      for (int style = 0; style < 8; ++style) {
        if (Distance(seen, foreOf(style)) < Distance(seen, foreOf(nearest))) nearest = style;
      }
      EXPECT_EQ(foreOf(nearest), foreOf(token.style)) << "seen " << std::hex << seen;
      EXPECT_LT(Distance(seen, foreOf(token.style)), 60) << "seen " << std::hex << seen;
    }
    for (int c = 5; c <= 14; ++c) EXPECT_EQ(image.At((c - 1) * width, 11 * height), highlight) << "column " << c;
    EXPECT_LT(Distance(farthest(12, 5, 10, highlight), highlightText), 60);
    EXPECT_EQ(image.At(3 * width, 11 * height), theme.defaultBack);
    EXPECT_EQ(image.At(14 * width, 11 * height), theme.defaultBack);
  }
}

}  // namespace
}  // namespace weftrender
