// Writes the seed inputs of the fuzz targets (seed_scripts.h):
//   weft_fuzz_seeds OUT_DIR CORPUS_DIR
// makes OUT_DIR/exports and OUT_DIR/find_pattern.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/seed_scripts.h"

namespace {

bool WriteAll(const std::filesystem::path& directory, const std::vector<weft::fuzz::TSeed>& seeds) {
  std::filesystem::create_directories(directory);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(directory / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUT_DIR CORPUS_DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const bool written = WriteAll(out / "exports", weft::fuzz::CallScriptSeeds(argv[2])) &&
                       WriteAll(out / "find_pattern", weft::fuzz::FindPatternSeeds());
  if (!written) std::fprintf(stderr, "cannot write seeds under %s\n", argv[1]);
  return written ? 0 : 1;
}
