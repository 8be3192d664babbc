#!/usr/bin/env bash
# Prints the fault campaign's figure (tests/faults/: every storage action run
# with a file-system fault injected at each call it makes). The campaign is a
# test of the normal build, so scripts/test.sh has just run it; its figure is
# taken from that run (test.sh removes an earlier run's log first), or the
# campaign is run here when there is none.
# Usage: scripts/checks/faults.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build/test}"
figure="$(grep -h '^fault campaign:' "$build/Testing/Temporary/LastTest.log" 2>/dev/null | tail -n 1 || true)"
if [ -z "$figure" ]; then
  figure="$("$build/tests/faults/fault_campaign" | grep '^fault campaign:')"
fi
echo "$figure"
