#!/usr/bin/env bash
# Sets everything up and runs every test twice: in a normal build with
# warnings as errors, and under AddressSanitizer + UndefinedBehaviorSanitizer.
# Then runs each extra check in scripts/checks/ (in name order).
#
# It prints one line per stage with its result and time, and under it the
# stage's figures. Everything a stage says goes to its log in build/logs/; a
# failed stage names its log and shows what failed: the compiler's errors,
# the failing tests' output, the end of a check's report. Exits with 1 when a
# stage failed.
#
# A check is a script scripts/checks/NAME.sh that exits with 0 when it
# passes. Its figures are the lines it prints that begin with a lower-case
# label and a colon ("fuzz: 81234 executions in 30 s", "windows: ...");
# whatever else it prints is kept in its log.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages "${run_packages[@]}" "${test_packages[@]}"
set +e  # a failed stage is reported, and the other stages still run

logs="$root/build/logs"
mkdir -p "$logs"
failed=()

indent() { sed 's/^/    /'; }

# The figures in a stage's log: for tests, ctest's count; for a check, its
# lines that begin with "label: " (ninja's own are not figures).
figures() {
  case "$1" in
    tests) grep -E 'tests passed, [0-9]+ tests? failed out of' "$2" ;;
    check) grep -E '^[a-z][a-z0-9 _-]*: ' "$2" | grep -v '^ninja: ' ;;
  esac
}

# stage KIND NAME COMMAND...: runs the command with its output in the stage's
# log and prints the result, the figures and, on failure, what failed. KIND:
# build, tests or check. Returns the command's status.
stage() {
  local kind="$1" name="$2"
  shift 2
  local log="$logs/${name// /-}.log" start=$SECONDS status=0
  "$@" >"$log" 2>&1 || status=$?
  local took=$((SECONDS - start))
  local time
  time=$(printf '%dm %02ds' $((took / 60)) $((took % 60)))
  if [ "$status" -eq 0 ]; then
    printf '%-34s passed  (%s)\n' "$name" "$time"
  else
    failed+=("$name")
    printf '%-34s FAILED  (%s); log: %s\n' "$name" "$time" "${log#"$root"/}"
  fi
  figures "$kind" "$log" | indent
  [ "$status" -eq 0 ] && return 0
  case "$kind" in
    build) grep -v -E '^\[[0-9]+/[0-9]+\] ' "$log" | indent ;;
    tests) grep -v -E '^ *Start +[0-9]+: |Test +#[0-9]+: .* Passed ' "$log" | indent ;;
    check) tail -n 80 "$log" | indent ;;
  esac
  return "$status"
}

skipped() { printf '%-34s skipped (%s)\n' "$1" "$2"; }

sanitizers=(env ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1)

echo "Quellmark Training: tests and checks (logs in build/logs/)"
# Checks read figures from this run's test log (the fault and crash
# campaigns'): one left by an earlier run must not stand in for a run that
# did not happen.
rm -f "$root/build/test/Testing/Temporary/LastTest.log"
if stage build "normal build" build "$root/build/test" -DCMAKE_BUILD_TYPE=Debug -DQM_WERROR=ON; then
  stage tests "normal tests" ctest --test-dir "$root/build/test" --output-on-failure -j"$(nproc)"
else
  skipped "normal tests" "the build failed"
fi
if stage build "sanitizer build" build "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DQM_WERROR=ON \
  -DQM_SANITIZE=ON -DQM_BUILD_BENCH=OFF; then
  stage tests "sanitizer tests" "${sanitizers[@]}" \
    ctest --test-dir "$root/build/asan" --output-on-failure -j"$(nproc)"
else
  skipped "sanitizer tests" "the build failed"
fi
for check in "$root"/scripts/checks/*.sh; do
  [ -e "$check" ] || continue
  stage check "check $(basename "$check" .sh)" bash "$check"
done

if ((${#failed[@]})); then
  echo "FAILED: $(printf '%s, ' "${failed[@]}" | sed 's/, $//')"
  exit 1
fi
echo "All tests passed."
