// libFuzzer target: FindPattern alone (see find_pattern_harness.h). Run with
// -timeout to hold the search to linear time.
#include <cstdio>
#include <cstdlib>

#include "fuzz/find_pattern_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  weft::fuzz::RunFindPatternInput(data, size, [](const std::string& what) {
    std::fprintf(stderr, "broken promise: %s\n", what.c_str());
    std::abort();
  });
  return 0;
}
