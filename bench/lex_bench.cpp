// Scanner throughput on big.st (about 2 MB of Smalltalk), against a plain
// pass that classifies the same bytes through a 256-entry table: the least
// that any per-byte look at the text costs. The ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_support.h"
#include "lex/scanner.h"
#include "lex/token.h"
#include "base/arena.h"
#include "lex/keyword_table.h"
#include "lex/token_list.h"
#include "base/row_string.h"

namespace weft {
namespace {

struct TBigText {
  TBigText() {
    const std::string& text = bench::BigText();
    if (text.empty()) return;
    bytes = static_cast<int64_t>(text.size());
    // Rows as the grid keeps them: lines end at LF, one CR before it dropped.
    std::string_view rest = text;
    for (;;) {
      const size_t lineFeed = rest.find('\n');
      std::string_view line = rest.substr(0, lineFeed);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      rows.emplace_back(line);
      if (lineFeed == std::string_view::npos) break;
      rest.remove_prefix(lineFeed + 1);
    }
  }

  TScanner ScannerAtStart() const {
    TScanner scanner;
    scanner.scanPosition = {-1, 0};
    const int32_t last = static_cast<int32_t>(rows.size()) - 1;
    if (!rows[last].empty()) {
      scanner.endOfText = {rows[last].size() - 1, last};
    } else if (last > 0) {
      scanner.endOfText = {rows[last - 1].size(), last - 1};
    }
    return scanner;
  }

  std::vector<TRowString> rows;
  int64_t bytes = 0;
};

const TBigText* Big(benchmark::State& state) {
  static const TBigText big;
  if (big.rows.empty()) {
    state.SkipWithError("big.st not found in " WEFT_CORPUS_DIR);
    return nullptr;
  }
  return &big;
}

void BM_ClassifyBytesBaseline(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  for (auto _ : state) {
    bench::TClassCounts counts{};
    for (const TRowString& row : big->rows) {
      bench::CountClasses(row.view(), counts);
      ++counts[3];  // the line end
    }
    benchmark::DoNotOptimize(counts);
  }
  state.SetBytesProcessed(state.iterations() * big->bytes);
}
BENCHMARK(BM_ClassifyBytesBaseline);

void BM_ScanTokenCalls(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  int64_t tokens = 0;
  for (auto _ : state) {
    TScanner scanner = big->ScannerAtStart();
    tokens = 0;
    int64_t kinds = 0;
    while (!ScanAtEnd(scanner)) {
      kinds += ScanToken(big->rows, scanner);
      ++tokens;
    }
    benchmark::DoNotOptimize(kinds);
  }
  state.SetBytesProcessed(state.iterations() * big->bytes);
  state.counters["tokens"] = static_cast<double>(tokens);
}
BENCHMARK(BM_ScanTokenCalls);

// The same scan in batches, as the rebuild runs it.
void BM_ScanToEnd(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  for (auto _ : state) {
    TScanner scanner = big->ScannerAtStart();
    int64_t kinds = 0;
    ScanToEnd(big->rows, scanner, [&](const TScannedToken& token) { kinds += token.kind; });
    benchmark::DoNotOptimize(kinds);
  }
  state.SetBytesProcessed(state.iterations() * big->bytes);
}
BENCHMARK(BM_ScanToEnd);

// What a full rebuild does with the scanner (attributes left out): each row's
// tokens gathered as positions, then written once, texts and all, into the
// list of the row they start on, in pieces of an arena that every pass
// reuses.
void BM_ScanIntoTokenLists(benchmark::State& state) {
  const TBigText* big = Big(state);
  if (big == nullptr) return;
  std::vector<TTokenList> lists(big->rows.size());
  TArena arena;
  TRowTokens staging;
  const auto flush = [&](int32_t row, int32_t nextRow) {
    lists[row].AssignTiling(staging, big->rows, &arena);
    staging.clear();
    for (int32_t inside = row + 1; inside < nextRow; ++inside) lists[inside].clear();
  };
  for (auto _ : state) {
    for (TTokenList& list : lists) list.clear();
    arena.Reset();
    TScanner scanner = big->ScannerAtStart();
    int32_t stagedRow = 0;
    ScanToEnd(big->rows, scanner, [&](const TScannedToken& token) {
      if (token.start.row != stagedRow) {
        flush(stagedRow, token.start.row);
        stagedRow = token.start.row;
      }
      staging.Add(token);
    });
    flush(stagedRow, static_cast<int32_t>(lists.size()));
    benchmark::DoNotOptimize(lists.data());
  }
  state.SetBytesProcessed(state.iterations() * big->bytes);
  size_t heap = 0;
  for (const TTokenList& list : lists) heap += list.HeapBytes() + sizeof(TTokenList);
  state.counters["list_bytes_per_text_byte"] = static_cast<double>(heap) / static_cast<double>(big->bytes);
}
BENCHMARK(BM_ScanIntoTokenLists);

// A host registering every selector of its image as a keyword, then taking
// them back one by one.
void BM_KeywordTableAddAndDelete(benchmark::State& state) {
  std::vector<std::string> words;
  for (int i = 0; i < 50000; ++i) words.push_back("selector" + std::to_string(i * 7919 % 50000) + ":");
  for (auto _ : state) {
    TKeywordTable table;
    for (const std::string& word : words) table.Add(word);
    for (const std::string& word : words) table.Delete(word);
    benchmark::DoNotOptimize(table.count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(words.size()));
}
BENCHMARK(BM_KeywordTableAddAndDelete)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace weft

int main(int argc, char** argv) {
  return weft::bench::RunBenchmarks(argc, argv,
                                    {{"BM_ScanTokenCalls", "BM_ClassifyBytesBaseline"},
                                     {"BM_ScanToEnd", "BM_ClassifyBytesBaseline"},
                                     {"BM_ScanIntoTokenLists", "BM_ClassifyBytesBaseline"}});
}
