// Shared test support: the corpus and generated texts. Tests of the grid and
// the layers above it find their fixture in grid_test_support.h.
#ifndef WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_
#define WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace weft::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ostringstream out;
  out << std::ifstream(path, std::ios::binary).rdbuf();
  return out.str();
}

// The corpus's Smalltalk files of at most `maxBytes` (by default the ones up to 64 KB: the larger ones only repeat
// what these cover, at many times the cost), smallest first; empty when the corpus is absent.
inline std::vector<std::filesystem::path> CorpusFiles(uintmax_t maxBytes = 65536) {
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

// The text as the library writes it: CR LF line breaks.
inline std::string WithCrLf(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Up to `maxLength` characters drawn from `alphabet`.
inline std::string RandomText(std::mt19937& random, std::string_view alphabet, size_t maxLength) {
  std::string text;
  for (size_t n = random() % (maxLength + 1); n > 0; --n) text += alphabet[random() % alphabet.size()];
  return text;
}

// Rows of letters, spaces and tabs (so tabs start on and between stops), with empty rows among them.
inline std::string GeneratedTabbedText(std::mt19937& random, int rows) {
  std::string text;
  for (int row = 0; row < rows; ++row) {
    if (row > 0) text += '\n';
    if (random() % 3 != 0) text += RandomText(random, "ab \t\tx'\xe9", 23);
  }
  return text;
}

}  // namespace weft::testing

#endif  // WEFT_TESTS_SUPPORT_TEST_SUPPORT_H_
