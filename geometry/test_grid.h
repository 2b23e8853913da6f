// Test support for the geometry: grids over one shared state (tab width 4,
// the stand-in's fixed-pitch font), generated texts and the corpus.
#ifndef WEFT_GEOMETRY_TEST_GRID_H_
#define WEFT_GEOMETRY_TEST_GRID_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/test_support.h"
#include "text/string_grid.h"

namespace weft {

class GeometryTest : public ::testing::Test {
 protected:
  GeometryTest() {
    TConfiguration configuration{};
    configuration.tabWidth = 4;
    shared.settings.SetConfiguration(configuration);
    shared.settings.SetFont("Mono", 10);
  }

  std::unique_ptr<TStringGrid> Grid(std::string_view text, bool convertSpaces = false) {
    auto grid = std::make_unique<TStringGrid>(shared);
    grid->SetText(text.data(), static_cast<int32_t>(text.size()), convertSpaces);
    return grid;
  }

  int32_t cellWidth() const { return shared.settings.cellWidth(); }
  int32_t lineHeight() const { return shared.settings.lineHeight(); }

  TSharedState shared;
};

// Rows of letters, spaces and tabs (so tabs start on and between stops),
// with empty rows among them.
inline std::string GeneratedTabbedText(std::mt19937& random, int rows) {
  static constexpr char kAlphabet[] = {'a', 'b', ' ', '\t', '\t', 'x', '\'', '\xe9'};
  std::string text;
  for (int row = 0; row < rows; ++row) {
    if (row > 0) text += '\n';
    const size_t length = random() % 3 == 0 ? 0 : random() % 24;
    for (size_t i = 0; i < length; ++i) text += kAlphabet[random() % sizeof kAlphabet];
  }
  return text;
}

using testing::ReadFile;

// The corpus's files of up to 64 KB, smallest first: the larger ones only
// repeat what these cover, at many times the cost.
inline std::vector<std::filesystem::path> CorpusFiles() { return testing::CorpusFiles(65536); }

// Every index of a small file, about 500 spread over a larger one: the
// walks over the rows make checking every index of a large file quadratic.
inline int32_t SamplingStride(const std::filesystem::path& path) {
  return static_cast<int32_t>(1 + std::filesystem::file_size(path) / 500);
}

}  // namespace weft

#endif  // WEFT_GEOMETRY_TEST_GRID_H_
