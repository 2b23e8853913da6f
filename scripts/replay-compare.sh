#!/usr/bin/env bash
# Replays the same call scripts through the native library and through
# weftcore.dll under Wine, and fails unless the two transcripts are equal:
#   replay-compare.sh NATIVE_BUILD_DIR REPLAY_HOST_EXE CORPUS_DIR
# The scripts are the fuzz seeds (written by the native seed writer) and the
# regression inputs kept in fuzz/regressions/exports. Exit 77 (skipped) when
# the native preset is not built or Wine cannot run the 32-bit host.
set -u
here=$(cd "$(dirname "$0")" && pwd)
native_build=$1
host=$2
corpus=$3
replayer=$native_build/fuzz/weft_replay
seed_writer=$native_build/fuzz/weft_fuzz_seeds
if [ ! -x "$replayer" ] || [ ! -x "$seed_writer" ]; then
  echo "SKIPPED: the native replayer is not built in $native_build (build the native preset first)."
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$seed_writer" "$work/seeds" "$corpus" || exit 1
inputs=("$work/seeds/exports")
regressions=$here/../fuzz/regressions/exports
[ -d "$regressions" ] && inputs+=("$regressions")

"$replayer" "${inputs[@]}" >"$work/native.txt"
native_status=$?
windows_inputs=()
for input in "${inputs[@]}"; do windows_inputs+=("Z:$(cd "$input" && pwd)"); done
"$here/wine-tier.sh" "$host" "${windows_inputs[@]}" >"$work/dll.txt"
dll_status=$?
if [ $dll_status -eq 77 ]; then
  cat "$work/dll.txt"
  exit 77
fi

echo "native: $(grep -c '^==' "$work/native.txt") scripts, $(wc -l <"$work/native.txt") lines (exit $native_status);" \
     "dll: $(grep -c '^==' "$work/dll.txt") scripts, $(wc -l <"$work/dll.txt") lines (exit $dll_status)"
if ! diff -u "$work/native.txt" "$work/dll.txt" >"$work/diff.txt"; then
  echo "the DLL's transcript differs from the native library's:"
  head -n 60 "$work/diff.txt"
  exit 1
fi
[ $native_status -eq 0 ] && [ $dll_status -eq 0 ]
