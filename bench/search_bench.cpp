// Search speed on big.st (about 2 MB of Smalltalk) beside the baselines run
// in the same process: glibc memmem and strcasestr for plain patterns, PCRE2
// without JIT for regular expressions (when the build found it). Also the
// linear time on a pattern that is exponential for plain backtracking, and
// the rate of CalcMatchWeight. Ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if WEFT_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

#include "bench/bench_support.h"
#include "search/find_pattern.h"
#include "search/name_match.h"
#include "search/pattern.h"
#include "search/regex_search.h"

namespace weft {
namespace {

// big.st as the host hands it over: NUL-terminated.
const std::string& BigText() {
  static const std::string text = bench::BigText().substr(0, bench::BigText().find('\0'));
  return text;
}

bool MissingCorpus(benchmark::State& state) { return bench::MissingBigText(state); }

bool OccursOnceAtEnd(const std::string& text, const std::string& needle) {
  const char* last = text.data() + text.size() - needle.size();
  if (memmem(text.data(), text.size(), needle.data(), needle.size()) != last) return false;
  return strcasestr(text.c_str(), needle.c_str()) == last;
}

// The shortest tail of at least 16 characters that occurs nowhere else, in
// either case.
const std::string& NeedleAtEnd() {
  static const std::string needle = [] {
    const std::string& text = BigText();
    for (size_t length = 16; length < text.size(); ++length) {
      std::string tail = text.substr(text.size() - length);
      if (OccursOnceAtEnd(text, tail)) return tail;
    }
    return text;
  }();
  return needle;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(BigText().size()));
}

void BM_PlainMemmem(benchmark::State& state) {
  if (MissingCorpus(state)) return;
  const std::string& text = BigText();
  const std::string& needle = NeedleAtEnd();
  for (auto _ : state) benchmark::DoNotOptimize(memmem(text.data(), text.size(), needle.data(), needle.size()));
  SetBytes(state);
}
BENCHMARK(BM_PlainMemmem);

void BM_PlainStrcasestr(benchmark::State& state) {
  if (MissingCorpus(state)) return;
  const std::string& text = BigText();
  const std::string& needle = NeedleAtEnd();
  for (auto _ : state) benchmark::DoNotOptimize(strcasestr(text.c_str(), needle.c_str()));
  SetBytes(state);
}
BENCHMARK(BM_PlainStrcasestr);

void PlainFindPattern(benchmark::State& state, bool matchCase) {
  if (MissingCorpus(state)) return;
  const std::string& text = BigText();
  const std::string& needle = NeedleAtEnd();
  int32_t length = 0;
  for (auto _ : state) {
    const int32_t at = FindPattern(text.c_str(), needle.c_str(), &length, 0, false, matchCase, true);
    if (at != static_cast<int32_t>(text.size() - needle.size())) state.SkipWithError("wrong position");
    benchmark::DoNotOptimize(at);
  }
  SetBytes(state);
}

void BM_PlainFindPatternCase(benchmark::State& state) { PlainFindPattern(state, true); }
BENCHMARK(BM_PlainFindPatternCase);

void BM_PlainFindPatternNoCase(benchmark::State& state) { PlainFindPattern(state, false); }
BENCHMARK(BM_PlainFindPatternNoCase);

struct TRegexPair {
  const char* ours;
  const char* pcre;  // the same language, with a group where ours has marks
};

const TRegexPair kRegexes[] = {
    {"at:[a-z]+:", "at:[a-z]+:"},
    {"[A-Z][a-z]+Morph", "[A-Z][a-z]+Morph"},
    {"at:@[a-z]+@:", "at:([a-z]+):"},
};

// Every match in the text, forward with each search starting where the last
// match began plus one, or backward with each starting just before the last
// match: the engine's whole-text throughput.
void RegexScan(benchmark::State& state, bool forward) {
  if (MissingCorpus(state)) return;
  const std::string& text = BigText();
  const TPattern pattern = CompilePattern(kRegexes[state.range(0)].ours, true);
  const TSubject subject{reinterpret_cast<const unsigned char*>(text.data()), static_cast<int32_t>(text.size())};
  int64_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    TMatchWork work;
    for (int32_t from = forward ? 0 : subject.size - 1; from >= 0;) {
      const TMatchSpan span = forward ? FindRegexForward(pattern, subject, from, {}, work)
                                      : FindRegexBackward(pattern, subject, from, {}, work);
      if (span.begin < 0) break;
      ++matches;
      from = forward ? span.begin + 1 : span.begin - 1;
    }
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(kRegexes[state.range(0)].ours);
  SetBytes(state);
}

void BM_RegexScan(benchmark::State& state) { RegexScan(state, true); }
BENCHMARK(BM_RegexScan)->DenseRange(0, 2);

void BM_RegexScanBackward(benchmark::State& state) { RegexScan(state, false); }
BENCHMARK(BM_RegexScanBackward)->DenseRange(0, 2);

#if WEFT_HAVE_PCRE2
void BM_RegexPcre2(benchmark::State& state) {
  if (MissingCorpus(state)) return;
  const std::string& text = BigText();
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kRegexes[state.range(0)].pcre), PCRE2_ZERO_TERMINATED,
                                   0, &error, &errorOffset, nullptr);
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  int64_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    for (PCRE2_SIZE from = 0; from < text.size();) {
      const int found = pcre2_match(code, subject, text.size(), from, 0, data, nullptr);
      if (found < 0) break;
      const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data);
      ++matches;
      from = vector[found > 1 ? 2 : 0] + 1;
    }
  }
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(kRegexes[state.range(0)].pcre);
  SetBytes(state);
}
BENCHMARK(BM_RegexPcre2)->DenseRange(0, 2);
#endif

// a*a*a*a*a*b over n MB of a's, which holds no match: exponential for a plain
// backtracker, linear here.
void Adversarial(benchmark::State& state, bool forward) {
  const std::string text(static_cast<size_t>(state.range(0)) << 20, 'a');
  TMatchWork work;
  for (auto _ : state) {
    work = {};
    int32_t length = 0;
    const int32_t at = FindPattern(text.c_str(), "a*a*a*a*a*b", &length, forward ? 0 : -1, true, true, forward,
                                   {}, &work);
    if (at != -1) state.SkipWithError("found a match in a text without one");
  }
  state.counters["steps_per_byte"] = static_cast<double>(work.steps) / static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_AdversarialForward(benchmark::State& state) { Adversarial(state, true); }
BENCHMARK(BM_AdversarialForward)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_AdversarialBackward(benchmark::State& state) { Adversarial(state, false); }
BENCHMARK(BM_AdversarialBackward)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// 100 000 pairs of names taken from the corpus's words.
void BM_CalcMatchWeight(benchmark::State& state) {
  if (MissingCorpus(state)) return;
  std::vector<std::string> names;
  std::string word;
  for (char c : BigText()) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == ':') {
      word += c;
    } else if (!word.empty()) {
      if (word.size() > 2) names.push_back(word);
      word.clear();
    }
  }
  constexpr size_t kPairs = 100000;
  int64_t total = 0;
  for (auto _ : state) {
    for (size_t k = 0; k < kPairs; ++k) {
      const std::string& a = names[k % names.size()];
      const std::string& b = names[(k * 7919 + 13) % names.size()];
      total += CalcMatchWeight(a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()));
    }
  }
  benchmark::DoNotOptimize(total);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPairs));
}
BENCHMARK(BM_CalcMatchWeight);

}  // namespace
}  // namespace weft

int main(int argc, char** argv) {
  weft::bench::TComparisons comparisons = {
      {"BM_PlainFindPatternCase", "BM_PlainMemmem"},
      {"BM_PlainFindPatternNoCase", "BM_PlainMemmem"},
      {"BM_PlainFindPatternNoCase", "BM_PlainStrcasestr"},
      {"BM_AdversarialForward/2", "BM_AdversarialForward/1"},
      {"BM_AdversarialBackward/2", "BM_AdversarialBackward/1"},
  };
  for (int k = 0; k < 3; ++k) {
    comparisons.emplace_back("BM_RegexScan/" + std::to_string(k), "BM_RegexPcre2/" + std::to_string(k));
  }
  return weft::bench::RunBenchmarks(argc, argv, comparisons);
}
