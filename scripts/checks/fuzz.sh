#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) and runs each for a
# share of a fixed time: FUZZ_SECONDS (default 30) split between
#   shot  the shot-file reader (fuzz/ShotFileFuzzer.cpp)
#   pack  the pack-text importer (fuzz/PackImportFuzzer.cpp)
# FUZZ_TARGETS="pack" runs only the ones named, each for the whole time.
# The corpora they grow are kept in fuzz-corpus/NAME/ (not committed) and
# start from the seeds in fuzz/. A finding stops the run and leaves its input
# in build/fuzz/.
#
# After each fuzzer, one line of figures: executions, their rate, the corpus.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-30}"
read -r -a targets <<<"${FUZZ_TARGETS:-shot pack}"
each=$(((seconds + ${#targets[@]} - 1) / ${#targets[@]}))

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQM_FUZZ=ON -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF >/dev/null
fuzzers=()
for target in "${targets[@]}"; do fuzzers+=("qm-$target-fuzzer"); done
cmake --build "$build" --target "${fuzzers[@]}" -- -j"$(nproc)"

# The fuzzers' folders live here (in memory where possible: file operations
# are most of their work), removed afterwards whatever happens.
tmp="$(mktemp -d /dev/shm/qm-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

for target in "${targets[@]}"; do
  case "$target" in
    shot) dict="$root/fuzz/shot.dict" seeds="$root/fuzz/corpus" ;;
    pack) dict="$root/fuzz/pack.dict" seeds="$root/fuzz/pack-corpus" ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
  echo "-- $target fuzzer, ${each}s"
  mkdir -p "$root/fuzz-corpus/$target"
  status=0
  TMPDIR="$tmp" \
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/fuzz/qm-$target-fuzzer" -max_total_time="$each" -print_final_stats=1 \
    -max_len=6000 -dict="$dict" -artifact_prefix="$build/" \
    "$root/fuzz-corpus/$target" "$seeds" 2>&1 | tee "$tmp/output" || status=$?
  stat() { sed -n "s/^stat::$1: *//p" "$tmp/output" | tail -n 1; }
  echo "fuzz $target: $(stat number_of_executed_units) executions in ${each} s" \
    "($(stat average_exec_per_sec) a second), $(find "$root/fuzz-corpus/$target" -type f | wc -l) inputs" \
    "in fuzz-corpus/$target/"
  if [ "$status" -ne 0 ]; then
    echo "fuzz $target: a finding; its input is in build/fuzz/ (crash-*, leak-*, timeout-*, oom-*)"
    exit "$status"
  fi
done
