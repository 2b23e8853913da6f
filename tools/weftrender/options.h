// weftrender's command line. One input renders to a named picture; with
// --out-dir any number of inputs render into that folder, each picture
// named after its input and the theme. Positions are 1-based, as in
// weftcore.h.
#ifndef WEFT_TOOLS_WEFTRENDER_OPTIONS_H_
#define WEFT_TOOLS_WEFTRENDER_OPTIONS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace weftrender {

struct TPosition {
  int32_t row = 0;
  int32_t column = 0;
};

struct TOptions {
  std::vector<std::string> inputs;
  std::string output;     // the picture of the only input, without --out-dir
  std::string outputDir;  // with --out-dir
  std::string theme = "light";
  std::string fontFace = "Courier New";
  int32_t pointSize = 10;
  int32_t tabWidth = 4;
  bool convertSpaces = false;
  bool hasSelection = false;
  TPosition selectionStart;
  TPosition selectionEnd;  // inclusive
  int32_t firstRow = 1;
  int32_t rowCount = 0;  // 0: every row that fits
  bool lineNumbers = false;
};

extern const char kUsage[];

// Parses argv[1..argc-1]; false with `error` set on a malformed command line.
bool ParseOptions(int argc, const char* const* argv, TOptions& options, std::string& error);

// Where the picture of `input` goes.
std::string OutputPath(const TOptions& options, const std::string& input);

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_OPTIONS_H_
