// What a host's user feels, measured through the exported interface: a
// keystroke, Enter and joining two rows in texts of 0.1 to 20 MB (big.st
// repeated), beside the full rebuild of the same text; a keystroke after a
// full token walk; and SetText and a keystroke in rows of 100 KB to 1 MB.
//
// Edits report the median of single timed calls (`median_us`); each is undone
// untimed, so every call sees the same text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "weftcore.h"

namespace {

using weft::bench::BigText;

// Every style in a colour of its own, as an editor's theme has them; with
// `oneStyle`, all alike, as a monochrome theme has them.
void Configure(bool oneStyle = false) {
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  for (uint32_t style = 0; style < 8; ++style) {
    configuration.styles[style].fontIndex = oneStyle ? 0 : static_cast<int32_t>(style % 4);
    configuration.styles[style].foreColor = oneStyle ? 0 : 0x101010u * (style + 1);
    configuration.styles[style].backColor = 0xFFFFFFu;
  }
  SetConfiguration(&configuration);
  static const bool fontAndKeywords = [] {
    SetFont("Courier New", 10);
    for (const char* word : {"self", "super", "true", "false", "nil", "thisContext"}) AddKeyword(word);
    return true;
  }();
  benchmark::DoNotOptimize(fontAndKeywords);
}

// big.st repeated and cut after the last line break within `bytes`.
std::string ScaledText(size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += BigText();
  text.resize(bytes);
  text.resize(text.rfind('\n') + 1);
  return text;
}

// One row of about `bytes`, the second of the text: byte-array items,
// identifiers and keywords, or the inside of a string.
std::string LongRow(int kind, size_t bytes) {
  static const char* const pieces[] = {"12 ", "foo bar: baz ", "abc "};
  std::string row = kind == 0 ? "#[" : kind == 2 ? "'" : "";
  while (row.size() < bytes) row += pieces[kind];
  row += kind == 0 ? "]" : kind == 2 ? "'" : "";
  return "| x y |\r\nx := " + row + "\r\ny := 1.\r\n";
}

class TGrid {
 public:
  // Under the one-style configuration when `oneStyle` is set, which stays in
  // force until the next grid is made.
  explicit TGrid(const std::string& text, bool oneStyle = false) : handle_(CreateGrid()) {
    Configure(oneStyle);
    SetText(handle_, text.data(), static_cast<int32_t>(text.size()), 0);
  }
  ~TGrid() { DeleteGrid(handle_); }
  int32_t handle() const { return handle_; }
  int32_t rows() const { return NumberOfRows(handle_); }
  int32_t columns(int32_t row) const { return ColumnsInRow(handle_, row); }
  // A row near `row` (1-based) that has at least `length` characters.
  int32_t RowOfAtLeast(int32_t row, int32_t length) const {
    while (row < rows() && columns(row) < length) ++row;
    return row;
  }

 private:
  int32_t handle_;
};

// Times `edit` one call at a time and reports the median in microseconds;
// `prepare` (untimed) runs before each call and `undo` (untimed) after it.
template <typename Prepare, typename Edit, typename Undo>
void MeasureMedian(benchmark::State& state, Prepare&& prepare, Edit&& edit, Undo&& undo) {
  std::vector<double> micros;
  for (auto _ : state) {
    state.PauseTiming();
    prepare();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    edit();
    const auto stop = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    state.PauseTiming();
    undo();
    state.ResumeTiming();
  }
  std::nth_element(micros.begin(), micros.begin() + static_cast<long>(micros.size() / 2), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
}

void Nothing() {}

size_t KiloBytes(const benchmark::State& state, int index = 0) {
  return static_cast<size_t>(state.range(index)) * 1000;
}

// The full rebuild of each scaled text: the baseline of the edits below.
void BM_Rebuild(benchmark::State& state) {
  if (weft::bench::MissingBigText(state)) return;
  const std::string text = ScaledText(KiloBytes(state));
  TGrid grid(text);
  for (auto _ : state) SetText(grid.handle(), text.data(), static_cast<int32_t>(text.size()), 0);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// A character typed in the middle of a row in the middle of the text.
void Keystroke(benchmark::State& state, bool oneStyle) {
  if (weft::bench::MissingBigText(state)) return;
  TGrid grid(ScaledText(KiloBytes(state)), oneStyle);
  const int32_t row = grid.RowOfAtLeast(grid.rows() / 2, 20);
  const int32_t column = grid.columns(row) / 2;
  MeasureMedian(
      state, Nothing, [&] { InsertCell(grid.handle(), 'x', column, row, nullptr); },
      [&] { DeleteSection(grid.handle(), column, row, column, row, nullptr); });
}
void BM_Keystroke(benchmark::State& state) { Keystroke(state, false); }
// The same with every style alike, so the text holds almost no attribute changes.
void BM_KeystrokeOneStyle(benchmark::State& state) { Keystroke(state, true); }

// Enter in the middle of the text.
void BM_Enter(benchmark::State& state) {
  if (weft::bench::MissingBigText(state)) return;
  TGrid grid(ScaledText(KiloBytes(state)));
  const int32_t row = grid.RowOfAtLeast(grid.rows() / 2, 20);
  const int32_t column = grid.columns(row) / 2;
  WeftPoint end{};
  MeasureMedian(
      state, Nothing, [&] { InsertString(grid.handle(), "\r\n", column, row, &end, nullptr); },
      [&] { DeleteSection(grid.handle(), column, row, column, row, nullptr); });
}

// Deleting the line break at the end of a row in the middle of the text.
void BM_JoinRows(benchmark::State& state) {
  if (weft::bench::MissingBigText(state)) return;
  TGrid grid(ScaledText(KiloBytes(state)));
  const int32_t row = grid.RowOfAtLeast(grid.rows() / 2, 20);
  const int32_t column = grid.columns(row) + 1;
  WeftPoint end{};
  MeasureMedian(
      state, Nothing, [&] { DeleteSection(grid.handle(), column, row, column, row, nullptr); },
      [&] { InsertString(grid.handle(), "\r\n", column, row, &end, nullptr); });
}

// A keystroke at row 100 of big.st, with or without a full NextToken walk
// (untimed) before each one.
void KeystrokeNearTheTop(benchmark::State& state, bool walkFirst) {
  if (weft::bench::MissingBigText(state)) return;
  TGrid grid(BigText());
  const int32_t row = grid.RowOfAtLeast(100, 20);
  const int32_t column = grid.columns(row) / 2;
  WeftTokenRecord token{};
  MeasureMedian(
      state,
      [&] {
        if (!walkFirst) return;
        RewindTokens(grid.handle());
        while (NextToken(grid.handle(), &token) >= 0) {
        }
      },
      [&] { InsertCell(grid.handle(), 'x', column, row, nullptr); },
      [&] { DeleteSection(grid.handle(), column, row, column, row, nullptr); });
}
void BM_KeystrokeNearTheTop(benchmark::State& state) { KeystrokeNearTheTop(state, false); }
void BM_KeystrokeAfterWalk(benchmark::State& state) { KeystrokeNearTheTop(state, true); }

// SetText of a text whose one long row is range(1) KB of range(0)'s kind
// (0 byte-array items, 1 identifiers and keywords, 2 a string).
void BM_LongRowSetText(benchmark::State& state) {
  const std::string text = LongRow(static_cast<int>(state.range(0)), KiloBytes(state, 1));
  TGrid grid(text);
  for (auto _ : state) SetText(grid.handle(), text.data(), static_cast<int32_t>(text.size()), 0);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// A character typed in the middle of that long row.
void BM_LongRowKeystroke(benchmark::State& state) {
  TGrid grid(LongRow(static_cast<int>(state.range(0)), KiloBytes(state, 1)));
  const int32_t column = grid.columns(2) / 2;
  MeasureMedian(
      state, Nothing, [&] { InsertCell(grid.handle(), '7', column, 2, nullptr); },
      [&] { DeleteSection(grid.handle(), column, 2, column, 2, nullptr); });
}

// A tab typed before that long row's first character: indenting it.
void BM_LongRowIndent(benchmark::State& state) {
  TGrid grid(LongRow(static_cast<int>(state.range(0)), KiloBytes(state, 1)));
  MeasureMedian(
      state, Nothing, [&] { InsertCell(grid.handle(), '\t', 1, 2, nullptr); },
      [&] { DeleteSection(grid.handle(), 1, 2, 1, 2, nullptr); });
}

void TextSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t kiloBytes : {100, 300, 1000, 2000, 5000, 10000, 20000}) benchmark->Arg(kiloBytes);
}

void LongRows(benchmark::internal::Benchmark* benchmark) {
  for (int64_t kind : {0, 1, 2}) {
    for (int64_t kiloBytes : {100, 500, 1000}) benchmark->Args({kind, kiloBytes});
  }
}

BENCHMARK(BM_Rebuild)->Apply(TextSizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Keystroke)->Apply(TextSizes)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_KeystrokeOneStyle)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BM_Enter)->Apply(TextSizes)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_JoinRows)->Apply(TextSizes)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_KeystrokeNearTheTop)->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BM_KeystrokeAfterWalk)->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BM_LongRowSetText)->Apply(LongRows)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LongRowKeystroke)->Apply(LongRows)->Unit(benchmark::kMicrosecond)->Iterations(10);
BENCHMARK(BM_LongRowIndent)->Apply(LongRows)->Unit(benchmark::kMicrosecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
