// Seed inputs for the fuzz targets, made rather than stored: call scripts
// over the texts the unit tests use and over a few corpus files cut short,
// the edits that once broke the library, and FindPattern inputs with the
// patterns the search tests use. The seed writer program writes them as
// files; the regression test runs them too.
#ifndef WEFT_FUZZ_SEED_SCRIPTS_H_
#define WEFT_FUZZ_SEED_SCRIPTS_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace weft::fuzz {

using TSeed = std::pair<std::string, std::vector<uint8_t>>;  // file name, bytes

// Call scripts; `corpusDir` may name a missing directory (then no corpus seeds).
std::vector<TSeed> CallScriptSeeds(const std::string& corpusDir);
std::vector<TSeed> FindPatternSeeds();

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_SEED_SCRIPTS_H_
