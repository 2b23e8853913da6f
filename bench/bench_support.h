// What the benchmarks share: big.st, the standard input, and a reporter that
// prints chosen runs' speeds as multiples of baselines run in the same
// process (the machine is shared and noisy, so only ratios compare).
#ifndef WEFT_BENCH_BENCH_SUPPORT_H_
#define WEFT_BENCH_BENCH_SUPPORT_H_

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace weft::bench {

// The classifying pass, the baseline of SetText and of the scanner: one table
// lookup and one count per byte, about the least work that reads every byte
// as a lexer must. Classes: letter, digit, white space, anything else.
using TClassCounts = std::array<int64_t, 5>;
inline void CountClasses(std::string_view bytes, TClassCounts& counts) {
  static constexpr std::array<uint8_t, 256> kClasses = [] {
    std::array<uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
      const bool white = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
      classes[static_cast<size_t>(c)] = letter ? 1 : (c >= '0' && c <= '9') ? 2 : white ? 3 : 4;
    }
    return classes;
  }();
  for (unsigned char c : bytes) ++counts[kClasses[c]];
}

// The bytes of big.st; empty when the corpus is absent.
inline const std::string& BigText() {
  static const std::string text = [] {
    std::ifstream in(std::string(WEFT_CORPUS_DIR) + "/big.st", std::ios::binary);
    std::ostringstream buffer;
    if (in) buffer << in.rdbuf();
    return buffer.str();
  }();
  return text;
}

// Marks the run as skipped when big.st is absent.
inline bool MissingBigText(benchmark::State& state) {
  if (!BigText().empty()) return false;
  state.SkipWithError("big.st not found in " WEFT_CORPUS_DIR);
  return true;
}

// For the programs that run outside Google Benchmark: says so on standard
// error when big.st is absent.
inline bool MissingBigTextReported() {
  if (!BigText().empty()) return false;
  std::fprintf(stderr, "big.st not found in %s\n", WEFT_CORPUS_DIR);
  return true;
}

// (run, baseline) pairs of benchmark names.
using TComparisons = std::vector<std::pair<std::string, std::string>>;

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit TRatioReporter(TComparisons comparisons) : comparisons_(std::move(comparisons)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto speed = run.counters.find("bytes_per_second");
      if (speed != run.counters.end()) speeds_[run.benchmark_name()] = speed->second.value;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, baseline] : comparisons_) {
      const auto run = speeds_.find(name);
      const auto base = speeds_.find(baseline);
      if (run == speeds_.end() || base == speeds_.end() || base->second <= 0) continue;
      std::printf("%-32s %9.1f MB/s  %5.2f x %s\n", name.c_str(), run->second / 1e6, run->second / base->second,
                  baseline.c_str());
    }
  }

 private:
  TComparisons comparisons_;
  std::map<std::string, double> speeds_;
};

inline int RunBenchmarks(int argc, char** argv, TComparisons comparisons) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter(std::move(comparisons));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace weft::bench

#endif  // WEFT_BENCH_BENCH_SUPPORT_H_
