// SetText of big.st into a warm grid, and the classifying pass over the same
// bytes, each run once inside a function of its own, for callgrind to count
// their instructions: scripts/bench.sh runs this program under
// `valgrind --tool=callgrind --toggle-collect='Profiled*'`, and
// bench/report.py splits SetText's count into its parts. Instruction counts
// do not move with the machine's load, so they are the steady view of the
// SetText target. Outside callgrind the program only does the work.
#include <string>

#include "bench/bench_support.h"
#include "weftcore.h"

namespace {

[[gnu::noinline]] void ProfiledSetText(int32_t handle, const std::string& text) {
  SetText(handle, text.data(), static_cast<int32_t>(text.size()), 0);
}

[[gnu::noinline]] void ProfiledClassify(const std::string& text) {
  weft::bench::TClassCounts counts{};
  weft::bench::CountClasses(text, counts);
  benchmark::DoNotOptimize(counts);
}

}  // namespace

int main() {
  if (weft::bench::MissingBigTextReported()) return 1;
  const std::string& text = weft::bench::BigText();
  for (const char* keyword : {"self", "super", "true", "false", "nil", "thisContext"}) AddKeyword(keyword);
  const int32_t handle = CreateGrid();
  // The first SetText fills the grid's storage; the profiled one reuses it.
  SetText(handle, text.data(), static_cast<int32_t>(text.size()), 0);
  ProfiledSetText(handle, text);
  ProfiledClassify(text);
  DeleteGrid(handle);
  return 0;
}
