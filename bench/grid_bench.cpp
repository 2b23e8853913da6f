// The grid on big.st (about 2 MB of Smalltalk): the full rebuild that ends
// SetText, against a plain pass that classifies the same bytes; the memory a
// grid holds; walking tokens; and a screenful of Display against the
// recording stand-in of Win32. Edits are measured through the exports, by
// host_bench.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "text/token_cursor.h"
#include "paint/display.h"
#include "platform/fake_win32_control.h"
#include "text/string_grid.h"

namespace weft {
namespace {

using bench::BigText;
using bench::TClassCounts;
using bench::CountClasses;

TSharedState& Shared() {
  static TSharedState* shared = [] {
    auto* state = new TSharedState;
    TConfiguration configuration{};
    configuration.tabWidth = 4;
    for (int32_t style = 0; style < 8; ++style) {
      configuration.styles[style] = {style % 4, RGB(20 * style, 0, 0), RGB(255, 255, 255), 0, 0};
    }
    state->settings.SetFont("Mono", 10);
    state->settings.SetConfiguration(configuration);
    for (const char* word : {"self", "super", "true", "false", "nil", "thisContext", "^"}) state->keywords.Add(word);
    return state;
  }();
  return *shared;
}

bool HaveBigText(benchmark::State& state) { return !bench::MissingBigText(state); }

std::unique_ptr<TStringGrid> GridOf(const std::string& text) {
  auto grid = std::make_unique<TStringGrid>(Shared());
  grid->SetText(text.data(), static_cast<int32_t>(text.size()), false);
  return grid;
}

std::unique_ptr<TStringGrid> BigGrid() { return GridOf(BigText()); }

void BM_ClassifyBytesBaseline(benchmark::State& state) {
  if (!HaveBigText(state)) return;
  const std::string& text = BigText();
  for (auto _ : state) {
    TClassCounts counts{};
    CountClasses(text, counts);
    benchmark::DoNotOptimize(counts);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BigText().size()));
}
BENCHMARK(BM_ClassifyBytesBaseline)->Unit(benchmark::kMillisecond);

void BM_SetText(benchmark::State& state) {
  if (!HaveBigText(state)) return;
  TStringGrid grid(Shared());
  for (auto _ : state) grid.SetText(BigText().data(), static_cast<int32_t>(BigText().size()), false);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BigText().size()));
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

// The heap in use, as the allocator counts it: its arena and the blocks big
// enough to be mapped on their own.
size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The heap a grid holds once SetText is done.
void BM_GridMemory(benchmark::State& state) {
  if (!HaveBigText(state)) return;
  size_t held = 0;
  for (auto _ : state) {
    const size_t before = HeapInUse();
    auto grid = BigGrid();
    held = HeapInUse() - before + sizeof(TStringGrid);
    benchmark::DoNotOptimize(grid.get());
  }
  state.counters["bytes_per_text_byte"] = static_cast<double>(held) / static_cast<double>(BigText().size());
  state.counters["MB_held"] = static_cast<double>(held) / 1e6;
}
BENCHMARK(BM_GridMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NextToken(benchmark::State& state) {
  if (!HaveBigText(state)) return;
  auto grid = BigGrid();
  int64_t tokens = 0;
  for (auto _ : state) {
    RewindTokens(*grid);
    while (const THandedToken token = NextToken(*grid)) {
      benchmark::DoNotOptimize(token.text);
      ++tokens;
    }
  }
  state.SetItemsProcessed(tokens);
}
BENCHMARK(BM_NextToken)->Unit(benchmark::kMillisecond);

// A 60-row by 120-column screen from the middle of the text.
void BM_DisplayScreen(benchmark::State& state) {
  if (!HaveBigText(state)) return;
  auto grid = BigGrid();
  HDC dc = fake::CreatePaintContext();
  const int32_t top = grid->NumberOfRows() / 2;
  size_t outputs = 0;
  for (auto _ : state) {
    Display(*grid, {dc, {0, top}, {120, top + 59}, {-1, -1}, {-1, -1}});
    state.PauseTiming();
    outputs = fake::TextOuts().size();
    fake::ClearLogs();
    state.ResumeTiming();
  }
  state.counters["text_outputs"] = static_cast<double>(outputs);
}
BENCHMARK(BM_DisplayScreen)->Unit(benchmark::kMicrosecond);

// A window over the start of a 500 KB row of identifiers and keywords, which
// change attributes at almost every token, painted through the row's end as an
// editor asks for its rows.
void BM_DisplayLongRow(benchmark::State& state) {
  std::string text;
  while (text.size() < 500000) text += "foo bar: 'baz' ";
  auto grid = GridOf(text);
  HDC dc = fake::CreatePaintContext();
  fake::SetClipBox(dc, {0, 0, 1000, 1000});
  for (auto _ : state) {
    Display(*grid, {dc, {0, 0}, {grid->RowLength(0), 0}, {-1, -1}, {-1, -1}});
    state.PauseTiming();
    fake::ClearLogs();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DisplayLongRow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace weft

int main(int argc, char** argv) {
  return weft::bench::RunBenchmarks(argc, argv, {{"BM_SetText", "BM_ClassifyBytesBaseline"}});
}
