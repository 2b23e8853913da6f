// Shared test support: the corpus, file reading, and grids over a shared state
// whose eight styles are all distinct (so every style change shows).
#ifndef WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_
#define WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "text/string_grid.h"

namespace weft::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The corpus's Smalltalk files of at most `maxBytes`, smallest first; empty
// when the corpus is absent.
inline std::vector<std::filesystem::path> CorpusFiles(uintmax_t maxBytes = UINTMAX_MAX) {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path corpus = WEFT_CORPUS_DIR;
  if (!std::filesystem::is_directory(corpus)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() == ".st" && entry.file_size() <= maxBytes) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return std::make_pair(std::filesystem::file_size(a), a) < std::make_pair(std::filesystem::file_size(b), b);
  });
  return files;
}

#define WEFT_REQUIRE_CORPUS(files) \
  if ((files).empty()) GTEST_SKIP() << "corpus not found at " << WEFT_CORPUS_DIR

// The text as the library writes it: CR LF line breaks.
inline std::string WithCrLf(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Configures tab width 4, the stand-in's fixed-pitch font, and eight styles
// with distinct colours; styles 2 (white space) and 5 (text) share their
// background, as an editor's usually do.
inline void ConfigureDistinctStyles(TSettings& settings) {
  TConfiguration configuration{};
  configuration.tabWidth = 4;
  for (int32_t style = 0; style < 8; ++style) {
    configuration.styles[style] = {style % 4, RGB(10 * style, 0, 0), RGB(0, 0, 100 + style), 0, 0};
  }
  configuration.styles[kWhiteSpaceStyle].backColor = configuration.styles[kTextStyle].backColor;
  settings.SetFont("Mono", 10);
  settings.SetConfiguration(configuration);
}

class GridTest : public ::testing::Test {
 protected:
  GridTest() { ConfigureDistinctStyles(shared.settings); }

  std::unique_ptr<TStringGrid> Grid(std::string_view text, bool convertSpaces = false) {
    auto grid = std::make_unique<TStringGrid>(shared);
    grid->SetText(text.data(), static_cast<int32_t>(text.size()), convertSpaces);
    return grid;
  }

  TSharedState shared;
};

}  // namespace weft::testing

#endif  // WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_
