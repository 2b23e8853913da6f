// Runs the fuzz targets' harnesses, with every check they make, over every kept regression input
// (fuzz/regressions/exports, fuzz/regressions/find_pattern) and every seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/call_script.h"
#include "fuzz/find_pattern_harness.h"
#include "fuzz/grid_invariants.h"
#include "fuzz/linked_exports.h"
#include "fuzz/seed_scripts.h"

namespace weft::fuzz {
namespace {

std::vector<TSeed> RegressionsAnd(const std::string& target, std::vector<TSeed> seeds) {
  std::vector<TSeed> inputs;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(WEFT_FUZZ_REGRESSIONS_DIR) + "/" + target, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(entry.path().filename().string(),
                        std::vector<uint8_t>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  }
  std::sort(inputs.begin(), inputs.end());
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  return inputs;
}

TEST(FuzzRegressions, CallScriptsKeepEveryPromise) {
  for (const auto& [name, bytes] : RegressionsAnd("exports", CallScriptSeeds(WEFT_CORPUS_DIR))) {
    TInvariantObserver observer([&, name = name](const std::string& what) { ADD_FAILURE() << name << ": " << what; });
    TScriptOptions options;
    ReloadLinkedLibrary(options);
    RunCallScript(bytes.data(), bytes.size(), LinkedExports(), options, observer);
  }
}

TEST(FuzzRegressions, FindPatternInputsKeepEveryPromise) {
  for (const auto& [name, bytes] : RegressionsAnd("find_pattern", FindPatternSeeds())) {
    RunFindPatternInput(bytes.data(), bytes.size(),
                        [&, name = name](const std::string& what) { ADD_FAILURE() << name << ": " << what; });
  }
}

}  // namespace
}  // namespace weft::fuzz
