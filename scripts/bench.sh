#!/usr/bin/env bash
# Runs every benchmark of the targets the library is held to, on big.st, on
# big.st repeated up to 20 MB and on generated long rows, then prints the
# table of figures beside their same-run baselines (bench/report.py) and plots
# edit latency against text size into docs/latency.png. With valgrind, callgrind
# also counts SetText's instructions (bench/settext_profile). Figures also go to
# build/bench/results.csv. Extra arguments go to every Google Benchmark
# program (for example --benchmark_filter=...).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Optional tools: without them the run has no plot, or no instruction counts.
optional() {
  local command=$1 package=$2
  if ! command -v "$command" >/dev/null && [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t bookworm --no-install-recommends "$package" >/dev/null ||
      echo "($package could not be installed)"
  fi
}
optional gnuplot gnuplot-nox
optional valgrind valgrind
cmake --preset release >/dev/null
cmake --build --preset release -j "${WEFT_JOBS:-2}" --target grid_bench lex_bench search_bench host_bench open_bench settext_profile \
  >/dev/null

out=build/bench
mkdir -p "$out"
rm -f "$out"/*.json "$out/open.jsonl" "$out/settext_profile.txt"
run() {
  local name=$1 program=$2
  shift 2
  echo "== $program" >&2
  "build/release/bench/$program" --benchmark_out="$out/$name.json" --benchmark_out_format=json "$@" >&2
}
run grid grid_bench --benchmark_filter='SetText|Classify|GridMemory|NextToken|Display' "$@"
run lex lex_bench --benchmark_filter='Classify|ScanToEnd|ScanIntoTokenLists|KeywordTable' "$@"
run search search_bench --benchmark_filter='Plain|Regex' "$@"
# The edits and long rows run a few iterations each, so one slow moment on a
# shared machine moves them: each is repeated and the median taken.
run host host_bench --benchmark_repetitions=3 "$@"
for i in 1 2 3 4 5; do build/release/bench/open_bench >>"$out/open.jsonl"; done
if command -v valgrind >/dev/null; then
  echo "== settext_profile (callgrind)" >&2
  valgrind --tool=callgrind --callgrind-out-file="$out/settext.callgrind" --toggle-collect='*Profiled*' \
    build/release/bench/settext_profile 2>/dev/null
  callgrind_annotate --inclusive=yes "$out/settext.callgrind" >"$out/settext_profile.txt"
fi

echo
python3 bench/report.py "$out"
if command -v gnuplot >/dev/null; then
  mkdir -p docs
  gnuplot -e "data='$out/latency.dat'; output='docs/latency.png'" bench/latency.gp
  echo "plot: docs/latency.png"
fi
