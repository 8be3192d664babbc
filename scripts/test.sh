#!/usr/bin/env bash
# Sets everything up and runs every test twice: in a normal build with
# warnings as errors, and under AddressSanitizer + UndefinedBehaviorSanitizer.
# Then runs each extra check in scripts/checks/ (in name order).
#
# It prints one line per stage with its result and time, and under it the
# stage's figures. Everything else a stage says goes to its log in
# build/logs/; a failed stage names its log and shows what failed: the
# compiler's errors, the failing tests' output, the end of a check's report.
# Exits with 1 when a stage failed.
#
# A check is a script scripts/checks/NAME.sh that exits with 0 when it
# passes. Its standard output is its figures, a few lines shown as they are
# (fuzz executions, a campaign's counts, the test share); its standard error
# is its report, kept in build/logs/check-NAME.log.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
set +e  # a failed stage is reported, and the other stages still run

logs="$root/build/logs"
mkdir -p "$logs"
failed=()

indent() { sed 's/^/    /'; }

# stage KIND NAME COMMAND...: runs the command, its output in the stage's log
# (a check's standard output in a figures file), and prints the result.
# KIND: build, tests or check. Returns the command's status.
stage() {
  local kind="$1" name="$2"
  shift 2
  local file="${name// /-}"
  local log="$logs/$file.log" figures="$logs/$file.figures" start=$SECONDS status=0
  if [ "$kind" = check ]; then
    "$@" >"$figures" 2>"$log" || status=$?
  else
    "$@" >"$log" 2>&1 || status=$?
    : >"$figures"
    [ "$kind" = tests ] && grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" >"$figures"
  fi
  local took=$((SECONDS - start))
  local time
  time=$(printf '%dm %02ds' $((took / 60)) $((took % 60)))
  if [ "$status" -eq 0 ]; then
    printf '%-34s passed  (%s)\n' "$name" "$time"
    indent <"$figures"
    return 0
  fi
  failed+=("$name")
  printf '%-34s FAILED  (%s); log: %s\n' "$name" "$time" "${log#"$root"/}"
  indent <"$figures"
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
