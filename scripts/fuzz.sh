#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for WEFT_FUZZ_SECONDS
# (default 60) on its seeds and the kept regression inputs, with the shared
# dictionary. Fails on any finding: libFuzzer leaves the input in
# build/fuzz/findings/<target>/; once the fault is mended, keep that input in
# fuzz/regressions/<target>/ so the unit tests replay it.
set -eu
cd "$(dirname "$0")/.."
seconds=${WEFT_FUZZ_SECONDS:-60}
jobs=${WEFT_JOBS:-2}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target exports_fuzz find_pattern_fuzz weft_fuzz_seeds

run=build/fuzz/run
rm -rf "$run/seeds"
build/fuzz/fuzz/weft_fuzz_seeds "$run/seeds" ../shared/corpus

# target, per-input time limit (s), longest input
fuzz_target() {
  local target=$1 timeout=$2 max_len=$3
  local corpus=$run/corpus/$target findings=build/fuzz/findings/$target
  mkdir -p "$corpus" "$findings" "fuzz/regressions/$target"
  echo "fuzzing $target for ${seconds}s"
  build/fuzz/fuzz/${target}_fuzz "$corpus" "$run/seeds/$target" "fuzz/regressions/$target" \
    -dict=fuzz/weft.dict -max_total_time="$seconds" -timeout="$timeout" -max_len="$max_len" \
    -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 2>"$run/$target.log" || {
    tail -n 60 "$run/$target.log"
    echo "$target found a fault; its input is in $findings/"
    return 1
  }
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$run/$target.log" || true
}

# The longest exports seed (long rows, 160 KB) must load whole.
fuzz_target exports 20 196608
fuzz_target find_pattern 10 70000
