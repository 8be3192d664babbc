#!/usr/bin/env bash
# Builds the shot-file fuzzer with clang (libFuzzer, ASan, UBSan) and runs it
# for a fixed time: FUZZ_SECONDS (default 30). The corpus it grows is kept in
# fuzz-corpus/ (not committed) and starts from the seeds in fuzz/corpus/.
# A finding stops the run and leaves its input in build/fuzz/.
#
# Ends with one line of figures: executions, their rate, the corpus.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-30}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQM_FUZZ=ON -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target qm-shot-fuzzer -- -j"$(nproc)"

mkdir -p "$root/fuzz-corpus"
# The fuzzer's pack folder lives here (in memory where possible: file
# operations are most of its work), removed afterwards whatever happens.
tmp="$(mktemp -d /dev/shm/qm-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
status=0
TMPDIR="$tmp" \
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$build/fuzz/qm-shot-fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  -max_len=6000 -dict="$root/fuzz/shot.dict" -artifact_prefix="$build/" \
  "$root/fuzz-corpus" "$root/fuzz/corpus" 2>&1 | tee "$tmp/output" || status=$?

stat() { sed -n "s/^stat::$1: *//p" "$tmp/output" | tail -n 1; }
echo "fuzz: $(stat number_of_executed_units) executions in ${seconds} s ($(stat average_exec_per_sec) a second)," \
  "$(find "$root/fuzz-corpus" -type f | wc -l) inputs in fuzz-corpus/"
if [ "$status" -ne 0 ]; then
  echo "fuzz: a finding; its input is in build/fuzz/ (crash-*, leak-*, timeout-*, oom-*)"
fi
exit "$status"
