#!/usr/bin/env bash
# Sets everything up and runs every test twice: in a normal build with
# warnings as errors, and under AddressSanitizer + UndefinedBehaviorSanitizer.
# Then runs each extra check in scripts/checks/ (in name order).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages

echo "== normal build"
build "$root/build/test" -DCMAKE_BUILD_TYPE=Debug -DQM_WERROR=ON
ctest --test-dir "$root/build/test" --output-on-failure -j"$(nproc)"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
build "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DQM_WERROR=ON -DQM_SANITIZE=ON -DQM_BUILD_BENCH=OFF
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$root/build/asan" --output-on-failure -j"$(nproc)"

for check in "$root"/scripts/checks/*.sh; do
  [ -e "$check" ] || continue
  echo "== $(basename "$check")"
  bash "$check"
done
echo "All tests passed."
