#include "tools/weftrender/options.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace weftrender {

const char kUsage[] =
    "usage: weftrender [options] INPUT OUTPUT.png\n"
    "       weftrender [options] --out-dir DIR INPUT...\n"
    "Paints Smalltalk source through weftcore.dll into a PNG picture.\n"
    "  --theme NAME        colour theme: light (default) or dark\n"
    "  --font FACE         font face (default Courier New)\n"
    "  --size POINTS       font size in points (default 10)\n"
    "  --tab-width N       columns per tab stop (default 4)\n"
    "  --convert-spaces    store runs of leading spaces as tabs\n"
    "  --select R:C R:C    paint the selection from row R column C to the second\n"
    "                      position, inclusive\n"
    "  --first-row N       the first row shown (default 1)\n"
    "  --rows N            how many rows are shown (default: all that fit)\n"
    "  --line-numbers      number the rows in a gutter\n"
    "  --out-dir DIR       write DIR/<input name>-<theme>.png for every INPUT,\n"
    "                      making DIR if needed\n";

namespace {

bool ParseNumber(std::string_view text, int32_t minimum, int32_t maximum, int32_t& value) {
  if (text.empty() || text.size() > 9) return false;
  int32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < minimum || number > maximum) return false;
  value = number;
  return true;
}

bool ParsePosition(std::string_view text, TPosition& position) {
  const size_t colon = text.find(':');
  return colon != std::string_view::npos && ParseNumber(text.substr(0, colon), 1, 1 << 30, position.row) &&
         ParseNumber(text.substr(colon + 1), 1, 1 << 30, position.column);
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, TOptions& options, std::string& error) {
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.size() < 2 || arg.substr(0, 2) != "--") {
      operands.emplace_back(arg);
      continue;
    }
    if (arg == "--convert-spaces") {
      options.convertSpaces = true;
      continue;
    }
    if (arg == "--line-numbers") {
      options.lineNumbers = true;
      continue;
    }
    const int values = arg == "--select" ? 2 : 1;
    if (i + values >= argc) {
      error = std::string(arg) + " needs a value";
      return false;
    }
    const std::string_view value = argv[i + 1];
    bool good = true;
    if (arg == "--theme") {
      options.theme = value;
    } else if (arg == "--font") {
      options.fontFace = value;
      good = !value.empty() && value.size() < 32;
    } else if (arg == "--size") {
      good = ParseNumber(value, 4, 72, options.pointSize);
    } else if (arg == "--tab-width") {
      good = ParseNumber(value, 1, 32, options.tabWidth);
    } else if (arg == "--select") {
      options.hasSelection = true;
      good = ParsePosition(value, options.selectionStart) && ParsePosition(argv[i + 2], options.selectionEnd);
    } else if (arg == "--first-row") {
      good = ParseNumber(value, 1, 1 << 30, options.firstRow);
    } else if (arg == "--rows") {
      good = ParseNumber(value, 1, 1 << 30, options.rowCount);
    } else if (arg == "--out-dir") {
      options.outputDir = value;
      good = !value.empty();
    } else {
      error = "unknown option " + std::string(arg);
      return false;
    }
    if (!good) {
      error = "bad value for " + std::string(arg) + ": " + std::string(value) +
              (values == 2 ? " " + std::string(argv[i + 2]) : "");
      return false;
    }
    i += values;
  }
  if (options.outputDir.empty()) {
    if (operands.size() != 2) {
      error = "give one INPUT and one OUTPUT.png, or --out-dir DIR and the inputs";
      return false;
    }
    options.output = operands.back();
    operands.pop_back();
  } else if (operands.empty()) {
    error = "no input files";
    return false;
  }
  options.inputs = std::move(operands);
  return true;
}

std::string OutputPath(const TOptions& options, const std::string& input) {
  if (options.outputDir.empty()) return options.output;
  std::string name = input.substr(input.find_last_of("/\\") + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return options.outputDir + "/" + name + "-" + options.theme + ".png";
}

}  // namespace weftrender
