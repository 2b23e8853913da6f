// Position mapping at the far end of the benchmark text (big.st, about 60 000
// rows), where the row walks are longest. The baseline sums the row lengths
// in the simplest loop, the least a walk over the rows can cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "geometry/columns.h"
#include "geometry/positions.h"
#include "text/string_grid.h"

namespace weft {
namespace {

struct TBigText {
  TBigText() {
    TConfiguration configuration{};
    configuration.tabWidth = 4;
    shared.settings.SetConfiguration(configuration);
    const std::string& source = bench::BigText();
    if (source.empty()) return;
    grid = std::make_unique<TStringGrid>(shared);
    grid->SetText(source.data(), static_cast<int32_t>(source.size()), false);
    // The same text with its indentation as spaces, read back with
    // conversion, so that NonTabbedToTabbedIndex has tabs to account for.
    // Tabs the expansion keeps (inside what it takes for string literals)
    // become spaces too, or SetText would not convert.
    std::string expanded(source.size() * 4 + 2 * static_cast<size_t>(grid->NumberOfRows()) + 1, '\0');
    expanded.resize(static_cast<size_t>(grid->Text(expanded.data(), static_cast<int32_t>(expanded.size()), true)));
    std::replace(expanded.begin(), expanded.end(), '\t', ' ');
    converted = std::make_unique<TStringGrid>(shared);
    converted->SetText(expanded.data(), static_cast<int32_t>(expanded.size()), true);
    convertedLength = static_cast<int32_t>(expanded.size());
  }

  TSharedState shared;
  std::unique_ptr<TStringGrid> grid;
  std::unique_ptr<TStringGrid> converted;
  int32_t convertedLength = 0;
};

const TBigText* Big(benchmark::State& state) {
  static const TBigText big;
  if (big.grid == nullptr) {
    state.SkipWithError("big.st not found in " WEFT_CORPUS_DIR);
    return nullptr;
  }
  return &big;
}

void BM_RowLengthSumBaseline(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  for (auto _ : state) {
    int64_t sum = 0;
    for (const TRowString& row : big->grid->rows()) sum += row.size() + 2;
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = big->grid->NumberOfRows();
}
BENCHMARK(BM_RowLengthSumBaseline);

void BM_PointForIndexAtEnd(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  const int32_t index = IndexForPoint(*big->grid, big->grid->LastRowAndColumn());
  for (auto _ : state) benchmark::DoNotOptimize(PointForIndex(*big->grid, index));
}
BENCHMARK(BM_PointForIndexAtEnd);

void BM_IndexForPointAtEnd(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  const TPoint end = big->grid->LastRowAndColumn();
  for (auto _ : state) benchmark::DoNotOptimize(IndexForPoint(*big->grid, end));
}
BENCHMARK(BM_IndexForPointAtEnd);

void BM_PointAtDistanceFromStartToEnd(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  const int32_t steps = IndexForPoint(*big->grid, big->grid->LastRowAndColumn()) - big->grid->NumberOfRows() + 1;
  for (auto _ : state) benchmark::DoNotOptimize(PointAtDistanceFrom(*big->grid, steps, {0, 0}));
}
BENCHMARK(BM_PointAtDistanceFromStartToEnd);

void BM_CellExtent(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(CellExtent(*big->grid));
}
BENCHMARK(BM_CellExtent);

void BM_NonTabbedToTabbedIndexAtEnd(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(NonTabbedToTabbedIndex(*big->converted, big->convertedLength));
  state.counters["tabbed"] = big->converted->hasTabs() ? 0 : 1;
}
BENCHMARK(BM_NonTabbedToTabbedIndexAtEnd);

}  // namespace
}  // namespace weft

BENCHMARK_MAIN();
