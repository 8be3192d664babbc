#!/usr/bin/env bash
# Prints the share of the C++ lines that are tests: files under a folder
# named tests/ or test/ count as tests, every other .cpp, .h, .hpp and .cc
# file that git tracks as code. The project keeps tests at most 30% of all.
# A figure, not a gate: it fails only when there is nothing to count.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

files() { git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc'; }
lines() { xargs -0 -r cat | wc -l; }
tests=$(files | grep -z -E '(^|/)tests?/' | lines)
code=$(files | grep -z -v -E '(^|/)tests?/' | lines)
total=$((tests + code))
if [ "$total" -eq 0 ]; then
  echo "test share: no C++ files found (not a git checkout?)"
  exit 1
fi
awk -v tests="$tests" -v total="$total" 'BEGIN {
  printf "test share: %d of %d C++ lines are tests (%.1f%%; the ceiling is 30%%)\n", tests, total, 100 * tests / total
}'
