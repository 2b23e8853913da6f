// Opening a text as a host's first act in a fresh process: CreateGrid and
// SetText of big.st, which pays for fresh memory, beside the median of later
// SetText calls on the same grid. To tell the library's share from the
// system's, it also times touching, once, as much fresh memory as the open
// took from the heap, with nothing else done to it. Prints one JSON object;
// run it in several processes and compare medians (scripts/bench.sh does).
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

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

size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Milliseconds to write one byte into each page of `bytes` of memory fresh
// from the kernel (mapped here, so no freed heap block can stand in for it).
double MillisecondsToTouchFreshMemory(size_t bytes) {
  const auto start = std::chrono::steady_clock::now();
  void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return -1;
  auto* bytesOut = static_cast<volatile char*>(mapped);
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  for (size_t at = 0; at < bytes; at += page) bytesOut[at] = 1;
  const double milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  munmap(mapped, bytes);
  return milliseconds;
}

}  // namespace

int main() {
  if (weft::bench::MissingBigTextReported()) return 1;
  const std::string& text = weft::bench::BigText();
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  SetConfiguration(&configuration);
  SetFont("Courier New", 10);
  int32_t handle = -1;
  const size_t heapBefore = HeapInUse();
  const double open = MillisecondsOf(Open, &handle, text);
  const size_t opened = HeapInUse() - heapBefore;
  std::vector<double> warm;
  for (int i = 0; i < 7; ++i) warm.push_back(MillisecondsOf(Reset, &handle, text));
  std::nth_element(warm.begin(), warm.begin() + 3, warm.end());
  DeleteGrid(handle);
  const double touch = MillisecondsToTouchFreshMemory(opened);
  std::printf("{\"open_ms\": %.3f, \"warm_ms\": %.3f, \"bytes\": %zu, \"heap_bytes\": %zu, \"touch_ms\": %.3f}\n",
              open, warm[3], text.size(), opened, touch);
  return 0;
}
