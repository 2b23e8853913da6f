// Opening a text as a host's first act in a fresh process: CreateGrid and
// SetText of big.st, which pays for fresh memory, beside the median of later
// SetText calls on the same grid. Prints one JSON object; run it in several
// processes and compare medians (scripts/bench.sh does).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "weftcore.h"

namespace {

double MillisecondsOf(void (*action)(int32_t*, const std::string&), int32_t* handle, const std::string& text) {
  const auto start = std::chrono::steady_clock::now();
  action(handle, text);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Open(int32_t* handle, const std::string& text) {
  *handle = CreateGrid();
  SetText(*handle, text.data(), static_cast<int32_t>(text.size()), 0);
}

void Reset(int32_t* handle, const std::string& text) {
  SetText(*handle, text.data(), static_cast<int32_t>(text.size()), 0);
}

}  // namespace

int main() {
  const std::string& text = weft::bench::BigText();
  if (text.empty()) {
    std::fprintf(stderr, "big.st not found in %s\n", WEFT_CORPUS_DIR);
    return 1;
  }
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  SetConfiguration(&configuration);
  SetFont("Courier New", 10);
  int32_t handle = -1;
  const double open = MillisecondsOf(Open, &handle, text);
  std::vector<double> warm;
  for (int i = 0; i < 7; ++i) warm.push_back(MillisecondsOf(Reset, &handle, text));
  std::nth_element(warm.begin(), warm.begin() + 3, warm.end());
  DeleteGrid(handle);
  std::printf("{\"open_ms\": %.3f, \"warm_ms\": %.3f, \"bytes\": %zu}\n", open, warm[3], text.size());
  return 0;
}
